// The export as the desktop program runs it: the workbook goes to the
// desktop's spreadsheet program, the charts to the default printer.
#pragma once

#include "export/ExcelExport.h"

// Opens a workbook file with the desktop's default application for it
// (QDesktopServices::openUrl). Returns what to tell the user when nothing
// could open it.
class DesktopWorkbookOpener : public IWorkbookOpener {
public:
    std::optional<Notice> OpenWorkbook(const std::string& path) override;
};

// The analysis pages' export: the builders on `store` and `choices` (the x
// values of the time courses from `plotTraceNumber`, "PlotTimeTraceNum"),
// printed when `autoPrint` ("AutoPrint"), saved beside the recording when
// `autoSave` ("AutoSave", asking before an existing workbook is replaced), then
// opened in the spreadsheet program. Shows the question and every notice
// through the message interface.
ExportOutcome ExportResultsOnDesktop(const TraceStore& store, ExportChoices choices,
                                     const std::string& recordingPath, bool autoSave,
                                     bool autoPrint, int plotTraceNumber);
