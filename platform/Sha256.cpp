#include "platform/Sha256.h"

#include "platform/RegularFile.h"

#include <openssl/evp.h>

#include <cerrno>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

// libcrypto's digest uses the processor's SHA instructions where it has them:
// a long recording hashes in a fraction of the time its load takes.
using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

bool HashAll(int fd, EVP_MD_CTX* context, uint64_t& size) {
    std::vector<unsigned char> buffer(1 << 16);
    size = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (EVP_DigestUpdate(context, buffer.data(), static_cast<size_t>(got)) != 1)
            return false;
        size += static_cast<uint64_t>(got);
    }
}

} // namespace

bool FileSha256(const std::string& path, std::string& hexDigest, uint64_t& size) {
    // Only a regular file is read: a FIFO or a device would block or never end.
    int error = 0;
    uint64_t expected = 0;
    const int fd = OpenRegularFile(path.c_str(), expected, error);
    if (fd < 0)
        return false;
    DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool hashed = context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) == 1 &&
                        HashAll(fd, context.get(), size) &&
                        EVP_DigestFinal_ex(context.get(), digest, &length) == 1;
    ::close(fd);
    if (!hashed)
        return false;
    static constexpr char kHex[] = "0123456789abcdef";
    hexDigest.clear();
    for (unsigned int i = 0; i < length; ++i) {
        hexDigest += kHex[digest[i] >> 4];
        hexDigest += kHex[digest[i] & 15];
    }
    return true;
}
