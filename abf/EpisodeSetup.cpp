// Finding where every episode of an opened file lies: the virtual synch array
// built from the file's synch array, or fixed-length episodes and chunks.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"

#include <memory>

namespace {

// Reads the 8-byte entries of an ABF synch array a window of 100 at a time.
class FileSynchReader {
public:
    FileSynchReader(const AbfFile& file, const AbfHeader& h)
        : m_fd(file.fd), m_start(uint64_t(h.synchFirstBlock) * ABF_BLOCKSIZE),
          m_count(uint32_t(h.synchEntryCount)) {}

    uint32_t Count() const { return m_count; }

    bool Get(uint32_t index, uint32_t* start, uint32_t* length) {
        if (index >= m_count)
            return false;
        if (index < m_first || index >= m_first + m_loaded) {
            m_first = index / kWindow * kWindow;
            m_loaded = m_count - m_first < kWindow ? m_count - m_first : kWindow;
            if (!AbfReadAt(m_fd, m_start + uint64_t(m_first) * 8, m_window, m_loaded * 8)) {
                m_loaded = 0;
                return false;
            }
        }
        *start = m_window[2 * (index - m_first)];
        *length = m_window[2 * (index - m_first) + 1];
        return true;
    }

private:
    static constexpr uint32_t kWindow = 100;
    int m_fd;
    uint64_t m_start;
    uint32_t m_count;
    uint32_t m_first = 0;
    uint32_t m_loaded = 0;
    uint32_t m_window[2 * kWindow];
};

bool HasSynchArray(const AbfHeader& h) {
    return h.synchEntryCount >= 1 && h.synchFirstBlock >= 1;
}

// Appends an episode after checking that it fits the episode buffer
// (`maxLength` samples) and that its samples lie inside the file.
int AddEpisode(AbfFile* file, SynchArray* array, uint64_t start, uint64_t length, uint64_t offset,
               uint64_t maxLength) {
    if (length > maxLength || offset > UINT32_MAX)
        return ABF_EBADSYNCH;
    if (offset + length * file->sampleSize > file->DataBytesAvailable())
        return ABF_EREADDATA;
    if (!array->Append({uint32_t(start), uint32_t(length), uint32_t(offset)}))
        return ABF_EBADTEMPFILE;
    return 0;
}

std::unique_ptr<SynchArray> NewSynchArray() {
    auto array = std::make_unique<SynchArray>();
    if (!array->Create())
        return nullptr;
    return array;
}

// Copies the file's synch array into the virtual one, checking each entry
// against the samples still unaccounted for and the order of the starts.
int CopyContinuousSynch(AbfFile* file, const AbfHeader& h) {
    const uint64_t acquired = uint64_t(h.acquiredSampleCount);
    FileSynchReader reader(*file, h);
    uint64_t remaining = acquired, previousStart = 0, offset = 0;
    for (uint32_t i = 0; i < reader.Count(); ++i) {
        uint32_t start, length;
        if (!reader.Get(i, &start, &length) || length > remaining || start < previousStart)
            return ABF_EBADSYNCH;
        if (int rc = AddEpisode(file, file->synch.get(), start, length, offset, acquired))
            return rc;
        remaining -= length;
        offset += length * uint64_t{file->sampleSize};
        previousStart = start;
    }
    return 0;
}

// Rebuilds the virtual synch array of a continuous recording: runs of
// contiguous entries joined, then cut into chunks of at most `chunk` samples.
int ChunkContinuousSynch(AbfFile* file, uint32_t chunk) {
    std::unique_ptr<SynchArray> rebuilt = NewSynchArray();
    if (!rebuilt)
        return ABF_EBADTEMPFILE;
    const uint64_t s = file->sampleSize;
    auto emitRun = [&](uint64_t start, uint64_t length, uint64_t offset) {
        while (length > chunk) {
            if (int rc = AddEpisode(file, rebuilt.get(), start, chunk, offset, chunk))
                return rc;
            start += chunk;
            offset += chunk * s;
            length -= chunk;
        }
        return AddEpisode(file, rebuilt.get(), start, length, offset, chunk);
    };
    bool haveRun = false;
    uint64_t runStart = 0, runLength = 0, runOffset = 0;
    for (uint32_t i = 0; i < file->synch->Count(); ++i) {
        SynchEntry entry;
        if (!file->synch->Get(i, &entry))
            return ABF_EBADSYNCH;
        if (haveRun && entry.start == runStart + runLength) {
            runLength += entry.length;
            continue;
        }
        if (haveRun)
            if (int rc = emitRun(runStart, runLength, runOffset))
                return rc;
        haveRun = true;
        runStart = entry.start;
        runLength = entry.length;
        runOffset = entry.offset;
    }
    if (haveRun)
        if (int rc = emitRun(runStart, runLength, runOffset))
            return rc;
    file->synch = std::move(rebuilt);
    file->episodeCount = file->synch->Count();
    return 0;
}

int ContinuousSetUp(AbfFile* file, AbfHeader* h, uint32_t* samplesPerChannel) {
    const uint32_t n = file->channels;
    const uint64_t acquired = uint64_t(h->acquiredSampleCount);
    const bool synch = HasSynchArray(*h);
    if (synch)
        if (int rc = CopyContinuousSynch(file, *h))
            return rc;

    uint32_t requested = *samplesPerChannel;
    if (requested == 0)
        requested = 8192 / n;
    if (requested > 16384 / n)
        requested = 16384 / n;
    const uint64_t perChannel = acquired / n;
    const uint32_t m = perChannel < requested ? uint32_t(perChannel) : requested;
    if (m == 0)
        return ABF_EINVALIDFILE; // fewer samples than channels: no chunk at all
    const uint32_t chunk = n * m;
    h->samplesPerEpisode = int32_t(chunk);
    file->samplesPerEpisode = chunk;
    *samplesPerChannel = m;

    if (synch) {
        if (int rc = ChunkContinuousSynch(file, chunk))
            return rc;
    } else {
        uint64_t count = (perChannel + m - 1) / m;
        if (count > UINT32_MAX)
            return ABF_EINVALIDFILE;
        file->episodeCount = uint32_t(count);
        const uint64_t rest = perChannel % m;
        file->lastEpisodeSamples = uint32_t(n * (rest ? rest : m));
    }
    h->episodeCount = int32_t(file->episodeCount);
    return 0;
}

// Reads the file's synch array of an episodic (or event) recording into the
// virtual one. Event entries must start in order; an entry reaching past the
// next one's start marks the file as overlapped.
int CopyEpisodicSynch(AbfFile* file, const AbfHeader& h) {
    const uint64_t perEpisode = uint64_t(h.samplesPerEpisode);
    FileSynchReader reader(*file, h);
    const bool episodic = h.operationMode == ABF_MODE_EPISODIC;
    uint32_t start, length;
    if (!reader.Get(0, &start, &length))
        return ABF_EBADSYNCH;
    uint64_t remaining = uint64_t(h.acquiredSampleCount), offset = 0;
    for (uint32_t i = 1; i < reader.Count(); ++i) {
        uint32_t next, nextLength;
        if (length > remaining || !reader.Get(i, &next, &nextLength))
            return ABF_EBADSYNCH;
        if (!episodic && start != ABF_NOSTART) {
            if (int32_t(start) < 0)
                return ABF_EBADSYNCH;
            if (int32_t(next) >= 0) {
                if (next <= start)
                    return ABF_EBADSYNCH;
                if (uint64_t(start) + length > next)
                    file->overlapped = true;
            }
        }
        if (int rc = AddEpisode(file, file->synch.get(), start, length, offset, perEpisode))
            return rc;
        remaining -= length;
        offset += length * uint64_t{file->sampleSize};
        start = next;
        length = nextLength;
    }
    if (length > remaining)
        return ABF_EBADSYNCH;
    if (int rc = AddEpisode(file, file->synch.get(), start, length, offset, perEpisode))
        return rc;
    file->episodeCount = file->synch->Count();
    return 0;
}

// Overlapping fixed-length events: each is cut where the next one starts,
// or, with `keepFull`, read at its full length.
int TrimOverlappingEvents(AbfFile* file, uint64_t perEpisode, bool keepFull) {
    std::unique_ptr<SynchArray> rebuilt = NewSynchArray();
    if (!rebuilt)
        return ABF_EBADTEMPFILE;
    for (uint32_t k = 0; k < file->episodeCount; ++k) {
        SynchEntry entry, successor;
        if (!file->synch->Get(k, &entry))
            return ABF_EBADSYNCH;
        uint64_t newLength = entry.length;
        if (keepFull) {
            newLength = perEpisode;
        } else if (k + 1 < file->episodeCount) {
            if (!file->synch->Get(k + 1, &successor))
                return ABF_EBADSYNCH;
            if (entry.start != ABF_NOSTART && successor.start != ABF_NOSTART &&
                successor.start < uint64_t(entry.start) + entry.length)
                newLength = successor.start - entry.start;
        }
        if (int rc =
                AddEpisode(file, rebuilt.get(), entry.start, newLength, entry.offset, perEpisode))
            return rc;
    }
    file->synch = std::move(rebuilt);
    return 0;
}

int EpisodicSetUp(AbfFile* file, AbfHeader* h, int flags) {
    const uint64_t perEpisode = uint64_t(h->samplesPerEpisode);
    if (!HasSynchArray(*h)) {
        if (h->operationMode != ABF_MODE_EPISODIC)
            return ABF_ENOSYNCHPRESENT;
        if (h->episodeCount < 0)
            return ABF_EINVALIDFILE;
        if (uint64_t(h->episodeCount) * perEpisode * file->sampleSize > file->DataBytesAvailable())
            return ABF_EREADDATA;
        file->episodeCount = uint32_t(h->episodeCount);
        return 0;
    }
    if (int rc = CopyEpisodicSynch(file, *h))
        return rc;
    if (h->operationMode == ABF_MODE_FIXLENEVENTS && file->overlapped)
        return TrimOverlappingEvents(file, perEpisode, (flags & ABF_OPEN_KEEP_OVERLAP) != 0);
    return 0;
}

int OldFormatSetUp(AbfFile* file, AbfHeader* h) {
    const uint64_t perEpisode = uint64_t(h->samplesPerEpisode);
    if (!HasSynchArray(*h)) {
        if (h->operationMode != ABF_MODE_EPISODIC)
            return ABF_ENOSYNCHPRESENT;
        uint64_t count = uint64_t(h->acquiredSampleCount) / perEpisode;
        if (count * perEpisode * file->sampleSize > file->DataBytesAvailable())
            return ABF_EREADDATA;
        file->episodeCount = uint32_t(count);
        return 0;
    }

    const uint32_t entries = uint32_t(h->synchEntryCount);
    std::vector<int16_t> raw(size_t(entries) * 2);
    if (!AbfReadAt(file->fd, uint64_t(h->synchFirstBlock) * ABF_BLOCKSIZE, raw.data(),
                   raw.size() * 2))
        return ABF_EREADSYNCH;
    const uint64_t limit = file->fileSize > 1024 ? file->fileSize - 1024 : 0;
    uint64_t running = 0;
    uint32_t kept = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        const int64_t e = raw[2 * i], b = raw[2 * i + 1];
        if (b < 0)
            continue;
        uint64_t offset = uint64_t(kept) * perEpisode * 2;
        int64_t start;
        uint64_t length;
        if (e != 0) {
            start = (e - 1) * int64_t(perEpisode) + b / 2;
            if (start < 0)
                start = 0;
            length = perEpisode;
        } else {
            if (uint64_t(b) > perEpisode * 2)
                return ABF_EBADSYNCH; // would place the episode before its slot
            offset += perEpisode * 2 - uint64_t(b);
            start = 0;
            length = uint64_t(b) / 2;
        }
        const uint64_t written = running + uint64_t(start);
        running = written + length;
        if (file->dataStart + offset + length * 2 > limit)
            return ABF_EBADSYNCH;
        if (int rc =
                AddEpisode(file, file->synch.get(), uint32_t(written), length, offset, perEpisode))
            return rc;
        ++kept;
    }
    file->episodeCount = kept;
    return 0;
}

