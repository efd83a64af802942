// tessaran-cli analyse over many recordings: folders, the order of the output
// with several jobs, exit statuses.
#include "tests/cli/CliRun.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class Batch : public CliFolder {};

TEST_F(Batch, FolderGivesItsRecordingsSortedAndRecursiveTheSubfolders) {
    const std::string b = Record("data/b.DAT"), a = Record("data/a.abf");
    const std::string deep = Record("data/sub/c.abf");
    std::ofstream(dir.file("data/notes.txt")) << "not a recording";
    const auto written = [](const std::string& file) {
        return file + ": workbook written to " + file + ".xlsx";
    };

    CliRun run = Run({Q(dir.file("data"))});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Lines(), (QStringList{Q(written(a)), Q(written(b))}));
    EXPECT_FALSE(fs::exists(deep + ".xlsx"));

    run = Run({Q(dir.file("data")), "--recursive", "--force"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Lines(), (QStringList{Q(written(a)), Q(written(b)), Q(written(deep))}));

    // A folder without recordings is a failure of its own; the others still run.
    fs::create_directory(dir.file("empty"));
    run = Run({Q(dir.file("empty")), Q(a), "--force"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.Lines(), QStringList{Q(written(a))});
    EXPECT_NE(run.err.find(dir.file("empty") + ": no .abf or .dat files"), std::string::npos);
}

TEST_F(Batch, OutputKeepsTheOrderGivenWithSeveralJobs) {
    // Large recordings first, so that later small ones finish before them.
    QStringList files;
    for (int i = 0; i < 12; ++i)
        files.push_back(Q(Record(NumberedName("r", i, ".abf"), i < 3 ? 60 : 2)));
    for (const char* jobs : {"-j4", "-j1"}) {
        CliRun run = Run(QStringList{jobs, "--jsonl", "--force"} + files);
        ASSERT_EQ(run.status, 0) << run.err;
        QList<QJsonObject> documents = run.Documents();
        ASSERT_EQ(documents.size(), 12);
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(documents[i]["file"].toString(), files[i]) << jobs;
    }
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
        {{}, 2, "no recording given", false},
        {{Q(good), "--frobnicate"}, 2, "unknown option --frobnicate", false},
        {{Q(good), "-j", "0"}, 2, "-j needs a number", false},
        {{Q(good), "-j"}, 2, "-j needs a number", false},
        {{Q(good), "--text", "--jsonl"}, 2, "--jsonl does not go together", false},
        {{Q(good), "--text", "--json"}, 2, "--json and --text do not go together", false},
        {{Q(good), Q(good), "--output", Q(dir.file("one.xlsx"))}, 2, "must be a folder", false},
    };
    for (const Case& c : cases) {
        CliRun run = Run(c.arguments);
        const std::string where = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, c.status) << where << "\n" << run.err;
        EXPECT_NE((c.onStdout ? run.out : run.err).find(c.says), std::string::npos)
            << where << "\n"
            << run.out << run.err;
    }
    // Several recordings into an --output folder that does not exist yet.
    CliRun run = Run({Q(good), Q(Record("other.abf")), "--output", Q(dir.file("made/here"))});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir.file("made/here/good.abf.xlsx")));
}

} // namespace
