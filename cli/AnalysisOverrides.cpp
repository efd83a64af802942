#include "cli/AnalysisOverrides.h"

#include "recording/ChannelChoice.h"

namespace {

// Each option and its text; the text's lines are indented to the caller's column.
constexpr const char* kOptionsHelp[][2] = {
    {"--channel auto|N", "analyse analog-input channel N (0 to 15) of every recording; auto:\n"
                         "the first sampled channel whose unit is a current (fA, pA, nA, uA,\n"
                         "mA, A), else 1 when sampled, else 0. A recording that did not sample\n"
                         "channel N fails. Default: the profile's Current Channel\n"},
    {"--ramps protocol|settings",
     "protocol: every page with ramps takes them from each trace's own\n"
     "protocol (its ramp epochs numbered Ramp1/Ramp2 Protocol Ramp), so\n"
     "ramps that move from episode to episode are followed; settings: the\n"
     "sample numbers Ramp1/Ramp2 Start and End. Default: each page's\n"
     "Ramps From Protocol\n"},
};

} // namespace

bool TakeAnalysisOverride(const QStringList& arguments, qsizetype& i, AnalysisOverrides& overrides,
                          std::string& error) {
    const QString& option = arguments.at(i);
    const bool channel = option == "--channel";
    if (!channel && option != "--ramps")
        return false;
    const std::string value = ++i < arguments.size() ? arguments.at(i).toStdString() : "";
    int request = kAutoChannel;
    if (channel && ParseChannelRequest(value, request))
        overrides.channelRequest = request;
    else if (channel)
        error = "--channel needs auto or a channel number from 0 to 15";
    else if (value == "protocol" || value == "settings")
        overrides.rampsFromProtocol = value == "protocol";
    else
        error = "--ramps needs protocol or settings";
    return true;
}

void ApplyAnalysisOverrides(const AnalysisOverrides& overrides, AnalysisProfile& profile) {
    if (overrides.channelRequest)
        profile.channelRequest = *overrides.channelRequest;
    if (overrides.rampsFromProtocol)
        for (AnalysisPageSettings* page : profile.pages.All())
            if (page->hasRamps)
                page->rampsFromProtocol = *overrides.rampsFromProtocol ? 1 : 0;
}

std::string AnalysisOverridesHelp(size_t column) {
    const std::string indent(column, ' ');
    std::string help;
    for (const auto& [option, text] : kOptionsHelp) {
        help += "  " + std::string(option) + "\n";
        for (std::string_view rest = text; !rest.empty();) {
            const size_t end = rest.find('\n') + 1;
            help += indent + std::string(rest.substr(0, end));
            rest.remove_prefix(end);
        }
    }
    return help;
}
