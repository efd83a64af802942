// tessaran-cli analyse --channel and --ramps: the channel from the option, else
// the profile's "Current Channel", else the current channel by its unit; the
// ramps from each trace's protocol or from the sample numbers, the option over
// each page's "Ramps From Protocol"; malformed values are bad usage.
#include "tests/cli/CliRun.h"
#include "tests/export/XlsxReadBack.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Three cells whose ramps move 200 samples from episode to episode; the
// current (pA) on channel 0, the membrane potential (mV) on channel 1.
const std::vector<model::Cell> kCells = {{5.0, 20000.0}, {10.0, 25000.0}, {15.0, 30000.0}};
constexpr uint32_t kShift = 200;
constexpr double kCount = 1.0 / 16.0; // pA per count of the recording

// Column `column` of category `sheet` as numbers.
std::vector<double> Column(const QJsonObject& document, const QString& sheet, int column) {
    std::vector<double> values;
    for (const QJsonValue value : Category(document, sheet)["columns"].toArray()[column].toArray())
        values.push_back(value.toDouble());
    return values;
}

// Every category's "units" runs beside its "headers".
void ExpectUnitsBesideHeaders(const QJsonObject& document) {
    ASSERT_FALSE(document["categories"].toArray().isEmpty());
    for (const QJsonValue category : document["categories"].toArray())
        EXPECT_EQ(category["units"].toArray().size(), category["headers"].toArray().size())
            << category["sheet"].toString().toStdString();
}

class ChannelAndRamps : public CliFolder {
protected:
    void SetUp() override {
        CliFolder::SetUp();
        model::WriteMovingRampRecording(recording, kCells, kShift);
    }
    // The one JSON document of analyse --json on the recording with the
    // profile MovingRampSettings(fromProtocol, general) and `options`.
    QJsonObject Analysed(int fromProtocol, const std::string& general, const QStringList& options) {
        const CliRun run = Run(QStringList{Q(recording), "--json"} + options,
                               MovingRampSettings(fromProtocol, general));
        EXPECT_EQ(run.status, 0) << run.err;
        const QList<QJsonObject> documents = run.Documents();
        EXPECT_EQ(documents.size(), 1) << run.out;
        return documents.value(0);
    }

    std::string recording = dir.file("moving.abf");
};

const QJsonObject kCurrentChannel{{"index", 0}, {"name", "Im"}, {"unit", "pA"}};
const QJsonObject kVoltageChannel{{"index", 1}, {"name", "Vm"}, {"unit", "mV"}};

