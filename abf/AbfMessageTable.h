// The reader's message table: every error number with its text, plus a few
// texts that are not errors. Searched from the first entry to the last.
#pragma once

#include <cstddef>
#include <cstdint>

struct AbfMessage {
    int32_t id;
    const char* text;
};

extern const AbfMessage kAbfMessages[];
extern const size_t kAbfMessageCount;

// The entry for `id`, or null when the table has none.
const AbfMessage* AbfFindMessage(int32_t id);
