// Replays the fuzz seeds and every input the fuzzer found a fault with.
#include "fuzz/ReadEverything.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(FuzzReplay, SeedsAndFoundFaults) {
    const std::filesystem::path seeds = TESSARAN_SOURCE_DIR "/fuzz/corpus";
    for (const std::filesystem::path& folder :
         {seeds, std::filesystem::path(TESSARAN_SOURCE_DIR "/tests/data/fuzz-regressions")}) {
        ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().extension() == ".md")
                continue;
            SCOPED_TRACE(entry.path().string());
            for (int flags : {0, ABF_OPEN_KEEP_OVERLAP})
                for (uint32_t requested : {0u, 1u, 100000u})
                    ReadEverything(entry.path().c_str(), flags, requested);
        }
    }
    // Every file was closed again: all 64 slots are free.
    int handle = -1;
    AbfHeader header;
    uint32_t samples = 0, episodes = 0;
    auto seed = *std::filesystem::directory_iterator(seeds);
    ASSERT_TRUE(
        AbfOpenForReading(seed.path().c_str(), &handle, 0, &header, &samples, &episodes, nullptr));
    EXPECT_EQ(handle, 0);
    AbfCloseAllFiles();
}

} // namespace
