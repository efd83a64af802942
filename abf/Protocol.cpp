#include "abf/Protocol.h"

#include "abf/AbfInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kListPostTrainDuration = 5;
constexpr int kListPostTrainLevel = 6;
constexpr int kListEpochLevel = 21;    // + epoch
constexpr int kListEpochDuration = 31; // + epoch

bool ListVaries(const AbfHeader& h, int code) {
    return h.userListEnable != 0 && h.userListParameter == code;
}

double ListFloat(const AbfHeader& h, uint32_t episode) {
    char item[sizeof h.userList + 1];
    AbfUserListItem(h, episode, item, sizeof item);
    return std::strtod(item, nullptr);
}

int64_t ListInteger(const AbfHeader& h, uint32_t episode) {
    char item[sizeof h.userList + 1];
    AbfUserListItem(h, episode, item, sizeof item);
    return std::strtoll(item, nullptr, 10);
}

} // namespace

const char* AbfUserListItem(const AbfHeader& h, uint32_t episode, char* item, size_t size) {
    const char* list = h.userList;
    const size_t length = strnlen(list, sizeof h.userList);
    // Item boundaries: walk to the `episode`-th item, stopping at the last.
    size_t begin = 0, end = 0;
    uint32_t index = 1;
    for (;;) {
        end = begin;
        while (end < length && list[end] != ',')
            ++end;
        if (index >= episode || end >= length)
            break;
        begin = end + 1;
        ++index;
    }
    size_t n = end > begin ? end - begin : 0;
    if (n > size - 1)
        n = size - 1;
    std::memcpy(item, list + begin, n);
    item[n] = '\0';
    return item;
}

double AbfEpochLevel(const AbfHeader& h, int epoch, uint32_t episode) {
    if (ListVaries(h, kListEpochLevel + epoch))
        return ListFloat(h, episode);
    const long double steps = static_cast<long double>(int64_t(episode) - 1);
    return static_cast<double>(static_cast<long double>(h.epochInitialLevel[epoch]) +
                               steps * static_cast<long double>(h.epochLevelIncrement[epoch]));
}

int64_t AbfEpochDuration(const AbfHeader& h, int epoch, uint32_t episode) {
    if (ListVaries(h, kListEpochDuration + epoch))
        return ListInteger(h, episode);
    return int64_t(h.epochInitialDuration[epoch]) +
           (int64_t(episode) - 1) * int64_t(h.epochDurationIncrement[epoch]);
}

double AbfPostTrainDuration(const AbfHeader& h, uint32_t episode) {
    return ListVaries(h, kListPostTrainDuration) ? ListFloat(h, episode)
                                                 : double(h.conditioningPostTrainDuration);
}

double AbfPostTrainLevel(const AbfHeader& h, uint32_t episode) {
    return ListVaries(h, kListPostTrainLevel) ? ListFloat(h, episode)
                                              : double(h.conditioningPostTrainLevel);
}

double AbfStartingLevel(const AbfHeader& h, uint32_t episode) {
    const double hold = h.dacHoldingLevel[h.activeDacChannel];
    if (h.conditioningEnable && h.conditioningChannel == h.activeDacChannel)
        return AbfPostTrainDuration(h, episode) > 0 ? AbfPostTrainLevel(h, episode) : hold;
    if (h.interEpisodeLevel != 0 && episode >= 2)
        for (int e = int(ABF_MAXEPOCHS) - 1; e >= 0; --e)
            if (h.epochType[e] != 0)
                return AbfEpochLevel(h, e, episode - 1);
    return hold;
}

uint64_t AbfFirstHoldingSamples(const AbfHeader& h, int16_t fileKind) {
    const uint64_t total = h.samplesPerEpisode > 0 ? uint64_t(h.samplesPerEpisode) : 0;
    const uint64_t n = h.channelCount > 0 ? uint64_t(h.channelCount) : 1;
    if (h.waveformSource == 0 && h.digitalOutputsEnabled == 0)
        return 0;
    if (fileKind == ABF_KIND_OLD1)
        return total / 512 * 6;
    return std::max(total / 64 - (total / 64) % n, n);
}
