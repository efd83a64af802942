// SHA-256 of a file, for telling recordings apart in a results workbook.
#pragma once

#include <cstdint>
#include <string>

// The SHA-256 digest of the bytes of `path` as 64 lower-case hexadecimal
// digits, and the file's size in bytes; false when the file cannot be read.
bool FileSha256(const std::string& path, std::string& hexDigest, uint64_t& size);
