// Opening a file that must be a regular file (a recording, a profile, a value
// file): opened without blocking, so a FIFO or a device at the path can never
// hang the program, and checked on the opened descriptor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Opens the regular file at `path` read-only (close-on-exec) and gives its size
// in bytes. Returns the descriptor, or -1 with `error` set to the system's
// error number, or to 0 when something other than a regular file is there.
int OpenRegularFile(const char* path, uint64_t& size, int& error);

enum class RegularFileRead {
    Read,       // `contents` holds the whole file
    Missing,    // nothing at the path
    NotRegular, // a folder, FIFO, device or socket
    Failed      // it could not be opened or read; `reason` says why
};

// Reads the file at `path` into `contents`, at most `limit` bytes of it;
// `reason` gets the system's text on failure ("Permission denied", "not a
// regular file", ...).
RegularFileRead ReadRegularFile(const std::string& path, std::string& contents, std::string& reason,
                                size_t limit = SIZE_MAX);
