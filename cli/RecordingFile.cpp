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
