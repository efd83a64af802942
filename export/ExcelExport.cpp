#include "export/ExcelExport.h"

#include "export/DetailsSheet.h"
#include "export/ResultBuilders.h"
#include "export/WorkbookFiles.h"
#include "platform/ColourRef.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <new>
#include <utility>

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Makes the data and chart sheets of one table part; false when the workbook
// could not take it (the notice says why).
bool MakePart(Workbook& workbook, const AnalysisResult& result, const TablePart& part,
              const std::string& baseName, int& pairs, std::vector<Notice>& notices) {
    std::string description;
    ChartSheet* chart = MakeDataAndGraphSheets(workbook, part.name, part.columns, part.headers,
                                               part.rows, pairs, description);
    if (!chart) {
        notices.push_back({kSheetErrorText + std::string("\"") + description, "errorError",
                           MessageIcon::Exclamation});
        return false;
    }
    ++pairs;
    SetChartTitle(*chart, baseName + result.titleSuffix, 16, "Arial", "Regular");
    SetAxisTitles(*chart, result);
    if (result.analysis == Analysis::CurrentVoltage) {
        SetAxisScale(chart->xAxis, -80, 50, 10, 5);
        ColourSeries(*chart, CurrentVoltageSeriesStyles(part.columns.size()));
    }
    if (part.columns.size() > chart->SeriesCount() + 1) {
        notices.push_back({"The chart " + Quoted(chart->name) + " shows the first " +
                               std::to_string(chart->SeriesCount()) + " of " +
                               std::to_string(part.columns.size() - 1) +
                               " series; a chart holds at most " +
                               std::to_string(kMaxSeriesPerChart) +
                               ". Every value is on the sheet " + Quoted(chart->sourceSheet) + ".",
                           "Chart Series", MessageIcon::Information});
    }
    return true;
}

// Makes the sheets of every category with results, a table too large for one
// worksheet continuing on further sheets; false when a table could not be
// made (its notice says why), the other tables made all the same.
bool MakeSheets(Workbook& workbook, const std::vector<AnalysisResult>& results,
                const std::string& baseName, int& pairs, std::vector<Notice>& notices) {
    bool allMade = true;
    for (const AnalysisResult& result : results) {
        const ResultTable& table = result.table;
        if (table.rows == 0)
            continue;
        for (const TablePart& part :
             SplitTableToFit(result.sheetName, table.columns, table.headers, table.rows))
            allMade = MakePart(workbook, result, part, baseName, pairs, notices) && allMade;
    }
    return allMade;
}

// Asks (through options.askReplace) before an existing file is replaced, or
// follows options.existing without asking. Nobody to ask keeps the file.
bool MayReplace(const std::string& path, const ExportOptions& options, const char* caption) {
    if (options.existing != ExistingWorkbook::Ask)
        return options.existing == ExistingWorkbook::Replace;
    const Notice question{"The file " + Quoted(path) +
                              " already exists.\nDo you want to replace it?",
                          caption, MessageIcon::Question};
    return options.askReplace && options.askReplace(question);
}

void Print(IChartPrinter& printer, const Workbook& workbook, const std::string& pdfPath,
           const ExportOptions& options, ExportOutcome& outcome) {
    outcome.printAttempted = true;
    outcome.print = printer.PrintChartSheets(workbook, pdfPath,
                                             [&] { return MayReplace(pdfPath, options, "Print"); });
    if (!outcome.print.error.empty()) {
        outcome.notices.push_back({"The charts could not be printed:\n" + outcome.print.error,
                                   "Error", MessageIcon::Exclamation});
    } else if (!outcome.print.pdfPath.empty()) {
        outcome.notices.push_back({"No printer is installed. The charts were written to " +
                                       Quoted(outcome.print.pdfPath) + ".",
                                   "Print", MessageIcon::Information});
    }
}

