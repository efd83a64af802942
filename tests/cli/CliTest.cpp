// Runs the built tessaran-cli on recordings made by the test writer.
#include "tests/support/AbfTestWriter.h"
#include "tests/support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <tuple>

namespace {

using namespace AbfOffset;
using W = AbfTestWriter;

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
    QStringList Lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

// Runs `tessaran-cli command path options...`.
Result RunCli(QStringList arguments, const std::string& path) {
    arguments.insert(1, QString::fromStdString(path));
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

TEST(CliInfo, DescribesTheRecordingOrGivesTheReaderText) {
    TempDir dir;
    std::string path = dir.file("two.abf");
    W().SetChannels({1, 0}).SetFloatSamples(true).SetEpisodes(4).SetStartToStart(2).Write(path);
    Result r = RunCli({"info"}, path);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject info = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const std::pair<const char*, QJsonValue> fields[] = {
        // clang-format off
        {"fileKind", 1}, {"fileVersion", double(1.65f)}, {"operationMode", 5}, {"channelCount", 2},
        {"sampleFormat", "float32"}, {"samplesPerEpisode", 1000}, {"episodeCount", 4},
        {"firstSampleInterval", 100.0}, {"samplingSequence", QJsonArray{1, 0}},
        {"episodeStartTimes", QJsonArray{0.0, 2000.0, 4000.0, 6000.0}},
        // clang-format on
    };
    for (const auto& [key, value] : fields)
        EXPECT_EQ(info[key], value)
            << key << " is " << info[key].toVariant().toString().toStdString();

    W().SetVersion(2.0f).Write(path);
    r = RunCli({"info"}, path);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), QString("File '%1' has invalid parameters.").arg(path.c_str()));
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliDump, WritesSampleCommandAndValue) {
    TempDir dir;
    std::string path = dir.file("rec.abf");
    W().SetChannels({0, 1})
        .SetSamplesPerChannel(50)
        .SetAdcRange(1000, 32768)
        .SetEpoch(0, 1, -20, 0, 10, 0)
        .SetSignal([](uint32_t e, int c, uint32_t i) { return e * 100.0 + c * 10 + i * 0.1; })
        .Write(path);
    Result r = RunCli({"dump"}, path); // channel 1, episode 1
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.Lines();
    ASSERT_EQ(lines.size(), 51);
    EXPECT_EQ(lines[0], "sample,command_mV,value");
    EXPECT_TRUE(lines[1].startsWith("1,-80,")) << lines[1].toStdString();
    EXPECT_NEAR(lines[1].section(',', 2).toDouble(), 110.0, 0.05);
    EXPECT_TRUE(lines[2].startsWith("2,-20,")) << "the first holding is one sample";
    r = RunCli({"dump", "--channel", "0", "--episode", "3"}, path);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NEAR(r.Lines()[50].split(',')[2].toDouble(), 300.0 + 4.9, 0.05);

    for (auto [option, value, exitCode, message] :
         {std::tuple{"--channel", "3", 1, "invalid channel number"},
          std::tuple{"--episode", "9", 1, "episode out of range"},
          std::tuple{"--episode", "x", 2, ""}}) {
        r = RunCli({"dump", option, value}, path);
        EXPECT_EQ(r.exitCode, exitCode) << option << " " << value;
        EXPECT_TRUE(r.err.contains(message)) << r.err.toStdString();
    }

    // One channel and no waveform: channel 0, and an empty command column.
    W().SetSamplesPerChannel(5).Set<int16_t>(WaveformSource, 0).Write(path);
    r = RunCli({"dump"}, path);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(r.Lines().size(), 6);
    EXPECT_TRUE(r.Lines()[3].startsWith("3,,"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(CliDump, InfoAndDumpWorkOnEveryKindTheWriterMakes) {
    TempDir dir;
    const W writers[] = {
        W().SetGapFree(20000).SetChannels({0, 1}),
        W().SetMode(2).SetSynchArray({{0, 1000}, {500, 1000}}),
        W().SetOldFormat(3, 5.2f, true),
        W().SetOldFormat(2, 5.0f).SetOldSynchArray({{1, 0}, {0, 100}}),
        W().SetStimulusSection([](uint32_t, uint32_t i) { return i * 0.001; }),
        W().SetVersion(1.3f).SetText(CreatorName, "AXENGN", 16),
    };
    std::string path = dir.file("rec.abf");
    for (const W& writer : writers) {
        writer.Write(path);
        for (const char* command : {"dump", "info"}) {
            Result r = RunCli({command}, path);
            EXPECT_EQ(r.exitCode, 0) << command << " " << &writer - writers << r.err.toStdString();
            EXPECT_GT(r.Lines().size(), 1) << command << " " << &writer - writers;
        }
    }
}

} // namespace
