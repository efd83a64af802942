#include "recording/CAbfRecording.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ComposeReaderErrorText, FillsTheFileNameIntoTheReadersText) {
    EXPECT_EQ(ComposeReaderErrorText(1004, "a.abf"), "Cannot open file 'a.abf'.");
    EXPECT_EQ(ComposeReaderErrorText(1020, "a.abf"), "INTERNAL ERROR: No waveform defined.");
    EXPECT_EQ(ComposeReaderErrorText(2003, "a.abf"), "Not a valid ABF file.");
}

TEST(ComposeReaderErrorText, CutsLongTextsAt79Characters) {
    const std::string name(100, 'x');
    const std::string full = "File '" + name + "' is of unknown file type.";
    const std::string text = ComposeReaderErrorText(1001, name);
    EXPECT_EQ(text.size(), 79u);
    EXPECT_EQ(text, full.substr(0, 79));
    EXPECT_EQ(ComposeReaderErrorText(1004, std::string(73, 'y')),
              "Cannot open file '" + std::string(61, 'y')); // 18 + 61 = 79
}

TEST(ComposeReaderErrorText, NumbersWithoutATextGetTheUnknownErrorText) {
    for (int error : {1007, 1024, 3000, 0, -1}) {
        EXPECT_EQ(ComposeReaderErrorText(error, "/data/cell 3.abf"),
                  "An unknown Error seems to have occurred within /data/cell 3.abf.")
            << error;
    }
    // The unknown-error text names the whole file, however long.
    const std::string name(120, 'z');
    EXPECT_EQ(ComposeReaderErrorText(3000, name).size(),
              std::string("An unknown Error seems to have occurred within .").size() + 120);
}

TEST(CAbfRecording, ReadsNothingBeforeAFileIsOpen) {
    CAbfRecording recording;
    std::vector<SharedFloatArray> traces;
    EXPECT_FALSE(recording.ReadAllTraces(traces, 1));
    EXPECT_EQ(recording.ErrorText(), "No ABF file has been specified.");
    EXPECT_FALSE(recording.IsInvalidChannelError());
    EXPECT_FALSE(recording.IsOpen());
}

} // namespace
