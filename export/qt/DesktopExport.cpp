#include "export/qt/DesktopExport.h"

#include "export/qt/ChartPrinter.h"
#include "platform/Messages.h"

#include <QDesktopServices>
#include <QUrl>

std::optional<Notice> DesktopWorkbookOpener::OpenWorkbook(const std::string& path) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
        return std::nullopt;
    return Notice{"The workbook \"" + path +
                      "\" could not be opened: no program for spreadsheets is set up on this "
                      "desktop. The file is kept; open it with a spreadsheet program.",
                  "Error", MessageIcon::Exclamation};
}

ExportOutcome ExportResultsOnDesktop(const TraceStore& store, ExportChoices choices,
                                     const std::string& recordingPath, bool autoSave,
                                     bool autoPrint, int plotTraceNumber) {
    choices.plotTraceNumber = plotTraceNumber;
    ExportOptions options;
    options.autoSave = autoSave;
    options.autoPrint = autoPrint;
    options.existing = ExistingWorkbook::Ask;
    options.askReplace = AskYesNo;
    QtChartPrinter printer;
    DesktopWorkbookOpener opener;
    ExportOutcome outcome =
        CExcelExport(&printer, &opener).ExportResults(store, choices, recordingPath, options);
    ShowNotices(outcome.notices);
    return outcome;
}
