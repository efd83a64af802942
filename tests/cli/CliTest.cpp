// Runs the built tessaran-cli on recordings made by the test writer and on the
// real recordings.
#include "tests/support/AbfTestWriter.h"
#include "tests/support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

using namespace AbfOffset;

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result RunCli(const QStringList& arguments) {
    QProcess process;
    process.start(TESSARAN_BINARY_DIR "/cli/tessaran-cli", arguments);
    Result r;
    if (!process.waitForFinished(60000))
        return r;
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QJsonObject Info(const std::string& path) {
    Result r = RunCli({"info", QString::fromStdString(path)});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

QStringList Lines(const QString& text) {
    return text.split('\n', Qt::SkipEmptyParts);
}

TEST(CliInfo, DescribesAWriterRecording) {
    TempDir dir;
    std::string path = dir.file("two.abf");
    AbfTestWriter()
        .SetChannels({1, 0})
        .SetFloatSamples(true)
        .SetEpisodes(4)
        .SetStartToStart(2)
        .Write(path);
    QJsonObject info = Info(path);
    EXPECT_EQ(info["fileKind"].toInt(), 1);
    EXPECT_NEAR(info["fileVersion"].toDouble(), 1.65, 1e-6);
    EXPECT_EQ(info["operationMode"].toInt(), 5);
    EXPECT_EQ(info["channelCount"].toInt(), 2);
    EXPECT_EQ(info["samplingSequence"].toArray(), (QJsonArray{1, 0}));
    EXPECT_EQ(info["sampleFormat"].toString(), "float32");
    EXPECT_EQ(info["samplesPerEpisode"].toInt(), 1000);
    EXPECT_EQ(info["episodeCount"].toInt(), 4);
    EXPECT_DOUBLE_EQ(info["firstSampleInterval"].toDouble(), 100.0);
    QJsonArray starts = info["episodeStartTimes"].toArray();
    ASSERT_EQ(starts.size(), 4);
    EXPECT_NEAR(starts[3].toDouble(), 6000.0, 1e-6);
}

TEST(CliInfo, FailureGivesTheReaderTextAndExitCodeOne) {
    TempDir dir;
    std::string path = dir.file("v2.abf");
    AbfTestWriter().SetVersion(2.0f).Write(path);
    Result r = RunCli({"info", QString::fromStdString(path)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), QString("File '%1' has invalid parameters.").arg(path.c_str()));
    EXPECT_TRUE(r.out.isEmpty());
    r = RunCli({"info", QString::fromStdString(dir.file("missing.abf"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Cannot open file"));
}

TEST(CliInfo, DescribesTheRealRecordings) {
    struct {
        const char* name;
        int samples, episodes;
        double intervalMs;
    } files[] = {{"19d22010.abf", 10322, 10, 10000},
                 {"20917000.abf", 103224, 3, 105000},
                 {"20917001.abf", 51612, 9, 28000}};
    for (const auto& f : files) {
        QJsonObject info = Info(std::string(TESSARAN_TESTDATA_DIR) + "/" + f.name);
        EXPECT_EQ(info["samplesPerEpisode"].toInt(), f.samples) << f.name;
        EXPECT_EQ(info["episodeCount"].toInt(), f.episodes) << f.name;
        QJsonArray starts = info["episodeStartTimes"].toArray();
        ASSERT_EQ(starts.size(), f.episodes);
        EXPECT_NEAR(starts[1].toDouble() - starts[0].toDouble(), f.intervalMs, 1.0) << f.name;
    }
}

TEST(CliDump, DefaultsToChannelOneAndEpisodeOne) {
    TempDir dir;
    std::string path = dir.file("rec.abf");
    AbfTestWriter()
        .SetChannels({0, 1})
        .SetSamplesPerChannel(50)
        .SetAdcRange(1000, 32768)
        .SetEpoch(0, 1, -20, 0, 10, 0)
        .SetSignal([](uint32_t e, int c, uint32_t i) { return e * 100.0 + c * 10 + i * 0.1; })
        .Write(path);
    Result r = RunCli({"dump", QString::fromStdString(path)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 51);
    EXPECT_EQ(lines[0], "sample,command_mV,value");
    QStringList first = lines[1].split(',');
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first[0], "1");
    EXPECT_EQ(first[1].toDouble(), -80.0);
    EXPECT_NEAR(first[2].toDouble(), 110.0, 0.05);
    EXPECT_EQ(lines[2].split(',')[1].toDouble(), -20.0) << "the first holding is one sample";

    r = RunCli({"dump", QString::fromStdString(path), "--channel", "0", "--episode", "3"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NEAR(Lines(r.out)[50].split(',')[2].toDouble(), 300.0 + 4.9, 0.05);
}

TEST(CliDump, FallsBackToChannelZeroAndLeavesTheCommandEmpty) {
    TempDir dir;
    std::string path = dir.file("rec.abf");
    AbfTestWriter()
        .SetSamplesPerChannel(5)
        .Set<int16_t>(WaveformSource, 0)
        .SetSignal([](uint32_t, int, uint32_t i) { return i * 1.0; })
        .Write(path);
    Result r = RunCli({"dump", QString::fromStdString(path)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[3].startsWith("3,,"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(CliDump, BadChoicesFail) {
    TempDir dir;
    std::string path = dir.file("rec.abf");
    AbfTestWriter().Write(path);
    Result r = RunCli({"dump", QString::fromStdString(path), "--channel", "3"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("invalid channel number")) << r.err.toStdString();
    r = RunCli({"dump", QString::fromStdString(path), "--episode", "9"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("episode out of range"));
    r = RunCli({"dump", QString::fromStdString(path), "--episode", "x"});
    EXPECT_EQ(r.exitCode, 2);
}

TEST(CliDump, WorksOnEveryKindTheWriterMakes) {
    TempDir dir;
    AbfTestWriter writers[] = {
        AbfTestWriter().SetGapFree(20000).SetChannels({0, 1}),
        AbfTestWriter().SetMode(2).SetSynchArray({{0, 1000}, {500, 1000}}),
        AbfTestWriter().SetOldFormat(3, 5.2f, true),
        AbfTestWriter().SetOldFormat(2, 5.0f).SetOldSynchArray({{1, 0}, {0, 100}}),
        AbfTestWriter().SetStimulusSection([](uint32_t, uint32_t i) { return i * 0.001; }),
        AbfTestWriter().SetVersion(1.3f).SetText(CreatorName, "AXENGN", 16),
    };
    int n = 0;
    for (const AbfTestWriter& writer : writers) {
        std::string path = dir.file("w" + std::to_string(n++) + ".abf");
        writer.Write(path);
        Result r = RunCli({"dump", QString::fromStdString(path)});
        EXPECT_EQ(r.exitCode, 0) << path << r.err.toStdString();
        EXPECT_GT(Lines(r.out).size(), 1) << path;
        Info(path);
    }
}

} // namespace
