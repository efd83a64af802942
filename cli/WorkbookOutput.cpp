#include "cli/WorkbookOutput.h"

#include "export/ExcelExport.h"
#include "export/WorkbookFiles.h"
#include "platform/Messages.h"

#ifdef TESSARAN_CLI_PRINTING
#include "export/qt/ChartPrinter.h"
#endif

#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool EndsWithXlsx(const std::string& path) {
    const std::string extension = ".xlsx";
    if (path.size() < extension.size())
        return false;
    for (size_t i = 0; i < extension.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - extension.size() + i])) !=
            extension[i])
            return false;
    return true;
}

bool IsFolder(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && fs::is_directory(path, ignored);
}

// Where the workbook of `file` goes: beside it by the save rule, into the
// --output folder under the same name, or to the --output file (".xlsx"
// appended when it has another extension, so the name tells the format).
std::string WorkbookPath(const std::string& file, const std::string& output) {
    if (output.empty())
        return WorkbookPathFor(file);
    if (IsFolder(output))
        return (fs::path(output) / WorkbookPathFor(fs::path(file).filename().string())).string();
    return EndsWithXlsx(output) ? output : output + ".xlsx";
}

} // namespace

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
        error = "--output must be an existing folder when several recordings are given";
        return false;
    }
    return true;
}

bool WriteWorkbookFor(const std::string& file, const PreparedRecording& recording,
                      const WorkbookRequest& request, std::FILE* report) {
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
            .ExportResults(recording.store, recording.choices, file, options);
    ShowNotices(outcome.notices); // on stderr

    bool ok = !outcome.sheetError;
    if (request.print && !outcome.print.printed)
        ok = false; // the reason has been shown, but for a kept file
    if (request.print && outcome.print.keptExisting)
        std::fprintf(report, "%s: charts not written: %s exists (--force replaces it)\n",
                     file.c_str(), ChartsPdfPathFor(options.outputPath).c_str());
    if (request.print && outcome.print.printed && !outcome.print.printer.empty())
        std::fprintf(report, "%s: charts printed on %s\n", file.c_str(),
                     outcome.print.printer.c_str());
    if (!request.write)
        return ok;
    if (!outcome.savedPath.empty()) {
        std::fprintf(report, "%s: workbook written to %s\n", file.c_str(),
                     outcome.savedPath.c_str());
    } else if (outcome.keptExisting) {
        std::fprintf(report, "%s: workbook not written: %s exists (--force replaces it)\n",
                     file.c_str(), options.outputPath.c_str());
        ok = false;
    } else {
        std::fprintf(report, "%s: workbook not written\n", file.c_str());
        ok = false;
    }
    std::fflush(report);
    return ok;
}
