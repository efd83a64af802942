#include "cli/RecordingFacts.h"

#include "abf/Abf.h"
#include "platform/RegularFile.h"
#include "recording/ChannelChoice.h"

#include <QCryptographicHash>
#include <QFile>

#include <optional>
#include <unistd.h>

namespace {

// The loader's channel: the first sampled channel with a current unit, else
// analog input 1 when it was sampled, else 0, else the first of the scan.
int AnalysedChannel(const AbfHeader& header) {
    const int chosen = ChooseChannel(header, kAutoChannel);
    return IsSampledChannel(header, chosen) ? chosen : header.samplingSequence[0];
}

// The SHA-256 of what is left to read on `fd` as hexadecimal digits; closes `fd`.
std::optional<std::string> Sha256Of(int fd) {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return std::nullopt;
    return hash.result().toHex().toStdString();
}

} // namespace

RecordingFacts ReadRecordingFacts(const std::string& path, const TraceStore& store) {
    RecordingFacts facts;
    facts.path = path;
    facts.samplesPerTrace = store.SamplesPerTrace();
    facts.traces = static_cast<uint32_t>(store.traces.size());
    if (store.timeAxis.size() > 1)
        facts.sampleInterval = store.timeAxis[1] - store.timeAxis[0];
    // Only a regular file is read: a FIFO or a device would block or never end.
    uint64_t size = 0;
    int error = 0;
    const int fd = OpenRegularFile(path.c_str(), size, error);
    if (fd < 0)
        return facts;
    if (std::optional<std::string> digest = Sha256Of(fd)) {
        facts.size = size;
        facts.sha256 = std::move(*digest);
    }
    int handle = -1;
    AbfHeader header{};
    if (AbfOpenForReading(path.c_str(), &handle, ABF_OPEN_HEADER_ONLY, &header, nullptr, nullptr,
                          nullptr)) {
        AbfCloseFile(handle, nullptr);
        facts.formatVersion = header.fileVersion;
        // The channel the loader chose; for a file it could not load, the one
        // it would have tried first.
        facts.channel = store.traces.empty() ? AnalysedChannel(header) : store.channel.index;
    }
    return facts;
}
