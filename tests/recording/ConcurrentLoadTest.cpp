// Loading recordings on several threads at once, as the command line's
// parallel jobs do: every load succeeds and no load closes another's file.
#include "abf/Abf.h"
#include "recording/CAbfRecording.h"
#include "recording/TraceStore.h"
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(ConcurrentLoad, ARecordingClosesOnlyItsOwnFile) {
    TempDir dir;
    const std::string first = dir.file("first.abf"), second = dir.file("second.abf");
    model::WriteModelRecording(first, {{5.0, 20000.0}, {6.0, 20000.0}});
    model::WriteModelRecording(second, {{5.0, 20000.0}, {6.0, 20000.0}});
    int handle = -1, error = 0;
    AbfHeader header{};
    ASSERT_TRUE(AbfOpenForReading(first.c_str(), &handle, 0, &header, nullptr, nullptr, &error));
    {
        CAbfRecording recording;
        ASSERT_TRUE(recording.Open(second));
    }
    EXPECT_TRUE(AbfCloseFile(handle, &error)) << "closed by another recording";
}

TEST(ConcurrentLoad, EveryLoadOnFourThreadsSucceeds) {
    TempDir dir;
    std::vector<std::string> files;
    for (int f = 0; f < 4; ++f) {
        files.push_back(dir.file(NumberedName("r", f, ".abf")));
        model::WriteModelRecording(files.back(), std::vector<model::Cell>(3 + f, {5.0, 20000.0}));
    }
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    threads.reserve(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int k = 0; k < 25; ++k) {
                TraceStore store;
                const size_t f = static_cast<size_t>(t + k) % files.size();
                if (!TraceStore::LoadInto(store, files[f]) || store.traces.size() != 3 + f)
                    ++failures;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
}

} // namespace
