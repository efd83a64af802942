// Replays the profile fuzz target's seeds and every input it found a fault
// with through the same checks.
#include "fuzz/ProfileChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

TEST(ProfileFuzzReplay, SeedsAndFoundFaults) {
    int replayed = 0;
    for (const char* folder : {TESSARAN_SOURCE_DIR "/fuzz/corpus-profile",
                               TESSARAN_SOURCE_DIR "/tests/data/fuzz-regressions/profile"}) {
        ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().extension() == ".md")
                continue;
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), {});
            CheckProfileText(bytes);
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 4);
}

} // namespace
