// tessaran-cli info FILE: the recording's header, channels, episode layout and
// stimulus epochs as JSON.
#include "abf/Abf.h"
#include "abf/Protocol.h"
#include "cli/Command.h"
#include "recording/CAbfRecording.h"
#include "recording/ChannelChoice.h"

#include <QFile>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cstdio>

namespace {

constexpr char kHelp[] =
    "usage: tessaran-cli info FILE\n\n"
    "Prints the header and episode layout of the recording FILE as JSON: per sampled\n"
    "channel its number, name and unit (\"channels\"); the stimulus epochs of each episode\n"
    "(\"episodes\": epoch letter, type, level and duration in that episode with their\n"
    "increments per episode, and the epoch's first sample and sample count in the analysed\n"
    "channel); the ramp epochs with their first and last sample (\"ramps\"). Levels are in\n"
    "the command's unit (\"commandUnit\"), durations in samples per channel. Numbers stored\n"
    "as 32-bit floats are printed as the shortest text that reads back to the same float.\n"
    "Exit status: 0 read; 1 the file cannot be read; 2 bad usage.\n";

QString FixedText(const char* field, size_t width) {
    size_t n = 0;
    while (n < width && field[n] != '\0')
        ++n;
    return QString::fromLatin1(field, qsizetype(n)).trimmed();
}

// A float as the double nearest its shortest decimal text, which the JSON
// writer prints as that text (1.65, not 1.649999976158142).
double Shortest(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = value;
    if (written.ec == std::errc())
        std::from_chars(text, written.ptr, shortest);
    return shortest;
}

QJsonArray ChannelsJson(const AbfHeader& h) {
    QJsonArray channels;
    for (const ChannelInfo& channel : SampledChannels(h))
        channels.append(QJsonObject{
            {"channel", channel.index},
            {"name", QString::fromLatin1(channel.name.data(), qsizetype(channel.name.size()))},
            {"unit", QString::fromLatin1(channel.unit.data(), qsizetype(channel.unit.size()))}});
    return channels;
}

QString EpochLetter(int epoch) {
    return QString(QChar('A' + epoch));
}

QString EpochTypeName(int type) {
    return type == 1   ? QStringLiteral("step")
           : type == 2 ? QStringLiteral("ramp")
                       : QString::number(type);
}

// The enabled epochs of `episode` as the analysed `channel` sees them; the
// ramps among them go into `ramps` as well. Empty without an epoch waveform.
QJsonArray EpisodeEpochsJson(const AbfHeader& h, int channel, uint32_t episode, QJsonArray& ramps) {
    AbfEpochSpan spans[ABF_MAXEPOCHSPANS];
    int count = 0;
    int error = 0;
    QJsonArray epochs;
    if (!AbfGetEpochSpans(&h, channel, episode, spans, &count, &error))
        return epochs;
    for (int i = 0; i < count && i < ABF_MAXEPOCHSPANS; ++i) {
        const AbfEpochSpan& span = spans[i];
        const int e = span.epoch;
        epochs.append(QJsonObject{
            {"epoch", EpochLetter(e)},
            {"type", EpochTypeName(span.type)},
            {"level", Shortest(static_cast<float>(span.level))},
            {"levelIncrement", Shortest(h.epochLevelIncrement[e])},
            {"duration", qint64(AbfEpochDuration(h, e, episode))},
            {"durationIncrement", int(h.epochDurationIncrement[e])},
            {"firstSample", qint64(span.first)},
            {"sampleCount", qint64(span.count)},
        });
        if (span.type != 1 && span.count > 0)
            ramps.append(QJsonObject{
                {"episode", qint64(episode)},
                {"epoch", EpochLetter(e)},
                {"firstSample", qint64(span.first)},
                {"lastSample", qint64(span.first) + qint64(span.count) - 1},
                {"fromLevel", Shortest(static_cast<float>(span.startLevel))},
                {"toLevel", Shortest(static_cast<float>(span.level))},
            });
    }
    return epochs;
}

// Per episode its start time and epochs; false (with the reader's text on
// stderr) when a start time cannot be read.
bool AddEpisodes(CAbfRecording& file, int channel, QJsonObject& info) {
    const AbfHeader& h = file.Header();
    QJsonArray starts, episodes, ramps;
    for (uint32_t k = 0; k < file.EpisodeCount(); ++k) {
        double ms = 0;
        if (LoadResult read = file.GetEpisodeStartTime(k, ms, channel); !read) {
            std::fprintf(stderr, "%s\n", read.ReaderText().c_str());
            return false;
        }
        starts.append(ms);
        episodes.append(QJsonObject{{"episode", qint64(k) + 1},
                                    {"epochs", EpisodeEpochsJson(h, channel, k + 1, ramps)}});
    }
    info.insert("episodeStartTimes", starts);
    info.insert("episodes", episodes);
    info.insert("ramps", ramps);
    return true;
}

QJsonObject HeaderJson(const QString& path, const AbfHeader& h, const CAbfRecording& file) {
    QJsonArray sequence, units;
    for (int i = 0; i < h.channelCount; ++i) {
        sequence.append(h.samplingSequence[i]);
        units.append(FixedText(h.adcUnits[h.samplingSequence[i]], sizeof h.adcUnits[0]));
    }
    const std::string commandUnit = CommandUnit(h);
    return QJsonObject{
        {"file", path},
        {"fileKind", int(h.fileKind)},
        {"fileVersion", Shortest(h.fileVersion)},
        {"operationMode", int(h.operationMode)},
        {"channelCount", int(h.channelCount)},
        {"samplingSequence", sequence},
        {"units", units},
        {"channels", ChannelsJson(h)},
        {"sampleFormat", h.sampleFormat != 0 ? "float32" : "int16"},
        {"samplesPerEpisode", qint64(file.SamplesPerTrace())},
        {"episodeCount", qint64(file.EpisodeCount())},
        {"acquiredSampleCount", int(h.acquiredSampleCount)},
        {"firstSampleInterval", Shortest(h.firstSampleInterval)},
        {"secondSampleInterval", Shortest(h.secondSampleInterval)},
        {"episodeStartToStart", Shortest(h.episodeStartToStart)},
        {"adcRange", Shortest(h.adcRange)},
        {"adcResolution", int(h.adcResolution)},
        {"waveformSource", int(h.waveformSource)},
        {"activeDacChannel", int(h.activeDacChannel)},
        {"commandUnit", QString::fromLatin1(commandUnit.data(), qsizetype(commandUnit.size()))},
    };
}

int Info(const QStringList& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: tessaran-cli info FILE\n");
        return 2;
    }
    CAbfRecording file;
    if (LoadResult opened = file.Open(QFile::encodeName(arguments.at(0)).toStdString()); !opened) {
        std::fprintf(stderr, "%s\n", opened.ReaderText().c_str());
        return 1;
    }
    QJsonObject info = HeaderJson(arguments.at(0), file.Header(), file);
    const int channel = file.AnalysedChannel();
    info.insert("startTimeChannel", channel);
    if (!AddEpisodes(file, channel, info))
        return 1;
    std::fputs(QJsonDocument(info).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}

const CommandRegistration kRegistration("info", "info FILE", Info);

} // namespace
