// tessaran-cli analyse writing the results workbook: beside the recording or
// to --output, never replacing a file without --force, the JSON alone when only
// it is asked for, and the charts printed with --print (into a PDF here, where
// the test hides every printer).
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct CliOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

CliOutcome Analyse(const TempDir& dir, QStringList arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
    // No print server: the charts of --print go to a PDF, never to a real printer.
    environment.insert("CUPS_SERVER", QString::fromStdString(dir.file("no-cups.sock")));
    process.setProcessEnvironment(environment);
    process.start(TESSARAN_BINARY_DIR "/cli/tessaran-cli", QStringList{"analyse"} + arguments);
    CliOutcome run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsZip(const std::string& path) {
    return ReadFile(path).substr(0, 4) == "PK\x03\x04";
}

class AnalyseWorkbook : public ::testing::Test {
protected:
    void SetUp() override {
        model::WriteModelRecording(recording, {{5.0, 20000.0}, {10.0, 20000.0}});
        std::ofstream ini(settings);
        for (const char* section : {"Slope conductance", "Cl Current Time course", "IV"})
            ini << "[" << section << "]\nRamp1 Start=" << model::kRamp1First + 1
                << "\nRamp1 End=" << model::kRamp1Last + 1 << "\n";
    }
    QStringList With(QStringList arguments) const {
        return QStringList{QString::fromStdString(recording), "--settings",
                           QString::fromStdString(settings)} +
               arguments;
    }

    TempDir dir;
    std::string recording = dir.file("cell.abf");
    std::string settings = dir.file("settings.ini");
    std::string workbook = dir.file("cell.abf.xlsx");
};

TEST_F(AnalyseWorkbook, BesideTheRecordingAndNeverReplacedWithoutForce) {
    CliOutcome run = Analyse(dir, With({}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, recording + ": workbook written to " + workbook + "\n");
    EXPECT_TRUE(IsZip(workbook));
    EXPECT_FALSE(fs::exists(dir.file("cell.abf.charts.pdf"))); // printed only with --print

    std::ofstream(workbook, std::ios::trunc) << "keep me";
    run = Analyse(dir, With({}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, recording + ": workbook not written: " + workbook +
                           " exists (--force replaces it)\n");
    EXPECT_EQ(ReadFile(workbook), "keep me");

    run = Analyse(dir, With({"--force"}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(IsZip(workbook));
}

TEST_F(AnalyseWorkbook, OutputFolderOrFile) {
    fs::create_directory(dir.path() / "results");
    CliOutcome run = Analyse(dir, With({"--output", QString::fromStdString(dir.file("results"))}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(IsZip(dir.file("results/cell.abf.xlsx")));

    // A file name without the workbook's extension gets it.
    run = Analyse(dir, With({"--output", QString::fromStdString(dir.file("summary"))}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, recording + ": workbook written to " + dir.file("summary.xlsx") + "\n");
    EXPECT_TRUE(IsZip(dir.file("summary.xlsx")));
    EXPECT_FALSE(fs::exists(workbook));

    // Several recordings cannot share one file.
    run = Analyse(dir, {QString::fromStdString(recording), QString::fromStdString(recording),
                        "--output", QString::fromStdString(dir.file("one.xlsx"))});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(fs::exists(dir.file("one.xlsx")));
}

TEST_F(AnalyseWorkbook, JsonAloneWritesNoWorkbookAndKeepsStdoutForTheJson) {
    CliOutcome run = Analyse(dir, With({"--json"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(fs::exists(workbook));

    run = Analyse(dir, With({"--json", "--output", QString::fromStdString(workbook)}));
    ASSERT_EQ(run.status, 0) << run.err;
    QJsonParseError error;
    QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.substr(0, 200);
    EXPECT_NE(run.err.find(recording + ": workbook written to " + workbook), std::string::npos)
        << run.err;
    EXPECT_TRUE(IsZip(workbook));
}

TEST_F(AnalyseWorkbook, PrintWithoutAPrinterWritesTheChartsBesideTheWorkbook) {
    CliOutcome run = Analyse(dir, With({"--print"}));
    if (run.status == 2 && run.err.find("not available") != std::string::npos)
        GTEST_SKIP() << "built without print support";
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string pdf = dir.file("cell.abf.charts.pdf");
    EXPECT_EQ(ReadFile(pdf).substr(0, 5), "%PDF-");
    EXPECT_NE(run.err.find(pdf), std::string::npos) << run.err;
    EXPECT_TRUE(IsZip(workbook));
}

} // namespace
