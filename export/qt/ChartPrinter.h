// Prints the chart sheets of a results workbook with Qt Charts and Qt print
// support: one landscape page per chart sheet, on the default printer, or into
// a PDF file where no printer is installed.
#pragma once

#include "export/ExcelExport.h"

#include <QPrinterInfo>

#include <functional>
#include <string>

class QPagedPaintDevice;

class QtChartPrinter : public IChartPrinter {
public:
    // `defaultPrinter` finds the printer to use (a null QPrinterInfo: none is
    // installed); the default asks the system. Tests pass their own.
    explicit QtChartPrinter(std::function<QPrinterInfo()> defaultPrinter = {});

    PrintOutcome PrintChartSheets(const Workbook& workbook, const std::string& pdfFallbackPath,
                                  const std::function<bool()>& mayReplacePdf) override;

private:
    std::function<QPrinterInfo()> m_defaultPrinter;
};

// Draws every chart sheet of `workbook` on `device`, one page each, the chart
// filling the page. The device's page layout (orientation, margins) is used as
// set. Returns false with the reason in `error` when painting cannot start.
bool RenderChartPages(const Workbook& workbook, QPagedPaintDevice& device, std::string& error);