// Shares the progress bar out among the export's steps and remembers a stop.
class StepProgress {
public:
    explicit StepProgress(const ExportOptions& options) : m_report(options.progress) {}
    // `fraction` (0 to 1) of the step that spans `from` to `to` percent is
    // done; false once the export is to stop.
    bool Report(int from, int to, double fraction) {
        if (m_report && !m_stopped) {
            const int percent =
                from + static_cast<int>((to - from) * std::clamp(fraction, 0.0, 1.0));
            m_stopped = !m_report(percent);
        }
        return !m_stopped;
    }
    bool Stopped() const { return m_stopped; }

private:
    const std::function<bool(int)>& m_report;
    bool m_stopped = false;
};

// Where each step ends on the progress bar (percent). Writing the rows takes
// most of a large export; the packing after them a good part of the rest.
constexpr int kResultsDone = 30;
constexpr int kSheetsDone = 35;
constexpr int kRowsWritten = 90;

void Save(const Workbook& workbook, const std::string& path, const ExportOptions& options,
          StepProgress& progress, ExportOutcome& outcome) {
    bool replace = options.existing == ExistingWorkbook::Replace;
    std::error_code ignored;
    if (options.existing == ExistingWorkbook::Ask &&
        std::filesystem::exists(std::filesystem::symlink_status(path, ignored))) {
        if (!MayReplace(path, options, "Save Workbook")) {
            outcome.keptExisting = true;
            return;
        }
        replace = true;
    }
    std::string reason;
    const RowProgress rows = [&progress](uint64_t done, uint64_t total) {
        return progress.Report(kSheetsDone, kRowsWritten,
                               static_cast<double>(done) /
                                   static_cast<double>(std::max<uint64_t>(total, 1)));
    };
    const SaveStatus status = SaveWorkbookFile(workbook, path, replace, reason, rows);
    if (progress.Stopped()) {
        outcome.cancelled = true;
        return;
    }
    switch (status) {
    case SaveStatus::Saved:
        outcome.savedPath = path;
        break;
    case SaveStatus::Exists:
        outcome.keptExisting = true;
        break;
    case SaveStatus::Failed:
        outcome.saveError = reason;
        outcome.notices.push_back(
            {"The workbook could not be written to " + Quoted(path) + ":\n" + reason, "Error",
             MessageIcon::Exclamation});
        break;
    }
}

// A workbook that was not saved is written to the per-user temporary folder,
// as a spreadsheet program keeps an unsaved workbook, and that copy is shown.
void HandOver(IWorkbookOpener& opener, const Workbook& workbook, const std::string& recordingPath,
              ExportOutcome& outcome) {
    std::string path = outcome.savedPath;
    if (path.empty()) {
        std::string folder;
        std::string reason;
        const std::string name =
            recordingPath.empty()
                ? std::string("Book1.xlsx")
                : WorkbookPathFor(std::filesystem::path(recordingPath).filename().string());
        if (!UserTempFolder(folder, reason) ||
            SaveWorkbookUnderFreeName(workbook, folder, name, path, reason) != SaveStatus::Saved) {
            outcome.notices.push_back(
                {"The workbook could not be written to the temporary folder " +
                     Quoted(folder.empty() ? std::string("(none)") : folder) + ":\n" + reason,
                 "Error", MessageIcon::Exclamation});
            return;
        }
    }
    if (std::optional<Notice> failure = opener.OpenWorkbook(path))
        outcome.notices.push_back(std::move(*failure));
    else
        outcome.shownPath = path;
}

// The user stopped the export and is told nothing more about it: what it
// said about the sheets concerns a workbook that was not written (what the
// printer did stays in the outcome's print record).
ExportOutcome Cancelled(ExportOutcome outcome) {
    outcome.cancelled = true;
    outcome.notices.clear();
    return outcome;
}

} // namespace

