// A recording opened through the reader for the command-line tools, closed
// again when the object goes away.
#pragma once

#include "abf/Abf.h"

#include <QString>

#include <cstdint>
#include <string>

class RecordingFile {
public:
    RecordingFile() = default;
    ~RecordingFile();
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    // Opens `path`; on failure prints the reader's error text to stderr and
    // returns false.
    bool Open(const QString& path);

    // Physical channel 1 when it was sampled, else 0 when that was, else the
    // first channel of the scan.
    int DefaultChannel() const;
    bool IsSampled(int channel) const;
    // The unit text of physical `channel` (e.g. "pA"), spaces trimmed; empty
    // when the header gives none or there is no such channel.
    std::string Unit(int channel) const;

    int handle = -1;
    AbfHeader header{};
    uint32_t samplesPerChannel = 0;
    uint32_t episodeCount = 0;
    QByteArray path;
};

// The reader's text for `error` on file `path`.
QString ReaderErrorText(int error, const QByteArray& path);
