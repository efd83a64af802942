// tessaran-cli info and dump on recordings made by the test writer; help and
// usage errors of every command.
#include "tessaran/Version.h"
#include "tests/cli/CliRun.h"
#include "tests/support/AbfTestWriter.h"

#include <tuple>

namespace {

using W = AbfTestWriter;

QStringList Command(const char* command, const std::string& path, const QStringList& options = {}) {
    return QStringList{command, Q(path)} + options;
}

// Help and version on stdout; usage errors (status 2) and failures on stderr alone.
TEST(Cli, VersionAndHelpOnStdoutUsageErrorsOnStderr) {
    TempDir dir;
    const QString good = Q(dir.file("good.abf")), one = Q(dir.file("one.xlsx"));
    model::WriteModelRecording(good.toStdString(), {{5.0, 20000.0}});
    const std::tuple<QStringList, int, const char*> cases[] = {
        {{"--version"}, 0, "tessaran-cli " TESSARAN_VERSION "\n"},
        {{"--help"}, 0, "  tessaran-cli watch DIR"},
        {{"--frobnicate"}, 2, "tessaran-cli --help"},
        {{"watch"}, 2, "no folder given"},
        {{"watch", "/nonexistent/folder"}, 1, "is not a folder"},
        {{"watch", "--help"}, 0, "--settle SECONDS"},
        {{"analyse", "--help"}, 0, "Exit status: 0"},
        {{"analyse"}, 2, "no recording given"},
        {{"analyse", good, "--frobnicate"}, 2, "unknown option --frobnicate"},
        {{"analyse", good, "-j", "0"}, 2, "-j needs a number"},
        {{"analyse", good, "-j"}, 2, "-j needs a number"},
        {{"analyse", good, "--text", "--jsonl"}, 2, "--jsonl does not go together"},
        {{"analyse", good, "--text", "--json"}, 2, "--json and --text do not go together"},
        {{"analyse", good, good, "--output", one}, 2, "must be a folder"},
    };
    for (const auto& [arguments, status, says] : cases) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, status) << arguments.join(' ').toStdString();
        EXPECT_NE((status == 0 ? run.out : run.err).find(says), std::string::npos) << run.err;
        EXPECT_EQ(run.out.empty(), status != 0) << run.out;
    }
}