std::vector<SeriesStyle> CurrentVoltageSeriesStyles(size_t columnCount) {
    std::vector<SeriesStyle> styles;
    styles.push_back({MakeColourRef(0, 255, 0), kLineContinuous, kLineWeightHeavier});
    styles.push_back({MakeColourRef(0, 0, 255), kLineContinuous, kLineWeightHeavier});
    if (columnCount == 5)
        styles.push_back({MakeColourRef(0, 128, 0), kLineContinuous, kLineWeightHeavier});
    styles.push_back({MakeColourRef(255, 0, 0), kLineContinuous, kLineWeightHeavier});
    return styles;
}

CExcelExport::CExcelExport(IChartPrinter* printer, IWorkbookOpener* opener)
    : m_printer(printer), m_opener(opener) {}

ExportOutcome CExcelExport::ExportResults(const TraceStore& store, const ExportChoices& choices,
                                          const std::string& recordingPath,
                                          const ExportOptions& options) {
    return Export(
        store, choices,
        [&](const std::function<bool(size_t)>& afterEach) {
            return RunResultBuilders(store, choices, afterEach);
        },
        recordingPath, options);
}

ExportOutcome CExcelExport::ExportResults(const TraceStore& store, const ExportChoices& choices,
                                          const std::vector<AnalysisResult>& results,
                                          const std::string& recordingPath,
                                          const ExportOptions& options) {
    // The copy shares the results' columns.
    return Export(
        store, choices, [&](const std::function<bool(size_t)>&) { return results; }, recordingPath,
        options);
}

ExportOutcome CExcelExport::Export(const TraceStore& store, const ExportChoices& choices,
                                   const ResultSource& computeResults,
                                   const std::string& recordingPath, const ExportOptions& options) {
    ExportOutcome outcome;
    Workbook workbook = AddWorkbookWithOneSheet();
    const std::string workbookPath =
        options.outputPath.empty() ? WorkbookPathFor(recordingPath) : options.outputPath;
    StepProgress progress(options);
    try {
        const std::vector<AnalysisResult> results =
            progress.Report(0, kResultsDone, 0.0) ? computeResults([&](size_t built) {
                return progress.Report(0, kResultsDone,
                                       double(built) / double(kAnalysisRows.size()));
            })
                                                  : std::vector<AnalysisResult>{};
        // A table that could not be made costs only its own sheets.
        if (!progress.Stopped()) {
            outcome.sheetError = !MakeSheets(workbook, results, RecordingBaseName(recordingPath),
                                             outcome.pairs, outcome.notices);
            workbook.sheets.emplace_back(
                MakeDetailsSheet(store, choices, results, CurrentTimeText()));
            for (const AnalysisResult& result : results)
                if (result.table.rows == 0)
                    outcome.skipped.push_back(result.sheetName + ": " + result.table.emptyReason);
        }
        if (progress.Report(kResultsDone, kSheetsDone, 1.0) && options.autoPrint && m_printer &&
            !workbook.ChartSheets().empty())
            Print(*m_printer, workbook, ChartsPdfPathFor(workbookPath), options, outcome);
        if (progress.Report(kSheetsDone, kSheetsDone, 1.0) && options.autoSave &&
            !recordingPath.empty())
            Save(workbook, workbookPath, options, progress, outcome);
    } catch (const std::bad_alloc&) {
        outcome.sheetError = true;
        outcome.notices.push_back(
            {"The export ran out of memory; the workbook holds the sheets made so far.", "Error",
             MessageIcon::Exclamation});
    } catch (const std::exception& error) {
        outcome.sheetError = true;
        outcome.notices.push_back(
            {std::string("The export failed: ") + error.what(), "Error", MessageIcon::Exclamation});
    }
    outcome.sheetNames = workbook.SheetNames();
    // Once the file is in place the export is no longer cancelled.
    if (progress.Stopped())
        return Cancelled(std::move(outcome));
    if (m_opener) {
        try {
            HandOver(*m_opener, workbook, recordingPath, outcome);
        } catch (const std::exception& error) {
            outcome.notices.push_back(
                {std::string("The workbook could not be shown: ") + error.what(), "Error",
                 MessageIcon::Exclamation});
        }
    }
    progress.Report(kRowsWritten, 100, 1.0);
    return outcome;
}
