// tessaran-cli info FILE: the recording's header and episode layout as JSON.
#include "cli/Command.h"
#include "cli/RecordingFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QString FixedText(const char* field, size_t width) {
    size_t n = 0;
    while (n < width && field[n] != '\0')
        ++n;
    return QString::fromLatin1(field, qsizetype(n)).trimmed();
}

int Info(const QStringList& arguments) {
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: tessaran-cli info FILE\n");
        return 2;
    }
    RecordingFile file;
    if (!file.Open(arguments.at(0)))
        return 1;
    const AbfHeader& h = file.header;

    QJsonArray sequence, units;
    for (int i = 0; i < h.channelCount; ++i) {
        sequence.append(h.samplingSequence[i]);
        units.append(FixedText(h.adcUnits[h.samplingSequence[i]], sizeof h.adcUnits[0]));
    }
    const int channel = file.DefaultChannel();
    QJsonArray starts;
    for (uint32_t k = 1; k <= file.episodeCount; ++k) {
        double ms = 0;
        int error = 0;
        if (!AbfGetEpisodeStartTime(file.handle, &h, channel, k, &ms, &error)) {
            std::fprintf(stderr, "%s\n",
                         ReaderErrorText(error, file.path).toLocal8Bit().constData());
            return 1;
        }
        starts.append(ms);
    }

    QJsonObject info{
        {"file", arguments.at(0)},
        {"fileKind", int(h.fileKind)},
        {"fileVersion", double(h.fileVersion)},
        {"operationMode", int(h.operationMode)},
        {"channelCount", int(h.channelCount)},
        {"samplingSequence", sequence},
        {"units", units},
        {"sampleFormat", h.sampleFormat != 0 ? "float32" : "int16"},
        {"samplesPerEpisode", qint64(file.samplesPerChannel)},
        {"episodeCount", qint64(file.episodeCount)},
        {"acquiredSampleCount", int(h.acquiredSampleCount)},
        {"firstSampleInterval", double(h.firstSampleInterval)},
        {"secondSampleInterval", double(h.secondSampleInterval)},
        {"episodeStartToStart", double(h.episodeStartToStart)},
        {"adcRange", double(h.adcRange)},
        {"adcResolution", int(h.adcResolution)},
        {"waveformSource", int(h.waveformSource)},
        {"activeDacChannel", int(h.activeDacChannel)},
        {"startTimeChannel", channel},
        {"episodeStartTimes", starts},
    };
    std::fputs(QJsonDocument(info).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}

const CommandRegistration registration("info", "info FILE", Info);

} // namespace
