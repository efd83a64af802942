#include "cli/RecordingFacts.h"

#include "abf/Abf.h"

#include <QCryptographicHash>
#include <QFile>

#include <filesystem>

namespace {

// The loader's channel: analog input 1 when it was sampled, else 0, else the
// first of the scan.
int AnalysedChannel(const AbfHeader& header) {
    for (int wanted : {1, 0})
        for (int i = 0; i < header.channelCount && i < 16; ++i)
            if (header.samplingSequence[i] == wanted)
                return wanted;
    return header.samplingSequence[0];
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
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code))
        return facts;
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly) && hash.addData(&file)) {
        facts.size = static_cast<uint64_t>(file.size());
        facts.sha256 = hash.result().toHex().toStdString();
    }
    int handle = -1;
    AbfHeader header{};
    if (AbfOpenForReading(path.c_str(), &handle, ABF_OPEN_HEADER_ONLY, &header, nullptr, nullptr,
                          nullptr)) {
        AbfCloseFile(handle, nullptr);
        facts.formatVersion = header.fileVersion;
        facts.channel = AnalysedChannel(header);
    }
    return facts;
}
