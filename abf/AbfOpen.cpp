// The table of open files, opening and closing.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"
#include "platform/RegularFile.h"

#include <cerrno>
#include <mutex>
#include <new>
#include <unistd.h>

namespace {

std::unique_ptr<AbfFile> g_files[ABF_MAXFILES];
// Taking and freeing slots is guarded so that several threads can each open,
// read and close their own files (the command line analyses files in
// parallel); a slot's file is only ever used by the thread that opened it.
std::mutex g_slotsMutex;

// Takes the lowest free slot for a new, empty file; -1 when every slot is taken.
int TakeSlot() {
    std::lock_guard<std::mutex> lock(g_slotsMutex);
    for (int i = 0; i < ABF_MAXFILES; ++i) {
        if (!g_files[i]) {
            g_files[i] = std::make_unique<AbfFile>();
            return i;
        }
    }
    return -1;
}

void FreeSlot(int slot) {
    std::unique_ptr<AbfFile> file;
    {
        std::lock_guard<std::mutex> lock(g_slotsMutex);
        file = std::move(g_files[slot]);
    }
}

// Everything of opening after the slot is taken. Returns 0 or an error number.
int OpenInto(AbfFile* file, const char* fileName, int flags, AbfHeader* header,
             uint32_t* samplesPerChannel, uint32_t* episodeCount) {
    if (!fileName)
        return ABF_EOPENFILE;
    // Only a regular file: a FIFO (or a device) at the path neither blocks
    // the open nor is read.
    uint64_t size = 0;
    int error = 0;
    file->fd = OpenRegularFile(fileName, size, error);
    if (file->fd < 0)
        return error == EMFILE || error == ENFILE ? ABF_ENOFILEHANDLES : ABF_EOPENFILE;
    file->name = fileName;
    file->fileSize = size;

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
    AbfFile* file = nullptr;
    if (handle >= 0 && handle < ABF_MAXFILES) {
        std::lock_guard<std::mutex> lock(g_slotsMutex);
        file = g_files[handle].get();
    }
    if (!file)
        AbfFail(error, ABF_EBADFILEINDEX);
    return file;
}

bool AbfOpenForReading(const char* fileName, int* handle, int flags, AbfHeader* header,
                       uint32_t* samplesPerChannel, uint32_t* episodeCount, int* error) {
    if (handle)
        *handle = -1;
    if (!handle)
        return AbfFail(error, ABF_EBADFILEINDEX);
    int slot = -1;
    try {
        slot = TakeSlot();
    } catch (const std::bad_alloc&) {
        return AbfFail(error, ABF_EOUTOFMEMORY);
    }
    if (slot < 0)
        return AbfFail(error, ABF_ETOOMANYFILESOPEN);
    AbfFile* file = AbfGetOpenFile(slot, nullptr);
    int rc;
    try {
        rc = OpenInto(file, fileName, flags, header, samplesPerChannel, episodeCount);
    } catch (const std::bad_alloc&) {
        rc = ABF_EOUTOFMEMORY;
    } catch (...) {
        rc = ABF_EINVALIDFILE;
    }
    if (rc != 0) {
        FreeSlot(slot);
        return AbfFail(error, rc);
    }
    *handle = slot;
    return true;
}

bool AbfCloseFile(int handle, int* error) {
    if (!AbfGetOpenFile(handle, error))
        return false;
    FreeSlot(handle);
    return true;
}

void AbfCloseAllFiles() {
    for (int slot = 0; slot < ABF_MAXFILES; ++slot)
        FreeSlot(slot);
}
