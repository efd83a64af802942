// The export on a worker thread while the window goes on painting and
// answering: a progress window (after a moment) shows how far it has come and
// offers Cancel. Printing, the hand-over of the workbook and the question
// whether to replace a file are services of the window's thread: the worker
// hands each to that thread and waits for it, while the window's thread runs
// the event loop that serves them (it never waits for the worker itself). The
// caller waits in a local event loop, so for it the export looks like a plain
// call of CExcelExport::ExportResults.
#pragma once

#include "export/ExcelExport.h"

#include <string>

class QWidget;

class CBackgroundExport {
public:
    // Exports as CExcelExport(printer, opener).ExportResults(store, choices,
    // recordingPath, options) does, with `parent` as the progress window's
    // parent. The worker shares the store's arrays; `printer`, `opener` (either
    // may be null) and options.askReplace are called on this thread only.
    // options.progress is replaced by the progress window's. After a Cancel the
    // outcome says `cancelled` and no file was written. `showedProgress`, when
    // given, says whether the progress window came up.
    static ExportOutcome Run(const TraceStore& store, const ExportChoices& choices,
                             const std::string& recordingPath, ExportOptions options,
                             IChartPrinter* printer, IWorkbookOpener* opener, QWidget* parent,
                             bool* showedProgress = nullptr);
    // Asks the running export, if any, to stop (e.g. the window is closing);
    // Run returns once the worker has cleaned up.
    static void CancelRunning();
    // Whether an export is running now.
    static bool IsRunning();
    // Sets the delay before the progress window appears (ms, default 400);
    // tests set 0. Returns the previous delay.
    static int SetProgressDelay(int milliseconds);
};
