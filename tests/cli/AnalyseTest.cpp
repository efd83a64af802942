// tessaran-cli analyse: the model cell's numbers in the JSON, failures on
// stderr without stopping the other files, and the results workbook beside the
// recording or at --output, never replacing a file without --force.
#include "tests/cli/CliRun.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::vector<model::Cell> kCells = {{5.0, 20000.0}, {10.0, 20000.0}, {15.0, 30000.0}};

bool IsZip(const std::string& path) {
    return ReadFile(path).substr(0, 4) == "PK\x03\x04";
}

// The model recording of kCells beside the profile.
class Analyse : public CliFolder {
protected:
    void SetUp() override {
        CliFolder::SetUp();
        model::WriteModelRecording(recording, kCells);
    }

    std::string recording = dir.file("quote\"and\\backslash.abf"); // escaped in the JSON
    QString recordingArg = Q(recording);
    std::string workbook = recording + ".xlsx";
};

TEST_F(Analyse, JsonOfTheModelCellInAllFiveCategories) {
    // The JSON stays alone on stdout when a workbook is asked for as well.
    const std::string output = dir.file("out.xlsx");
    CliRun run = Run({recordingArg, "--json", "--output", Q(output)});
    ASSERT_EQ(run.status, 0) << run.err;
    QList<QJsonObject> documents = run.Documents();
    ASSERT_EQ(documents.size(), 1);
    const QJsonObject& document = documents[0];
    EXPECT_EQ(document["file"].toString().toStdString(), recording);
    ASSERT_EQ(document["categories"].toArray().size(), 5);
    EXPECT_NE(run.err.find(recording + ": workbook written to " + output), std::string::npos);
    EXPECT_TRUE(IsZip(output));

    QJsonObject slope = Category(document, "Slope Conductance");
    EXPECT_EQ(slope["rows"].toInt(), 3);
    QJsonArray columns = slope["columns"].toArray();
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[0].toArray(), (QJsonArray{1, 2, 3}));
    QJsonArray capacitance = Category(document, "Capacitance")["columns"].toArray()[1].toArray();
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(columns[1].toArray()[k].toDouble(), kCells[k].conductance, 0.01);
        EXPECT_NEAR(capacitance[k].toDouble(), kCells[k].capacitance, 17.0);
    }
    EXPECT_EQ(Category(document, "IV")["rows"].toInt(), 151);

    // Units from the channel's unit; the channel itself.
    EXPECT_EQ(slope["units"].toArray(), (QJsonArray{"", "nS", "nS", ""}));
    EXPECT_EQ(Category(document, "Capacitance")["units"].toArray(), (QJsonArray{"", "fF"}));
    EXPECT_EQ(Category(document, "Traces")["units"].toArray(), (QJsonArray{"s", "pA"}));
    EXPECT_EQ(document["channel"].toObject(),
              (QJsonObject{{"index", 1}, {"name", ""}, {"unit", "pA"}}));
    EXPECT_EQ(document["skipped"].toArray(), QJsonArray{});
    EXPECT_EQ(document["warnings"].toArray(), QJsonArray{});
}