TEST_F(ChannelAndRamps, TheOptionOverTheProfileOverTheCurrentUnit) {
    struct Case {
        const char* what;
        std::string general; // lines of [settings]
        QStringList options;
        QJsonObject channel;
    };
    const Case cases[] = {
        {"auto: the channel in pA, not channel 1", "", {}, kCurrentChannel},
        {"the option", "", {"--channel", "1"}, kVoltageChannel},
        {"the profile", "Current Channel=1\n", {}, kVoltageChannel},
        {"the option over the profile",
         "Current Channel=1\n",
         {"--channel", "auto"},
         kCurrentChannel},
        {"a number the option gives",
         "Current Channel=auto\n",
         {"--channel", "0"},
         kCurrentChannel},
        {"a profile value that is no channel", "Current Channel=one\n", {}, kCurrentChannel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QJsonObject document = Analysed(1, c.general, c.options);
        EXPECT_EQ(document["channel"].toObject(), c.channel);
        ExpectUnitsBesideHeaders(document);
        const std::vector<double> slope = Column(document, "Slope Conductance", 1);
        ASSERT_EQ(slope.size(), 3u);
        // The membrane potential follows the command: a slope of 1 on channel 1.
        for (size_t k = 0; k < 3; ++k)
            EXPECT_NEAR(slope[k], c.channel == kCurrentChannel ? kCells[k].conductance : 1.0, 0.01)
                << k;
        EXPECT_EQ(Category(document, "Slope Conductance")["units"].toArray()[1].toString(),
                  c.channel == kCurrentChannel ? "nS" : "mV/mV");
    }
}

TEST_F(ChannelAndRamps, AChannelNotSampledFailsThatRecordingAlone) {
    const std::string single = dir.file("single.abf"); // the current on channel 0 only
    model::WriteModelRecording(single, {kCells[0]}, false);
    WriteModelSettings(settings, MovingRampSettings(1));
    const std::string summary = dir.file("summary.xlsx");
    CliRun run =
        Run({Q(single), Q(recording), "--channel", "1", "--jsonl", "--summary", Q(summary)});
    EXPECT_EQ(run.status, 1) << run.err;
    const QList<QJsonObject> documents = run.Documents();
    ASSERT_EQ(documents.size(), 2);
    EXPECT_EQ(documents[0]["ok"], false);
    EXPECT_EQ(documents[0]["error"].toString(),
              "channel 1 was not sampled; the recording holds 0:  (pA)");
    EXPECT_EQ(documents[1]["ok"], true);
    EXPECT_TRUE(fs::exists(recording + ".xlsx"));
    EXPECT_FALSE(fs::exists(single + ".xlsx"));
    // The summary's files: why the one failed, the channel the other was read on.
    const ReadBackWorkbook book = ReadXlsx(summary);
    const ReadBackSheet& files = book.Sheet("Files");
    ASSERT_TRUE(files.cells.count({2, 5}));
    EXPECT_EQ(files.cells.at({2, 5}).number, 1.0);
    ASSERT_TRUE(files.cells.count({1, 9}));
    EXPECT_EQ(files.cells.at({1, 9}).text.rfind("channel 1 was not sampled", 0), 0u);

    // The profile's channel fails the same way, and the line says why.
    run = Run({Q(single)}, MovingRampSettings(1, "Current Channel=5\n"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(single + ": not read: channel 5 was not sampled"), std::string::npos)
        << run.out;
}

TEST(ChannelRampsUsage, MalformedValuesAreBadUsage) {
    TempDir dir;
    const std::string recording = dir.file("cell.abf");
    model::WriteModelRecording(recording, {kCells[0]});
    const std::pair<QStringList, const char*> cases[] = {
        {{"--channel", "x"}, "--channel needs auto or a channel number from 0 to 15"},
        {{"--channel", "16"}, "--channel needs auto"},
        {{"--channel", "-1"}, "--channel needs auto"},
        {{"--channel", "Auto"}, "--channel needs auto"},
        {{"--channel"}, "--channel needs auto"},
        {{"--ramps", "epochs"}, "--ramps needs protocol or settings"},
        {{"--ramps"}, "--ramps needs protocol or settings"},
    };
    for (const std::string command : {"analyse", "watch"})
        for (const auto& [options, message] : cases) {
            SCOPED_TRACE(command + " " + options.join(' ').toStdString());
            const CliRun run = RunCli(QStringList{Q(command), Q(dir.path().string())} + options);
            EXPECT_EQ(run.status, 2);
            EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
            EXPECT_NE(run.err.find("usage: tessaran-cli " + command), std::string::npos);
        }
    EXPECT_FALSE(fs::exists(recording + ".xlsx"));

    // Both commands explain the options and the profile keys they stand in for.
    for (const char* command : {"analyse", "watch"}) {
        const CliRun help = RunCli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        for (const char* text : {"--channel auto|N\n", "--ramps protocol|settings\n",
                                 "Current Channel", "Ramps From Protocol", "Ramp1 Protocol Ramp"})
            EXPECT_NE(help.out.find(text), std::string::npos) << command << ": " << text;
    }
}

TEST_F(ChannelAndRamps, RampsOptionOverEveryPagesProfileKeepingItsRampNumbers) {
    // From the protocol, each trace's own ramps: its own G and C, and the
    // capacitive current of the rising ramp (the page's ramp 1 is epoch 2).
    const QJsonObject followed = Analysed(0, "", {"--ramps", "protocol"});
    ExpectUnitsBesideHeaders(followed);
    const std::vector<double> slope = Column(followed, "Slope Conductance", 1);
    const std::vector<double> capacitance = Column(followed, "Capacitance", 1);
    const std::vector<double> current = Column(followed, "ICl Time Course", 1);
    ASSERT_EQ(slope.size(), 3u);
    ASSERT_EQ(capacitance.size(), 3u);
    ASSERT_EQ(current.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(slope[k], kCells[k].conductance, 0.01);
        EXPECT_NEAR(capacitance[k], kCells[k].capacitance, kCount / 0.00375);
        EXPECT_NEAR(current[k], kCells[k].capacitance * model::kRamp1Slope, kCount);
    }
    EXPECT_EQ(Category(followed, "IV")["columns"].toArray()[0].toArray().first().toDouble(),
              -100.0);
    // Without the option the profile decides.
    EXPECT_EQ(Analysed(1, "", {})["categories"], followed["categories"]);

    // --ramps settings over a profile that says 1: the sample numbers, which
    // miss the later traces' ramps, exactly as a profile that says 0.
    const QJsonObject fixed = Analysed(1, "", {"--ramps", "settings"});
    EXPECT_EQ(fixed["categories"], Analysed(0, "", {})["categories"]);
    const std::vector<double> fixedCapacitance = Column(fixed, "Capacitance", 1);
    ASSERT_EQ(fixedCapacitance.size(), 3u);
    EXPECT_NEAR(fixedCapacitance[0], kCells[0].capacitance, kCount / 0.00375)
        << "the first trace's ramps are the sample numbers";
    EXPECT_GT(std::abs(fixedCapacitance[2] - kCells[2].capacitance), 1000.0);
}

} // namespace
