// A written workbook opens in LibreOffice: converted to PDF, its chart titles
// come out as text. Skipped where LibreOffice is not installed.
#include "tests/export_core/ExportFixtures.h"
#include "tests/support/TempDir.h"

#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

bool HasProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LibreOffice, ConvertsTheWorkbookWithItsCharts) {
    if (!HasProgram("libreoffice"))
        GTEST_SKIP() << "LibreOffice is not installed";
    TempDir dir;
    RecordingMessageSink messages;
    TraceStore store = fixtures::ModelStore(4);
    ExportOptions options;
    options.autoPrint = false;
    const ExportOutcome outcome =
        CExcelExport(nullptr, nullptr)
            .ExportResults(store, fixtures::AllCategories(store), dir.file("cell.abf"), options);
    ASSERT_FALSE(outcome.savedPath.empty());

    // A private profile, so that a running LibreOffice or a parallel test does not interfere.
    const std::string command =
        "cd '" + dir.path().string() + "' && libreoffice --headless -env:UserInstallation=file://" +
        dir.file("profile") + " --convert-to pdf cell.abf.xlsx >convert.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(dir.file("convert.log"));
    const std::string pdf = ReadFile(dir.file("cell.abf.pdf"));
    ASSERT_GT(pdf.size(), 1000u) << ReadFile(dir.file("convert.log"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");

    if (!HasProgram("pdftotext"))
        return;
    ASSERT_EQ(
        std::system(("pdftotext '" + dir.file("cell.abf.pdf") + "' '" + dir.file("cell.txt") + "'")
                        .c_str()),
        0);
    const std::string text = ReadFile(dir.file("cell.txt"));
    for (const char* title : {"cell Slope Conductance Time Course", "cell Current Time Course",
                              "cell Capacitance", "cell Traces", "Cl Current Time Course"})
        EXPECT_NE(text.find(title), std::string::npos) << title;
}

} // namespace
