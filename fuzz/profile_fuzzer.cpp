// Fuzz target: any byte sequence read as a profile or settings file, and as
// the text of a list entry field.
#include "fuzz/ProfileChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckProfileText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
