#include "export/qt/ChartPrinter.h"

#include "export/WorkbookFiles.h"
#include "export/qt/QtChartBuilder.h"

#include <QGraphicsScene>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <filesystem>

QtChartPrinter::QtChartPrinter(std::function<QPrinterInfo()> defaultPrinter)
    : m_defaultPrinter(defaultPrinter ? std::move(defaultPrinter)
                                      : [] { return QPrinterInfo::defaultPrinter(); }) {}

bool RenderChartPages(const Workbook& workbook, QPagedPaintDevice& device, std::string& error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "the output could not be started";
        return false;
    }
    // The painter's origin is the top left of the printable area.
    const QPageLayout layout = device.pageLayout();
    const QRectF pagePoints = layout.paintRect(QPageLayout::Point);
    const QRectF target(0, 0, device.width(), device.height());
    bool first = true;
    for (const ChartSheet* sheet : workbook.ChartSheets()) {
        if (!first && !device.newPage()) {
            error = "a new page could not be started";
            painter.end();
            return false;
        }
        first = false;
        QGraphicsScene scene;
        QChart* chart = BuildQtChart(*sheet, workbook).release();
        scene.addItem(chart); // the scene owns the chart from here
        const QRectF sceneRect(0, 0, pagePoints.width() * kChartUnitsPerPoint,
                               pagePoints.height() * kChartUnitsPerPoint);
        chart->setGeometry(sceneRect);
        scene.setSceneRect(sceneRect);
        scene.render(&painter, target, sceneRect, Qt::KeepAspectRatio);
    }
    painter.end();
    return true;
}

namespace {

void Landscape(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

} // namespace

PrintOutcome QtChartPrinter::PrintChartSheets(const Workbook& workbook,
                                              const std::string& pdfFallbackPath,
                                              const std::function<bool()>& mayReplacePdf) {
    PrintOutcome outcome;
    const QPrinterInfo info = m_defaultPrinter();
    if (!info.isNull()) {
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("Charts"));
        Landscape(printer);
        outcome.printer = info.printerName().toStdString();
        std::string error;
        if (!RenderChartPages(workbook, printer, error)) {
            outcome.error = "printer " + outcome.printer + ": " + error;
            return outcome;
        }
        outcome.printed = true;
        return outcome;
    }

    std::error_code ignored;
    const bool exists =
        std::filesystem::exists(std::filesystem::symlink_status(pdfFallbackPath, ignored));
    if (exists && !(mayReplacePdf && mayReplacePdf())) {
        outcome.keptExisting = true;
        return outcome;
    }
    std::string reason;
    const SaveStatus status = SaveFileAtomically(
        pdfFallbackPath, exists,
        [&workbook](const std::string& temp, std::string& why) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(temp));
            printer.setDocName(QStringLiteral("Charts"));
            Landscape(printer);
            return RenderChartPages(workbook, printer, why);
        },
        reason);
    if (status == SaveStatus::Exists) { // appeared meanwhile
        outcome.keptExisting = true;
        return outcome;
    }
    if (status != SaveStatus::Saved) {
        outcome.error = "No printer is installed, and the file " + pdfFallbackPath +
                        " could not be written: " + reason;
        return outcome;
    }
    outcome.printed = true;
    outcome.pdfPath = pdfFallbackPath;
    return outcome;
}
