// How loading a recording (or one step of it) ended: loaded, or what failed and
// why. The loader returns it; the window shows ToNotice() as a message box and
// the command line prints it.
#pragma once

#include "platform/Notice.h"

#include <cstddef>
#include <string>

// The message box shows at most this many characters of the reader's text.
inline constexpr size_t kShownReaderTextLength = 79;

struct LoadResult {
    enum class Failure {
        None,         // loaded
        Reader,       // the reader failed on fileName with readerError
        OtherProtocol // a further file's traces differ in length from the loaded ones
    };

    Failure failure = Failure::None;
    int readerError = 0;  // the reader's error number (Failure::Reader)
    std::string fileName; // the file the reader failed on

    // True when loaded.
    explicit operator bool() const { return failure == Failure::None; }

    // The reader's failure `error` on file `fileName`.
    static LoadResult FromReader(int error, const std::string& fileName);

    // The reader's text for the failure, whole (what the command line prints).
    std::string ReaderText() const;

    // What the user is told: "Error Reading Axon Data" with the reader's text,
    // or "Error: Add Data Failed" for another protocol. Only for a failure.
    Notice ToNotice() const;
};

// The one text of reader error `error` on file `name`: the reader's text cut at
// `maxLength` characters (79 in the message box; std::string::npos for the
// whole text), or "An unknown Error seems to have occurred within <name>."
// (never cut) when the reader assigns no text to the number.
std::string ComposeReaderErrorText(int error, const std::string& name,
                                   size_t maxLength = kShownReaderTextLength);
