// tessaran-cli analyse over many recordings: folders, the order of the output
// with several jobs.
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

    // Several recordings into an --output folder that does not exist yet.
    run = Run({Q(a), Q(b), "--output", Q(dir.file("made/here"))});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir.file("made/here/b.DAT.xlsx")));
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

} // namespace
