// Writes the seed corpus of the reader's fuzz target: one small recording of
// each kind the reader knows. Usage: make_fuzz_corpus FOLDER
#include "tests/support/AbfTestWriter.h"

#include <cmath>
#include <cstdio>
#include <string>

using namespace AbfOffset;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_corpus FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto small = [] {
        AbfTestWriter w;
        w.SetSamplesPerChannel(64).SetEpisodes(3).SetSignal(
            [](uint32_t e, int c, uint32_t i) { return std::sin(i * 0.1) * e + c; });
        return w;
    };
    struct Seed {
        const char* name;
        AbfTestWriter writer;
    };
    Seed seeds[] = {
        {"episodic", small().SetEpoch(0, 1, -20, 10, 10, 2).SetEpoch(1, 2, 40, 0, 20, 0)},
        {"two-channels", small().SetChannels({0, 1}).SetEpoch(0, 2, 60, 0, 30, -4)},
        {"float", small().SetFloatSamples(true).SetChannels({2, 0, 1})},
        {"gapfree", small().SetGapFree(300, 3).SetChannels({0, 1})},
        {"gapfree-synch", small().SetGapFree(0).SetSynchArray({{0, 40}, {40, 30}, {500, 20}})},
        {"varlen-events", small().SetMode(1).SetSynchArray({{0, 30}, {100, 64}})},
        {"fixlen-overlap",
         small().SetMode(2).SetSynchArray({{0, 64}, {30, 64}, {200, 64}, {0xFFFFFFFFu, 64}})},
        {"episodic-synch", small().EnableSynchArray(10)},
        {"stimulus", small().SetChannels({0, 1}).SetStimulusSection(
                         [](uint32_t e, uint32_t i) { return double(e) * i; })},
        {"userlist", small()
                         .SetEpoch(0, 1, -20, 10, 10, 2)
                         .SetEpoch(2, 2, 0, 0, 10, 0)
                         .SetUserList(33, "5,10,x,-3")
                         .Set<int16_t>(kInterEpisodeLevel, 1)},
        {"conditioning", small()
                             .Set<int16_t>(kConditioningEnable, 1)
                             .Set<float>(kConditioningPostDuration, 5)
                             .Set<float>(kConditioningPostLevel, -50)
                             .Set<int16_t>(kLeakEnable, 1)
                             .Set<int16_t>(kLeakSubSweeps, 4)},
        {"math", small()
                     .SetChannels({0, 1})
                     .Set<int16_t>(kMathEnable, 1)
                     .Set<int16_t>(kMathChannelB, 1)
                     .SetText(kMathOperator, "*", 1)},
        {"v13-axengn", small()
                           .SetVersion(1.3f)
                           .SetText(kCreatorName, "AXENGN", 16)
                           .SetText(kAdcUnits,
                                    "\xE6"
                                    "A",
                                    8)
                           .Set<int16_t>(kUpgrade170, 2)},
        {"v13-stimulus", small().SetVersion(1.3f).SetStimulusSection(
                             [](uint32_t, uint32_t i) { return double(i); })},
        {"split-clock", small().SetSampleInterval(50, 100, 20)},
        {"old-kind2", small().SetOldFormat(2, 5.2f)},
        {"old-kind3-mbf", small().SetOldFormat(3, 4.5f, true)},
        {"old-kind3-synch",
         small().SetOldFormat(3, 5.1f).SetOldSynchArray({{1, 0}, {0, 40}, {2, -1}, {3, 8}})},
    };
    for (const Seed& seed : seeds)
        seed.writer.Write(folder + "/" + seed.name + ".abf");
    return 0;
}
