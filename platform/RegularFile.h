// Reading a small file (a profile, a settings file, a value file) that must be
// a regular file: opened without blocking, so a FIFO or a device at the path
// can never hang the program, and checked on the opened descriptor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
