#include "cli/WorkbookOutput.h"

#include "export/ExcelExport.h"
#include "export/WorkbookFiles.h"
#include "platform/Messages.h"
#include "platform/TextTrim.h"

#ifdef TESSARAN_CLI_PRINTING
#include "export/qt/ChartPrinter.h"
#endif

#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool EndsWithXlsx(const std::string& path) {
    return EndsWithNoCase(path, ".xlsx");
}

bool IsFolder(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && fs::is_directory(path, ignored);
}

} // namespace

std::string WorkbookPath(const std::string& file, const std::string& output) {
    if (output.empty())
        return WorkbookPathFor(file);
    if (IsFolder(output))
        return (fs::path(output) / WorkbookPathFor(fs::path(file).filename().string())).string();
    return EndsWithXlsx(output) ? output : output + ".xlsx";
}

bool CanPrintCharts() {
#ifdef TESSARAN_CLI_PRINTING
    return true;
#else
    return false;
#endif
}

bool CheckWorkbookRequest(const WorkbookRequest& request, size_t fileCount, std::string& error) {
    if (request.print && !CanPrintCharts()) {
        error = "--print is not available: this build has no print support";
        return false;
    }
    std::error_code ignored;
    const fs::file_status output = fs::status(request.output, ignored);
    if (!request.output.empty() && fs::exists(output) && !fs::is_directory(output) &&
        !fs::is_regular_file(output)) {
        error = "--output " + request.output + " exists and is neither a folder nor a regular file";
        return false;
    }
    if (fileCount > 1 && !request.output.empty() && !IsFolder(request.output)) {
        std::error_code code;
        if (EndsWithXlsx(request.output) || fs::exists(fs::symlink_status(request.output, code))) {
            error = "--output must be a folder when several recordings are given";
            return false;
        }
        if (!fs::create_directories(request.output, code)) {
            error = "cannot make the folder " + request.output + ": " + code.message();
            return false;
        }
    }
    return true;
}

WorkbookResult WriteWorkbookFor(const std::string& file, const PreparedRecording& prepared,
                                const std::vector<AnalysisResult>& results,
                                const WorkbookRequest& request) {
    ExportOptions options;
    options.autoSave = request.write;
    options.autoPrint = request.print;
    options.outputPath = WorkbookPath(file, request.output);
    options.existing = request.force ? ExistingWorkbook::Replace : ExistingWorkbook::Keep;

    IChartPrinter* printer = nullptr;
#ifdef TESSARAN_CLI_PRINTING
    QtChartPrinter chartPrinter;
    if (request.print)
        printer = &chartPrinter;
#endif
    const ExportOutcome outcome =
        CExcelExport(printer, nullptr)
            .ExportResults(prepared.store, prepared.choices, results, file, options);
    ShowNotices(outcome.notices); // on stderr

    WorkbookResult result;
    result.sheets = outcome.sheetNames;
    result.savedPath = outcome.savedPath;
    result.ok = !outcome.sheetError;
    if (request.print && !outcome.print.printed)
        result.ok = false; // the reason has been shown, but for a kept file
    if (request.print && outcome.print.keptExisting)
        result.report += file + ": charts not written: " + ChartsPdfPathFor(options.outputPath) +
                         " exists (--force replaces it)\n";
    if (request.print && outcome.print.printed && !outcome.print.printer.empty())
        result.report += file + ": charts printed on " + outcome.print.printer + "\n";
    if (!request.write)
        return result;
    if (!outcome.savedPath.empty()) {
        result.report += file + ": workbook written to " + outcome.savedPath;
    } else if (outcome.keptExisting) {
        result.report += file + ": workbook not written: " + options.outputPath +
                         " exists (--force replaces it)";
        result.ok = false;
    } else {
        result.report += file + ": workbook not written";
        result.ok = false;
    }
    return result;
}
