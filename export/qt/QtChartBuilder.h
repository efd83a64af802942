// A chart sheet of the results workbook as a Qt chart, for printing: the same
// series (smoothed lines, no markers), axes, scales, colours, fonts and title.
#pragma once

#include "export/Workbook.h"

#include <QColor>
#include <QtCharts/QChart>

#include <memory>

// Font sizes and line widths are set in chart units of one point, so a chart
// laid out on a scene of the page's size in points prints at true sizes.
inline constexpr double kChartUnitsPerPoint = 1.0;

// Builds the chart of `sheet` from the data of its source sheet in `workbook`
// (series whose source sheet is missing are left out). Never null.
std::unique_ptr<QChart> BuildQtChart(const ChartSheet& sheet, const Workbook& workbook);

// The colour of series `index` (0-based) that carries no colour of its own:
// the spreadsheet application's default series colours, in turn.
QColor DefaultSeriesColour(size_t index);

// 0x00BBGGRR as a QColor.
QColor ColourFromBgr(uint32_t bgr);
