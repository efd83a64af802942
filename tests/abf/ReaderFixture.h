// Shared set-up of the reader tests: recordings written by the test writer
// into a temporary folder and opened through the reader.
#pragma once

#include "abf/Abf.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

class ReaderTest : public ::testing::Test {
protected:
    void TearDown() override { AbfCloseAllFiles(); }

    std::string WriteBytes(const std::vector<uint8_t>& bytes, const std::string& name = "raw.abf") {
        std::string path = dir.file(name);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }

    // Opens `path`; returns the error number (0 on success).
    int Open(const std::string& path, int flags = 0, uint32_t requested = 0) {
        samples = requested;
        int error = 0;
        return AbfOpenForReading(path.c_str(), &handle, flags, &header, &samples, &episodes, &error)
                   ? 0
                   : error;
    }
    // Closes every open file, writes `writer`'s recording to rec.abf and opens it.
    int Open(const AbfTestWriter& writer, int flags = 0, uint32_t requested = 0) {
        AbfCloseAllFiles();
        writer.Write(dir.file("rec.abf"));
        return Open(dir.file("rec.abf"), flags, requested);
    }

    // Reads `channel` of `episode`; returns the error number (0 on success).
    int Read(int channel, uint32_t episode, std::vector<float>* values, uint32_t* count = nullptr) {
        values->assign(samples, -12345.0f);
        int error = 0;
        return AbfReadEpisodeChannel(handle, &header, channel, episode, values->data(), count,
                                     &error)
                   ? 0
                   : error;
    }

    int Command(int channel, uint32_t episode, std::vector<float>* values) {
        values->assign(samples, -12345.0f);
        int error = 0;
        return AbfGetCommandWaveform(handle, &header, channel, episode, values->data(), &error)
                   ? 0
                   : error;
    }

    TempDir dir;
    int handle = -1;
    AbfHeader header{};
    uint32_t samples = 0;
    uint32_t episodes = 0;
};
