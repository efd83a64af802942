#include "export/qt/QtChartBuilder.h"

#include "platform/ColourRef.h"

#include <QFont>
#include <QPen>
#include <QtCharts/QLegend>
#include <QtCharts/QSplineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QFont ChartFontToQt(const ChartFont& font) {
    QFont result(QString::fromStdString(font.name));
    result.setPixelSize(
        std::max(1, static_cast<int>(std::lround(font.size * kChartUnitsPerPoint))));
    result.setBold(font.style.find("Bold") != std::string::npos);
    result.setItalic(font.style.find("Italic") != std::string::npos);
    return result;
}

Qt::PenStyle PenStyle(int lineStyle) {
    switch (lineStyle) {
    case kLineDash:
        return Qt::DashLine;
    case kLineDot:
        return Qt::DotLine;
    case kLineDashDot:
        return Qt::DashDotLine;
    default:
        return Qt::SolidLine;
    }
}

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Add(double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
};

void FormatAxis(QValueAxis& axis, const ChartAxis& format, Range range) {
    axis.setGridLineVisible(format.majorGridlines);
    axis.setMinorGridLineVisible(false);
    if (!format.title.empty())
        axis.setTitleText(QString::fromStdString(format.title));
    QPen line(Qt::black);
    line.setWidthF(LineWeightPoints(format.lineWeight) * kChartUnitsPerPoint);
    line.setStyle(PenStyle(format.lineStyle));
    axis.setLinePen(line);
    axis.setLabelsVisible(format.tickLabelPosition != kTickLabelsNone);
    axis.setLabelsFont(ChartFontToQt(format.tickLabelFont));
    axis.setLabelsColor(ColourFromBgr(format.tickLabelFont.colour));
    axis.setLabelFormat(QStringLiteral("%g")); // as a spreadsheet's General format shows numbers
    if (!format.autoScale) {
        const AxisScale& scale = format.scale;
        axis.setRange(scale.minimum, scale.maximum);
        axis.setTickType(QValueAxis::TicksDynamic);
        axis.setTickAnchor(scale.minimum);
        axis.setTickInterval(scale.majorUnit);
        const double minorPerMajor = scale.minorUnit > 0 ? scale.majorUnit / scale.minorUnit : 1.0;
        axis.setMinorTickCount(std::max(0, static_cast<int>(std::lround(minorPerMajor)) - 1));
        return;
    }
    if (!(range.low <= range.high)) {
        range = {0.0, 1.0};
    } else if (range.low == range.high) {
        const double pad = range.low == 0.0 ? 1.0 : std::abs(range.low) * 0.1;
        range = {range.low - pad, range.high + pad};
    }
    axis.setRange(range.low, range.high);
    axis.applyNiceNumbers();
    if (format.minorTickMark != kTickMarkNone)
        axis.setMinorTickCount(1);
}

} // namespace

QColor ColourFromBgr(uint32_t bgr) {
    return QColor(ColourRefRed(bgr), ColourRefGreen(bgr), ColourRefBlue(bgr));
}

QColor DefaultSeriesColour(size_t index) {
    static const QRgb colours[] = {0x4472C4, 0xED7D31, 0xA5A5A5, 0xFFC000, 0x5B9BD5, 0x70AD47};
    return QColor::fromRgb(colours[index % std::size(colours)]);
}

namespace {

// The pen of series `s` (1-based): its style from the sheet, else the
// application's default look.
QPen SeriesPen(const ChartSheet& sheet, uint32_t s) {
    QPen pen;
    if (s <= sheet.seriesStyles.size()) {
        const SeriesStyle& style = sheet.seriesStyles[s - 1];
        pen.setColor(ColourFromBgr(style.colour));
        pen.setWidthF(LineWeightPoints(style.lineWeight) * kChartUnitsPerPoint);
        pen.setStyle(PenStyle(style.lineStyle));
    } else {
        pen.setColor(DefaultSeriesColour(s - 1));
        pen.setWidthF(2.25 * kChartUnitsPerPoint); // the application's default line
    }
    return pen;
}

// Adds one series per charted column of the sheet's source table, widening
// the ranges by every point drawn.
void AddSeries(QChart& chart, const ChartSheet& sheet, const Workbook& workbook, QValueAxis* xAxis,
               QValueAxis* yAxis, Range& xRange, Range& yRange) {
    const Worksheet* data = workbook.FindWorksheet(sheet.sourceSheet);
    const uint32_t rows = sheet.sourceRows > 0 ? sheet.sourceRows - 1 : 0;
    if (!data || data->dataColumns.empty() || rows > data->dataRows)
        return;
    const SharedFloatArray& x = data->dataColumns[0];
    const uint32_t seriesCount = std::min<uint32_t>(
        sheet.SeriesCount(), static_cast<uint32_t>(data->dataColumns.size() - 1));
    for (uint32_t s = 1; s <= seriesCount; ++s) {
        const SharedFloatArray& y = data->dataColumns[s];
        auto* series = new QSplineSeries;
        series->setName(s < data->headerRow.size() ? QString::fromStdString(data->headerRow[s])
                                                   : QStringLiteral("Series%1").arg(s));
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(rows));
        for (uint32_t r = 0; r < rows && x && y; ++r) {
            // Points without a finite value are gaps, as empty cells are.
            if (!std::isfinite(x[r]) || !std::isfinite(y[r]))
                continue;
            points.append(QPointF(x[r], y[r]));
            xRange.Add(x[r]);
            yRange.Add(y[r]);
        }
        series->replace(points);
        chart.addSeries(series); // styled afterwards, so the theme cannot restyle it
        series->setPen(SeriesPen(sheet, s));
        series->setPointsVisible(false);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }
}

} // namespace

std::unique_ptr<QChart> BuildQtChart(const ChartSheet& sheet, const Workbook& workbook) {
    auto chart = std::make_unique<QChart>();
    chart->setTheme(QChart::ChartThemeLight);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setDropShadowEnabled(false);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(Qt::white);

    auto* xAxis = new QValueAxis;
    auto* yAxis = new QValueAxis;
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);

    Range xRange;
    Range yRange;
    AddSeries(*chart, sheet, workbook, xAxis, yAxis, xRange, yRange);
    FormatAxis(*xAxis, sheet.xAxis, xRange);
    FormatAxis(*yAxis, sheet.yAxis, yRange);

    if (sheet.hasTitle) {
        // The title is shown as rich text: keep the file name's characters and
        // every blank (the current-voltage title has two in a row).
        chart->setTitle(QString::fromStdString(sheet.title)
                            .toHtmlEscaped()
                            .replace(QLatin1Char(' '), QStringLiteral("&nbsp;")));
        chart->setTitleFont(ChartFontToQt(sheet.titleFont));
        chart->setTitleBrush(ColourFromBgr(sheet.titleFont.colour));
    }
    QLegend* legend = chart->legend();
    legend->setAlignment(Qt::AlignRight);
    legend->setMarkerShape(QLegend::MarkerShapeFromSeries);
    QFont legendFont(QStringLiteral("Arial"));
    legendFont.setPixelSize(static_cast<int>(std::lround(10 * kChartUnitsPerPoint)));
    legend->setFont(legendFont);
    legend->setLabelColor(Qt::black);
    return chart;
}
