// Bringing headers written by versions before 1.5 up to the 1.5 layout.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"

#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

// Stimulus files are opened from inside an upgrade; a file naming itself (or
// two files naming each other) must not recurse without end. Per thread, as
// files may be opened on several threads at once.
thread_local int g_upgradeDepth = 0;

std::string FieldText(const char* field, size_t width) {
    size_t n = 0;
    while (n < width && field[n] != '\0')
        ++n;
    while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == '\t'))
        --n;
    return std::string(field, n);
}

// The stimulus file path with ".DAT" added when it has no extension, written
// back into the header when it fits. Returns the candidates to open: the path
// itself (relative paths taken from the recording's folder) and the bare file
// name in the recording's folder, since the stored path may be a Windows one.
std::vector<std::string> CompleteStimulusPath(AbfHeader* h, const std::string& recording) {
    std::string path = FieldText(h->stimulusFilePath, sizeof h->stimulusFilePath);
    if (path.empty())
        return {};
    size_t nameStart = path.find_last_of("/\\:");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    if (path.find('.', nameStart) == std::string::npos)
        path += ".DAT";
    if (path.size() < sizeof h->stimulusFilePath) {
        std::memset(h->stimulusFilePath, 0, sizeof h->stimulusFilePath);
        std::memcpy(h->stimulusFilePath, path.data(), path.size());
    }
    std::filesystem::path folder = std::filesystem::path(recording).parent_path();
    std::vector<std::string> candidates;
    std::filesystem::path asGiven(path);
    candidates.push_back(asGiven.is_absolute() ? path : (folder / asGiven).string());
    candidates.push_back((folder / path.substr(nameStart)).string());
    return candidates;
}

void RescaleStimulus(AbfHeader* h, const std::string& recording) {
    std::vector<std::string> candidates = CompleteStimulusPath(h, recording);
    if (g_upgradeDepth > 0)
        return;
    float k = 0;
    if (!AbfDacFactor(*h, &k))
        return;
    for (const std::string& candidate : candidates) {
        int handle = -1;
        AbfHeader stimulus;
        uint32_t samples = 0, episodes = 0;
        ++g_upgradeDepth;
        bool opened = AbfOpenForReading(candidate.c_str(), &handle, 0, &stimulus, &samples,
                                        &episodes, nullptr);
        --g_upgradeDepth;
        if (!opened)
            continue;
        uint32_t position;
        float g = 0, o = 0;
        int channel = h->stimulusFileAdcChannel;
        if (AbfChannelPosition(stimulus, channel, &position) &&
            AbfAdcScaling(stimulus, channel, &g, &o) && g != 0 && std::isfinite(g)) {
            float scale = k * h->stimulusFileScale / g;
            h->stimulusFileOffset = k * h->stimulusFileOffset - scale * o;
            h->stimulusFileScale = scale;
        }
        AbfCloseFile(handle, nullptr);
        return;
    }
}

} // namespace

void AbfUpgradeHeader(AbfHeader* h, float version, const std::string& fileName) {
    h->upgradeFlags1968[0] = 0;
    h->upgradeFlags1968[1] = 0;
    for (int i = 2; i < 6; ++i)
        h->upgradeFlags1968[i] = 1;

    if (version < 1.4f && std::strncmp(h->creatorName, "AXENGN", 6) == 0) {
        AbfOemToAnsi(h->fileComment, sizeof h->fileComment);
        for (auto& name : h->adcChannelName)
            AbfOemToAnsi(name, sizeof name);
        for (auto& units : h->adcUnits)
            AbfOemToAnsi(units, sizeof units);
        for (auto& name : h->dacChannelName)
            AbfOemToAnsi(name, sizeof name);
        for (auto& units : h->dacUnits)
            AbfOemToAnsi(units, sizeof units);
        AbfOemToAnsi(h->mathUnits, sizeof h->mathUnits);
    }

    if (version >= 1.4f) {
        h->upgradeTwo2032 = 2;
        return;
    }

    if (h->operationMode == ABF_MODE_GAPFREE && h->upgradeValue168 > 0)
        h->upgradeValue168 = 0;
    h->upgradeSeconds234 =
        static_cast<float>(h->legacySampleCount214) * h->firstSampleInterval * 1e-6f;
    for (size_t i = 0; i < ABF_MAXCHANNELS; ++i) {
        if (h->channelSetting1178[i] != 100000.0f)
            h->channelSet1178[i] = 1;
        if (h->channelSetting1242[i] != 0.0f)
            h->channelSet1242[i] = 1;
    }
    if (h->operationMode == ABF_MODE_EPISODIC && h->upgradeSelector170 == 2) {
        h->oneOfMinus2028 = h->upgradeValue168 == -2 ? -2 : h->upgradeValue168 == -1 ? -3 : -1;
        h->upgradeValue168 = 0;
        h->upgradeSelector170 = 0;
    }
    if (h->operationMode == ABF_MODE_EPISODIC && h->waveformSource == 2)
        RescaleStimulus(h, fileName);
    h->upgradeFive238 = 5;
    h->upgradeThree1876 = 3;
    h->upgradeTwo2032 = 2;
}