// The header's facts; per channel its name and unit in scan order; per episode
// its epochs with that episode's levels and durations; the ramps with their
// samples. A file the reader refuses gives the reader's text.
TEST(CliInfo, DescribesTheRecordingOrGivesTheReaderText) {
    TempDir dir;
    const std::string path = dir.file("epochs.abf");
    W().SetChannels({1, 0})
        .SetFloatSamples(true)
        .SetSamplesPerChannel(200)
        .SetStartToStart(2)
        .SetText(AbfOffset::kAdcChannelNames + 10, "Im", 10)
        .SetText(AbfOffset::kAdcUnits + 8, "pA", 8)
        .SetText(AbfOffset::kAdcChannelNames, "Vm", 10)
        .SetText(AbfOffset::kAdcUnits, "mV", 8)
        .SetEpoch(0, 1, -20, 5, 10, 2)
        .SetEpoch(2, 2, 1.65f, 0.1f, 20, 0)
        .Write(path);
    CliRun r = RunCli(Command("info", path));
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject info = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    const std::pair<const char*, QJsonValue> fields[] = {
        // clang-format off
        {"fileKind", 1}, {"fileVersion", 1.65}, {"operationMode", 5}, {"channelCount", 2},
        {"sampleFormat", "float32"}, {"samplesPerEpisode", 200}, {"episodeCount", 3},
        {"firstSampleInterval", 100.0}, {"samplingSequence", QJsonArray{1, 0}},
        {"episodeStartTimes", QJsonArray{0.0, 2000.0, 4000.0}}, {"commandUnit", "mV"},
        {"channels", QJsonArray{QJsonObject{{"channel", 1}, {"name", "Im"}, {"unit", "pA"}},
                                QJsonObject{{"channel", 0}, {"name", "Vm"}, {"unit", "mV"}}}},
        // clang-format on
    };
    for (const auto& [key, value] : fields)
        EXPECT_EQ(info[key], value)
            << key << " is " << QJsonDocument(QJsonArray{info[key]}).toJson().toStdString();
    const QJsonArray episodes = info["episodes"].toArray();
    ASSERT_EQ(episodes.size(), 3);
    QJsonArray ramps;
    for (int k = 0; k < 3; ++k) {
        // 400 multiplexed samples: the first holding is 6 of them, 3 per channel.
        const int step = 10 + 2 * k, ramp = 3 + step;
        const QJsonValue level = episodes[k]["epochs"][1]["level"];
        // clang-format off
        EXPECT_EQ(episodes[k]["epochs"].toArray(),
                  (QJsonArray{QJsonObject{{"epoch", "A"}, {"type", "step"}, {"level", -20 + 5 * k},
                                          {"levelIncrement", 5}, {"duration", step},
                                          {"durationIncrement", 2}, {"firstSample", 3},
                                          {"sampleCount", step}},
                              QJsonObject{{"epoch", "C"}, {"type", "ramp"}, {"level", level},
                                          {"levelIncrement", 0.1}, {"duration", 20},
                                          {"durationIncrement", 0}, {"firstSample", ramp},
                                          {"sampleCount", 20}}}))
            << k;
        ramps.append(QJsonObject{{"episode", k + 1}, {"epoch", "C"}, {"firstSample", ramp},
                                 {"lastSample", ramp + 19}, {"fromLevel", -20 + 5 * k},
                                 {"toLevel", level}});
        // clang-format on
    }
    EXPECT_EQ(info["ramps"], ramps);
    // A float as the shortest text that reads back to the same float.
    for (const char* text : {"\"fileVersion\": 1.65,", "\"level\": 1.65,", "\"level\": 1.75,",
                             "\"level\": 1.85,", "\"levelIncrement\": 0.1,", "\"toLevel\": 1.85"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;

    W().SetVersion(2.0f).Write(path);
    r = RunCli(Command("info", path));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Q(r.err).trimmed(), QString("File '%1' has invalid parameters.").arg(path.c_str()));
    EXPECT_TRUE(r.out.empty());
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
    CliRun r = RunCli(Command("dump", path)); // channel 1, episode 1
    ASSERT_EQ(r.status, 0) << r.err;
    QStringList lines = r.Lines();
    ASSERT_EQ(lines.size(), 51);
    EXPECT_EQ(lines[0], "sample,command_mV,value");
    EXPECT_TRUE(lines[1].startsWith("1,-80,")) << lines[1].toStdString();
    EXPECT_NEAR(lines[1].section(',', 2).toDouble(), 110.0, 0.05);
    EXPECT_TRUE(lines[2].startsWith("2,-20,")) << "the first holding is one sample";
    r = RunCli(Command("dump", path, {"--channel", "0", "--episode", "3"}));
    ASSERT_EQ(r.status, 0);
    EXPECT_NEAR(r.Lines()[50].split(',')[2].toDouble(), 300.0 + 4.9, 0.05);

    // Channels and episodes the file lacks are usage errors, never "INTERNAL ERROR".
    for (auto [option, value, message] :
         {std::tuple{"--channel", "3", "invalid channel: 3 (not a channel this file sampled)"},
          std::tuple{"--channel", "-1", "invalid channel: -1"},
          std::tuple{"--episode", "4", "invalid episode: 4 (the file has episodes 1 to 3)"},
          std::tuple{"--episode", "0", "invalid episode: 0"}}) {
        r = RunCli(Command("dump", path, {option, value}));
        EXPECT_EQ(r.status, 2) << option << " " << value;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("INTERNAL"), std::string::npos) << r.err;
    }

    // One channel and no waveform: channel 0, and an empty command column.
    W().SetSamplesPerChannel(5).Set<int16_t>(AbfOffset::kWaveformSource, 0).Write(path);
    r = RunCli(Command("dump", path));
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.Lines().size(), 6);
    EXPECT_TRUE(r.Lines()[3].startsWith("3,,"));
    EXPECT_TRUE(r.err.empty());
}

} // namespace
