#include "cli/RecordingFile.h"

#include <cstdio>

QString ReaderErrorText(int error, const QByteArray& path) {
    char text[512];
    AbfFormatErrorText(error, path.constData(), text, sizeof text);
    return QString::fromLocal8Bit(text);
}

RecordingFile::~RecordingFile() {
    if (handle >= 0)
        AbfCloseFile(handle, nullptr);
}

bool RecordingFile::Open(const QString& filePath) {
    path = filePath.toLocal8Bit();
    int error = 0;
    if (!AbfOpenForReading(path.constData(), &handle, 0, &header, &samplesPerChannel, &episodeCount,
                           &error)) {
        std::fprintf(stderr, "%s\n", ReaderErrorText(error, path).toLocal8Bit().constData());
        return false;
    }
    return true;
}

bool RecordingFile::IsSampled(int channel) const {
    for (int i = 0; i < header.channelCount && i < 16; ++i)
        if (header.samplingSequence[i] == channel)
            return true;
    return false;
}

int RecordingFile::DefaultChannel() const {
    if (IsSampled(1))
        return 1;
    if (IsSampled(0))
        return 0;
    return header.samplingSequence[0];
}

std::string RecordingFile::Unit(int channel) const {
    constexpr int kChannels = sizeof header.adcUnits / sizeof header.adcUnits[0];
    if (channel < 0 || channel >= kChannels)
        return {};
    const char* field = header.adcUnits[channel];
    size_t n = 0;
    while (n < sizeof header.adcUnits[0] && field[n] != '\0')
        ++n;
    std::string unit(field, n);
    unit.erase(unit.find_last_not_of(' ') + 1);
    unit.erase(0, unit.find_first_not_of(' '));
    return unit;
}
