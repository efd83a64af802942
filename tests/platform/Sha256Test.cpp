// The file digest of the details sheet against the standard's test vectors,
// across the block boundaries and the buffer size of the reading loop.
#include "platform/Sha256.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

TEST(Sha256, DigestsOfKnownContentsAndNoneForWhatIsNoRegularFile) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}};
    TempDir dir;
    for (const auto& [contents, digest] : cases) {
        std::ofstream(dir.file("f"), std::ios::binary | std::ios::trunc) << contents;
        std::string hex;
        uint64_t size = 0;
        ASSERT_TRUE(FileSha256(dir.file("f"), hex, size));
        EXPECT_EQ(hex, digest) << contents.size();
        EXPECT_EQ(size, contents.size());
    }
    std::string hex;
    uint64_t size = 0;
    EXPECT_FALSE(FileSha256(dir.file("missing"), hex, size));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(FileSha256(dir.file("fifo"), hex, size)) << "never blocks on a FIFO";
}
