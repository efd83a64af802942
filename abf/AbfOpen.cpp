// The table of open files, opening and closing.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::unique_ptr<AbfFile> g_files[ABF_MAXFILES];

int LowestFreeSlot() {
    for (int i = 0; i < ABF_MAXFILES; ++i)
        if (!g_files[i])
            return i;
    return -1;
}

// Everything of opening after the slot is taken. Returns 0 or an error number.
int OpenInto(AbfFile* file, const char* fileName, int flags, AbfHeader* header,
             uint32_t* samplesPerChannel, uint32_t* episodeCount) {
    if (!fileName)
        return ABF_EOPENFILE;
    // O_NONBLOCK: a FIFO (or a device) at the path must not block the open;
    // it is refused below, on the opened descriptor, as is anything but a
    // regular file.
    file->fd = open(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file->fd < 0)
        return errno == EMFILE || errno == ENFILE ? ABF_ENOFILEHANDLES : ABF_EOPENFILE;
    struct stat info;
    if (fstat(file->fd, &info) != 0 || !S_ISREG(info.st_mode))
        return ABF_EOPENFILE;
    file->name = fileName;
    file->fileSize = uint64_t(info.st_size);

    file->synch = std::make_unique<SynchArray>();
    if (!file->synch->Create())
        return ABF_EBADTEMPFILE;

    AbfHeader h;
    if (int rc = AbfReadHeader(file, &h))
        return rc == ABF_HEUNKNOWNFILETYPE ? ABF_EUNKNOWNFILETYPE : ABF_EINVALIDFILE;
    file->header = h;

    if (flags & ABF_OPEN_HEADER_ONLY) {
        if (header)
            *header = h;
        return 0;
    }

    if (h.acquiredSampleCount < 1 || h.channelCount < 1)
        return ABF_EINVALIDFILE;
    if (int rc = AbfValidateLayout(h, file->fileSize))
        return rc;
    if (int rc = AbfValidateScaling(h))
        return rc;
    file->channels = uint32_t(h.channelCount);
    file->sampleSize = AbfSampleSize(h);
    file->dataStart = AbfDataStart(h);
    file->samplesPerEpisode = uint32_t(h.samplesPerEpisode);

    uint32_t perChannel = samplesPerChannel ? *samplesPerChannel : 0;
    if (int rc = AbfSetUpEpisodes(file, &h, &perChannel, flags))
        return rc;

    file->samplesPerEpisode = uint32_t(h.samplesPerEpisode);
    file->acquiredSamples = uint32_t(h.acquiredSampleCount);
    file->header = h;
    if (samplesPerChannel)
        *samplesPerChannel = file->samplesPerEpisode / file->channels;
    if (episodeCount)
        *episodeCount = file->episodeCount;
    if (header)
        *header = h;
    return 0;
}

} // namespace

AbfFile::~AbfFile() {
    if (fd >= 0)
        close(fd);
}

AbfFile* AbfGetOpenFile(int handle, int* error) {
    if (handle < 0 || handle >= ABF_MAXFILES || !g_files[handle]) {
        AbfFail(error, ABF_EBADFILEINDEX);
        return nullptr;
    }
    return g_files[handle].get();
}

bool AbfOpenForReading(const char* fileName, int* handle, int flags, AbfHeader* header,
                       uint32_t* samplesPerChannel, uint32_t* episodeCount, int* error) {
    if (handle)
        *handle = -1;
    if (!handle)
        return AbfFail(error, ABF_EBADFILEINDEX);
    const int slot = LowestFreeSlot();
    if (slot < 0)
        return AbfFail(error, ABF_ETOOMANYFILESOPEN);
    int rc;
    try {
        g_files[slot] = std::make_unique<AbfFile>();
        rc =
            OpenInto(g_files[slot].get(), fileName, flags, header, samplesPerChannel, episodeCount);
    } catch (const std::bad_alloc&) {
        rc = ABF_EOUTOFMEMORY;
    } catch (...) {
        rc = ABF_EINVALIDFILE;
    }
    if (rc != 0) {
        g_files[slot].reset();
        return AbfFail(error, rc);
    }
    *handle = slot;
    return true;
}

bool AbfCloseFile(int handle, int* error) {
    if (!AbfGetOpenFile(handle, error))
        return false;
    g_files[handle].reset();
    return true;
}

void AbfCloseAllFiles() {
    for (auto& file : g_files)
        file.reset();
}