// Every loader allocates episodes x samples per episode; a synch array of many
// empty or short entries must not make that exceed what the file holds by more
// than this (samples of all channels: 64 MB of floats).
constexpr uint64_t kPaddingAllowance = uint64_t(1) << 24;

int CheckPaddedSize(const AbfFile& file, const AbfHeader& h) {
    const uint64_t padded = uint64_t(file.episodeCount) * uint64_t(uint32_t(h.samplesPerEpisode));
    const uint64_t backed = file.DataBytesAvailable() / file.sampleSize;
    if (padded <= backed + kPaddingAllowance)
        return 0;
    return file.synch->Empty() ? ABF_EREADDATA : ABF_EBADSYNCH;
}

} // namespace

int AbfSetUpEpisodes(AbfFile* file, AbfHeader* h, uint32_t* samplesPerChannel, int flags) {
    // Gap-free data of any kind, and variable-length events of an ABF file,
    // are read as one continuous run split into episodes.
    const bool continuous =
        h->operationMode == ABF_MODE_GAPFREE ||
        (h->fileKind == ABF_KIND_ABF && h->operationMode == ABF_MODE_VARLENEVENTS);
    int rc;
    if (continuous)
        rc = ContinuousSetUp(file, h, samplesPerChannel);
    else if (h->fileKind != ABF_KIND_ABF)
        rc = OldFormatSetUp(file, h);
    else
        rc = EpisodicSetUp(file, h, flags);
    if (rc == 0)
        rc = CheckPaddedSize(*file, *h);
    if (rc == 0)
        h->episodeCount = int32_t(file->episodeCount);
    file->hasSynchArray = !file->synch->Empty();
    file->cachedEpisode = -1;
    file->cachedLength = 0;
    return rc;
}
