// tessaran-cli analyse over many recordings: folders, the order of the output
// with several jobs, the per-file account (lines and --jsonl), exit statuses.
#include "tests/cli/CliRun.h"
#include "tests/support/ModelCell.h"

#include <QJsonArray>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A profile whose ramps are the model protocol's.
void WriteModelSettings(const std::string& path) {
    std::ofstream ini(path, std::ios::trunc);
    for (const char* section : {"Slope conductance", "Cl Current Time course", "IV", "Capacitance"})
        ini << "[" << section << "]\nRamp1 Start=" << model::kRamp1First + 1
            << "\nRamp1 End=" << model::kRamp1Last + 1 << "\n";
    ini << "Ramp2 Start=" << model::kRamp2First + 1 << "\nRamp2 End=" << model::kRamp2Last + 1
        << "\n";
}

class Batch : public ::testing::Test {
protected:
    void SetUp() override { WriteModelSettings(settings); }

    std::string Record(const std::string& name, size_t cells = 2) {
        const std::string path = dir.file(name);
        fs::create_directories(fs::path(path).parent_path());
        model::WriteModelRecording(path, std::vector<model::Cell>(cells, {5.0, 20000.0}));
        return path;
    }
    CliRun Analyse(QStringList arguments) const {
        return RunCli(QStringList{"analyse", "--settings", QString::fromStdString(settings)} +
                      arguments);
    }
    static QString Q(const std::string& text) { return QString::fromStdString(text); }

    TempDir dir;
    std::string settings = dir.file("settings.ini");
};

TEST_F(Batch, FolderGivesItsRecordingsSortedAndRecursiveTheSubfolders) {
    const std::string b = Record("data/b.DAT"), a = Record("data/a.abf");
    const std::string deep = Record("data/sub/c.abf");
    std::ofstream(dir.file("data/notes.txt")) << "not a recording";
    const auto written = [](const std::string& file) {
        return file + ": workbook written to " + file + ".xlsx";
    };

    CliRun run = Analyse({Q(dir.file("data"))});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Lines(), (QStringList{Q(written(a)), Q(written(b))}));
    EXPECT_FALSE(fs::exists(deep + ".xlsx"));

    run = Analyse({Q(dir.file("data")), "--recursive", "--force"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Lines(), (QStringList{Q(written(a)), Q(written(b)), Q(written(deep))}));

    // A folder without recordings is a failure of its own; the others still run.
    fs::create_directory(dir.file("empty"));
    run = Analyse({Q(dir.file("empty")), Q(a), "--force"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.Lines(), QStringList{Q(written(a))});
    EXPECT_NE(run.err.find(dir.file("empty") + ": no .abf or .dat files"), std::string::npos);
}

TEST_F(Batch, OutputKeepsTheOrderGivenWithSeveralJobs) {
    // Large recordings first, so that later small ones finish before them.
    QStringList files;
    std::vector<std::string> expected;
    for (int i = 0; i < 12; ++i) {
        const std::string file = Record(NumberedName("r", i, ".abf"), i < 3 ? 60 : 2);
        files.push_back(Q(file));
        expected.push_back(file);
    }
    for (const char* jobs : {"-j4", "-j1"}) {
        CliRun run = Analyse(QStringList{jobs, "--jsonl", "--force"} + files);
        ASSERT_EQ(run.status, 0) << run.err;
        QList<QJsonObject> documents = run.Documents();
        ASSERT_EQ(documents.size(), 12);
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(documents[i]["file"].toString().toStdString(), expected[i]) << jobs;
    }
}

TEST_F(Batch, JsonlSaysWhatWasWrittenAndWhatWasSkippedAndWhy) {
    const std::string good = Record("good.abf");
    const std::string missing = dir.file("missing.abf");
    std::ofstream(settings, std::ios::app) << "[Current Traces]\nSample Points=\n"
                                           << "[settings]\nSelectAllIV=0\n";
    CliRun run = Analyse({Q(missing), Q(good), "--jsonl", "-j", "2"});
    EXPECT_EQ(run.status, 1);
    QList<QJsonObject> documents = run.Documents();
    ASSERT_EQ(documents.size(), 2);
    EXPECT_EQ(documents[0]["ok"], false);
    EXPECT_EQ(documents[0]["workbook"], QJsonValue::Null);
    EXPECT_EQ(documents[0]["error"].toString(), "The Axon data file could not be read.");
    EXPECT_NE(run.err.find("Error Reading Axon Data"), std::string::npos) << run.err;

    EXPECT_EQ(documents[1]["ok"], true);
    EXPECT_EQ(documents[1]["error"], QJsonValue::Null);
    EXPECT_EQ(documents[1]["workbook"].toString().toStdString(), good + ".xlsx");
    EXPECT_EQ(documents[1]["sheets"].toArray().size(), 6);
    EXPECT_EQ(documents[1]["skipped"].toArray(),
              (QJsonArray{QJsonObject{{"sheet", "IV"}, {"reason", "no traces selected"}},
                          QJsonObject{{"sheet", "Traces"}, {"reason", "no sample points"}}}));

    // The same account as a line.
    fs::remove(good + ".xlsx");
    run = Analyse({Q(good)});
    EXPECT_EQ(run.out, good + ": workbook written to " + good +
                           ".xlsx; skipped IV (no traces selected), Traces (no sample points)\n");
}

TEST_F(Batch, ExitStatuses) {
    const std::string good = Record("good.abf");
    struct Case {
        QStringList arguments;
        int status;
        const char* says;
        bool onStdout;
    };
    const Case cases[] = {
        {{"--help"}, 0, "Exit status: 0", true},
        {{"--help"}, 0, "Reversal Potential Range", true},
        {{Q(good), "-j", "1"}, 0, "workbook written", true},
        {{Q(good)}, 1, "exists (--force replaces it)", true},
        {{Q(dir.file("missing.abf")), "--force", Q(good)}, 1, "Error Reading Axon Data", false},
        {{}, 2, "no recording given", false},
        {{Q(good), "--frobnicate"}, 2, "unknown option --frobnicate", false},
        {{Q(good), "-j", "0"}, 2, "-j needs a number", false},
        {{Q(good), "-j"}, 2, "-j needs a number", false},
        {{Q(good), "--text", "--jsonl"}, 2, "--jsonl does not go together", false},
        {{Q(good), Q(good), "--output", Q(dir.file("one.xlsx"))}, 2, "must be a folder", false},
    };
    for (const Case& c : cases) {
        CliRun run = Analyse(c.arguments);
        const std::string where = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, c.status) << where << "\n" << run.err;
        EXPECT_NE((c.onStdout ? run.out : run.err).find(c.says), std::string::npos)
            << where << "\n"
            << run.out << run.err;
    }
    // Several recordings into an --output folder that does not exist yet.
    CliRun run = Analyse({Q(good), Q(Record("other.abf")), "--output", Q(dir.file("made/here"))});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir.file("made/here/good.abf.xlsx")));
}

} // namespace
