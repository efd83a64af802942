#include "recording/LoadResult.h"

#include "abf/Abf.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Room for the longest text of the reader's table beside the file name.
constexpr size_t kLongestTextWithoutName = 256;

constexpr char kLoadErrorIntro[] = "The Axon data file could not be read.\r\n";
constexpr char kLoadErrorCaption[] = "Error Reading Axon Data";
constexpr char kAddDataText[] =
    "This additional data was not recorded using the same protocol and cannot be added.";
constexpr char kAddDataCaption[] = "Error: Add Data Failed";

} // namespace

std::string ComposeReaderErrorText(int error, const std::string& name, size_t maxLength) {
    const size_t size = std::min(maxLength, name.size() + kLongestTextWithoutName) + 1;
    std::string buffer(size, '\0');
    if (!AbfFormatErrorText(error, name.c_str(), buffer.data(), static_cast<uint32_t>(size)))
        return "An unknown Error seems to have occurred within " + name + ".";
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

LoadResult LoadResult::FromReader(int error, const std::string& fileName) {
    return {Failure::Reader, error, fileName};
}

std::string LoadResult::ReaderText() const {
    return ComposeReaderErrorText(readerError, fileName, std::string::npos);
}

Notice LoadResult::ToNotice() const {
    if (failure == Failure::OtherProtocol)
        return {kAddDataText, kAddDataCaption, MessageIcon::Stop};
    return {kLoadErrorIntro + ComposeReaderErrorText(readerError, fileName), kLoadErrorCaption,
            MessageIcon::Exclamation};
}