TEST_F(Analyse, AnalysesWithoutResultsAreNamedWithTheirReason) {
    // A test window beyond the ramp, and no sample point within the trace.
    CliRun run = Run({recordingArg, "--json"}, "[Slope conductance]\nReversal Potential=90\n"
                                               "[Current Traces]\nSample Points=5000,\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject document = run.Documents().value(0);
    EXPECT_EQ(document["categories"].toArray().size(), 3);
    EXPECT_EQ(document["skipped"].toArray(),
              (QJsonArray{QJsonObject{{"sheet", "Slope Conductance"},
                                      {"reason", "no sample of the ramp lies within the test "
                                                 "potential \u00b1 range"}},
                          QJsonObject{{"sheet", "Traces"},
                                      {"reason", "no sample point lies within the trace's "
                                                 "4000 samples"}}}));
    EXPECT_NE(run.err.find(recording + ": Slope Conductance: skipped: no sample of the ramp"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(recording + ": Traces: skipped: no sample point"), std::string::npos);
}

// An unreadable recording is told and the others analysed all the same: in
// the JSON, per recording with --jsonl, and in the line of what was written.
TEST_F(Analyse, AFileThatCannotBeReadDoesNotStopTheOthers) {
    const std::string missing = dir.file("missing.abf");
    // Both capacitance ramps the same: equal slopes, no capacitance (null in the
    // JSON). Nothing selected on the IV page, no sample points; times in seconds.
    CliRun run = Run({Q(missing), recordingArg, "--json"},
                     "Ramp2 Start=" + std::to_string(model::kRamp1First + 1) +
                         "\nRamp2 End=" + std::to_string(model::kRamp1Last + 1) +
                         "\n[Current Traces]\nSample Points=\n"
                         "[settings]\nPlotTimeTraceNum=0\nSelectAllIV=0\n");
    EXPECT_EQ(run.status, 1);
    QList<QJsonObject> documents = run.Documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(documents[0]["file"].toString().toStdString(), recording);
    EXPECT_NE(run.err.find("Error Reading Axon Data"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(missing), std::string::npos);
    QJsonObject capacitance = Category(documents[0], "Capacitance");
    ASSERT_EQ(capacitance["rows"].toInt(), 3);
    for (const QJsonValue value : capacitance["columns"].toArray()[1].toArray())
        EXPECT_TRUE(value.isNull());
    EXPECT_TRUE(Category(documents[0], "IV").isEmpty());
    EXPECT_EQ(capacitance["headers"].toArray()[0].toString(), "Time");
    EXPECT_EQ(capacitance["columns"].toArray()[0].toArray(), (QJsonArray{0, 5, 10}));
    EXPECT_FALSE(fs::exists(workbook)) << "--json alone writes no workbook";

    run = Run({Q(missing), recordingArg, "--jsonl", "-j", "2"});
    EXPECT_EQ(run.status, 1);
    documents = run.Documents();
    ASSERT_EQ(documents.size(), 2);
    EXPECT_EQ(documents[0]["ok"], false);
    EXPECT_EQ(documents[0]["workbook"], QJsonValue::Null);
    EXPECT_EQ(documents[0]["error"].toString(), "The Axon data file could not be read.");
    EXPECT_EQ(documents[1]["ok"], true);
    EXPECT_EQ(documents[1]["error"], QJsonValue::Null);
    EXPECT_EQ(documents[1]["workbook"].toString().toStdString(), workbook);
    EXPECT_EQ(documents[1]["sheets"].toArray().size(), 7); // the details sheet last
    EXPECT_EQ(documents[1]["sheets"].toArray().last().toString(), "Analysis Details");
    EXPECT_EQ(documents[1]["skipped"].toArray(),
              (QJsonArray{QJsonObject{{"sheet", "IV"}, {"reason", "no traces selected"}},
                          QJsonObject{{"sheet", "Traces"}, {"reason", "no sample points"}}}));

    fs::remove(workbook);
    run = Run({recordingArg});
    EXPECT_EQ(run.out, recording + ": workbook written to " + workbook +
                           "; skipped IV (no traces selected), Traces (no sample points)\n");
}

// The text summary, in the channel's units, is followed by the workbook's
// line; without --text that line is all, and the workbook is never replaced
// without --force.
TEST_F(Analyse, TextSummaryThenTheWorkbookNeverReplacedWithoutForce) {
    CliRun run = Run({recordingArg, "--text"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& out = run.out;
    EXPECT_EQ(out.rfind(recording + " (current in pA)\nSlope conductance", 0), 0u) << out;
    // The first cell's 5 nS; the mean of 20, 20 and 30 pF (1000 pA µs/mV = 1 pF).
    EXPECT_TRUE(std::regex_search(out, std::regex("\n  trace 1 +(5|4\\.99\\d|5\\.00\\d) nS\n")))
        << out;
    EXPECT_TRUE(std::regex_search(out, std::regex("\n  mean +23\\.3\\d pF\n"))) << out;
    EXPECT_NE(out.find("\nCurrent at sample points (sheet \"Traces\"), 42 points "),
              std::string::npos);
    const std::string last = recording + ": workbook written to " + workbook + "\n";
    EXPECT_EQ(out.substr(out.size() - std::min(out.size(), last.size())), last);
    EXPECT_TRUE(IsZip(workbook));
    EXPECT_FALSE(fs::exists(recording + ".charts.pdf")) << "printed only with --print";

    std::ofstream(workbook, std::ios::trunc) << "keep me";
    run = Run({recordingArg});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, recording + ": workbook not written: " + workbook +
                           " exists (--force replaces it)\n");
    EXPECT_EQ(ReadFile(workbook), "keep me");

    ::chmod(workbook.c_str(), 0600);
    run = Run({recordingArg, "--force"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, recording + ": workbook written to " + workbook + "\n");
    EXPECT_TRUE(IsZip(workbook));
    struct stat info {};
    ASSERT_EQ(::stat(workbook.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "--force keeps the replaced file's permissions";
}

// Without a printer the charts go to a PDF beside the workbook, which is no
// more replaced without --force than the workbook is.
TEST_F(Analyse, ChartsPdfNeverReplacedWithoutForce) {
    const std::string pdf = recording + ".charts.pdf";
    std::ofstream(pdf) << "keep me";
    CliRun run = Run({recordingArg, "--print"});
    if (run.err.find("no print support") != std::string::npos)
        GTEST_SKIP() << "this build has no print support";
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(recording + ": charts not written: " + pdf +
                           " exists (--force replaces it)\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(ReadFile(pdf), "keep me");
    run = Run({recordingArg, "--print", "--force"});
    EXPECT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(ReadFile(pdf).substr(0, 5), "%PDF-");
}

// Paths that are not regular files: a recording that is a FIFO is an error at
// once (no writer ever comes), and an output that is a device is refused.
TEST_F(Analyse, PathsThatAreNoRegularFilesAreRefused) {
    const std::string fifo = dir.file("pipe.abf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const char* command : {"info", "dump"}) {
        CliRun run = RunCli({command, Q(fifo)});
        EXPECT_EQ(run.status, 1) << command << run.err;
        EXPECT_NE(run.err.find("Cannot open file"), std::string::npos) << command << run.err;
    }
    CliRun run = Run({Q(fifo), "--json"});
    EXPECT_EQ(run.status, 1) << run.err;
    run = Run({recordingArg, "--output", "/dev/null"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("neither a folder nor a regular file"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists("/dev/null.xlsx"));
}

// A settings file is read line by line: a Latin-1 comment or a NUL costs
// nothing else. One that cannot be read, or whose sample points hold a token
// that is no whole positive number, stops the command with exit status 2.
TEST_F(Analyse, SettingsFilesAreReadWholeOrRefusedLoudly) {
    static const char text[] = "; caf\xE9\n[Current Traces]\nSample Points=10,2600\0junk\n";
    const std::string latin1(text, sizeof text - 1);
    CliRun run = Run({recordingArg, "--json"}, latin1);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Category(run.Documents()[0], "Traces")["rows"].toInt(), 2 * 3);

    for (const char* bad : {"-5", "1e9", "99999999999999999999"}) {
        run = Run({recordingArg, "--json"},
                  std::string("[Current Traces]\nSample Points=10,") + bad + ",20\n");
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.err.find(std::string("\"") + bad + "\" is not a whole positive number"),
                  std::string::npos)
            << run.err;
        EXPECT_TRUE(run.out.empty());
    }

    for (const std::string& path : {dir.file("absent.ini"), dir.file("folder.ini")}) {
        fs::create_directory(dir.file("folder.ini"));
        run = RunCli({"analyse", "--settings", Q(path), recordingArg});
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_NE(run.err.find("cannot read the settings file '" + path + "'"), std::string::npos)
            << run.err;
        EXPECT_FALSE(fs::exists(workbook));
    }
}

TEST(AnalyseReal, RecordingsWithTheDefaultProfile) {
    const QString data = TESSARAN_TESTDATA_DIR; // every choice at its default
    CliRun run = RunCli({"analyse", data + "/19d22010.abf", data + "/20917000.abf",
                         data + "/20917001.abf", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    QList<QJsonObject> documents = run.Documents();
    ASSERT_EQ(documents.size(), 3);
    const int episodes[] = {10, 3, 9};
    for (int f = 0; f < 3; ++f) {
        SCOPED_TRACE(documents[f]["file"].toString().toStdString());
        // The fourteen default sample points all lie within these traces.
        EXPECT_EQ(Category(documents[f], "Traces")["rows"].toInt(), 14 * episodes[f]);
        for (const QJsonValue category : documents[f]["categories"].toArray()) {
            int rows = category["rows"].toInt();
            EXPECT_GT(rows, 0);
            for (const QJsonValue column : category["columns"].toArray())
                EXPECT_EQ(column.toArray().size(), rows);
        }
    }
}

} // namespace
