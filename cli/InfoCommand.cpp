// tessaran-cli info FILE: the recording's header and episode layout as JSON.
#include "cli/Command.h"
#include "recording/CAbfRecording.h"

#include <QFile>

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
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::printf("usage: tessaran-cli info FILE\n\nPrints the header and episode layout of "
                    "the recording FILE as JSON.\nExit status: 0 read; 1 the file cannot be "
                    "read; 2 bad usage.\n");
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
    const AbfHeader& h = file.Header();

    QJsonArray sequence, units;
    for (int i = 0; i < h.channelCount; ++i) {
        sequence.append(h.samplingSequence[i]);
        units.append(FixedText(h.adcUnits[h.samplingSequence[i]], sizeof h.adcUnits[0]));
    }
    const int channel = file.AnalysedChannel();
    QJsonArray starts;
    for (uint32_t k = 0; k < file.EpisodeCount(); ++k) {
        double ms = 0;
        if (LoadResult read = file.GetEpisodeStartTime(k, ms, channel); !read) {
            std::fprintf(stderr, "%s\n", read.ReaderText().c_str());
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
        {"samplesPerEpisode", qint64(file.SamplesPerTrace())},
        {"episodeCount", qint64(file.EpisodeCount())},
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

const CommandRegistration kRegistration("info", "info FILE", Info);

} // namespace
