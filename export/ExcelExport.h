// The export driver: runs the five result builders in export order, makes a
// data sheet and a chart sheet for every category with results, formats the
// charts, prints and saves as the general settings ask, and hands the workbook
// over to the user. Printing and the hand-over are injected, so the driver is
// plain C++ (the command line uses it without widgets) and tests never print
// or open anything. The driver shows nothing: what failed and why comes back
// as notices in the outcome, for the window to show or the command line to print.
#pragma once

#include "export/ExportChoices.h"
#include "export/ResultBuilders.h"
#include "export/Workbook.h"
#include "platform/Notice.h"
#include "recording/TraceStore.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Where the printed charts went.
struct PrintOutcome {
    bool printed = false;      // every page went out
    std::string printer;       // the printer's name, when one was used
    std::string pdfPath;       // the PDF written instead, when no printer is installed
    std::string error;         // why printing failed (printed is then false)
    bool keptExisting = false; // not printed: the PDF existed and was not to be replaced
};

// Prints every chart sheet of a workbook, one landscape page each. Where no
// printer is installed the pages go to `pdfFallbackPath` instead; a file
// already there is replaced only when `mayReplacePdf` (asked only then) says so,
// otherwise it is kept and the outcome says keptExisting.
class IChartPrinter {
public:
    virtual ~IChartPrinter() = default;
    virtual PrintOutcome PrintChartSheets(const Workbook& workbook,
                                          const std::string& pdfFallbackPath,
                                          const std::function<bool()>& mayReplacePdf) = 0;
};

// Shows a written workbook file to the user (the desktop's spreadsheet program).
class IWorkbookOpener {
public:
    virtual ~IWorkbookOpener() = default;
    // Returns nothing when the workbook is shown, else what the user is told about it.
    virtual std::optional<Notice> OpenWorkbook(const std::string& path) = 0;
};

// What to do when the workbook's file exists already.
enum class ExistingWorkbook {
    Ask,    // ask through ExportOptions::askReplace; declining keeps the file
    Keep,   // keep the file and do not save
    Replace // replace it
};

struct ExportOptions {
    bool autoSave = true;  // "AutoSave": save beside the recording
    bool autoPrint = true; // "AutoPrint": print the chart sheets
    // Empty: the recording's path with ".xlsx" appended; else the file to save to.
    std::string outputPath;
    ExistingWorkbook existing = ExistingWorkbook::Ask;
    // With ExistingWorkbook::Ask: asks the user `question` (a Yes/No question)
    // and returns true to replace the file. Unset: the file is kept.
    std::function<bool(const Notice& question)> askReplace;
    // Hears, on the exporting thread, how far the export has come (0 to 100
    // percent). Returning false cancels it: nothing more is printed, saved or
    // shown, no file is left half-written, and the outcome says `cancelled`.
    std::function<bool(int percent)> progress;
};

struct ExportOutcome {
    std::vector<std::string> sheetNames; // the workbook's tabs, in order
    int pairs = 0;                       // data and chart sheet pairs made
    bool sheetError = false;             // making the sheets stopped early
    std::string savedPath;               // where it was saved; empty when not saved
    bool keptExisting = false;           // not saved: the file existed and was kept
    std::string saveError;               // not saved: why
    std::string shownPath;               // the file handed over to the user, if any
    bool printAttempted = false;
    PrintOutcome print;
    std::vector<Notice> notices; // what the user is told, in the order it happened
    bool cancelled = false;      // ExportOptions::progress stopped it; nothing saved or shown
    // Each analysis without rows, "sheet: reason"; the window tells them in
    // one message after the export, the command line on stderr.
    std::vector<std::string> skipped;
};

class CExcelExport {
public:
    // `printer` and `opener` may be null: no printing, no hand-over.
    CExcelExport(IChartPrinter* printer, IWorkbookOpener* opener);

    // The whole export for the recording at `recordingPath` (its base name
    // starts every chart title; its path gives the workbook's name). The x
    // values of the time courses follow choices.plotTraceNumber. Every failure
    // goes into the outcome's notices; the workbook is handed over in every case.
    ExportOutcome ExportResults(const TraceStore& store, const ExportChoices& choices,
                                const std::string& recordingPath, const ExportOptions& options);

    // The same export of `results` already computed by RunResultBuilders
    // (export/ResultBuilders.h) from `store` and `choices`, for a caller that
    // needs them besides.
    ExportOutcome ExportResults(const TraceStore& store, const ExportChoices& choices,
                                const std::vector<AnalysisResult>& results,
                                const std::string& recordingPath, const ExportOptions& options);

private:
    // Computes the results, calling `afterEach` after each analysis as
    // RunResultBuilders does.
    using ResultSource = std::function<std::vector<AnalysisResult>(
        const std::function<bool(size_t built)>& afterEach)>;
    // The export, with `computeResults` called where its failures are caught;
    // `store` and `choices` describe the analysis on the details sheet.
    ExportOutcome Export(const TraceStore& store, const ExportChoices& choices,
                         const ResultSource& computeResults, const std::string& recordingPath,
                         const ExportOptions& options);

    IChartPrinter* m_printer;
    IWorkbookOpener* m_opener;
};

// Series styles of the current-voltage chart for a table of `columnCount`
// columns: green, blue, dark green (only with exactly 5 columns), red.
std::vector<SeriesStyle> CurrentVoltageSeriesStyles(size_t columnCount);

// The fixed start of the message shown when the sheets could not be made.
inline constexpr const char* kSheetErrorText =
    "Excel reported the following error in creating the graph.\r\n";
