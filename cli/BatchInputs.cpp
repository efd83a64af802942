#include "cli/BatchInputs.h"

#include "app/FolderWatchRules.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

template <typename Iterator> std::vector<std::string> RecordingsIn(Iterator entries) {
    std::vector<std::string> found;
    std::error_code code;
    for (auto it = entries; it != Iterator(); it.increment(code)) {
        if (code)
            break;
        std::error_code ignored;
        if (it->is_regular_file(ignored) && IsRecordingFileName(it->path().filename().string()))
            found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

BatchInputs ExpandRecordingArguments(const std::vector<std::string>& arguments, bool recursive) {
    BatchInputs inputs;
    for (const std::string& argument : arguments) {
        std::error_code code;
        if (!fs::is_directory(argument, code)) {
            inputs.files.push_back(argument);
            continue;
        }
        const auto options = fs::directory_options::skip_permission_denied;
        std::vector<std::string> found =
            recursive ? RecordingsIn(fs::recursive_directory_iterator(argument, options, code))
                      : RecordingsIn(fs::directory_iterator(argument, options, code));
        if (found.empty())
            inputs.empties.push_back(argument);
        inputs.files.insert(inputs.files.end(), found.begin(), found.end());
    }
    return inputs;
}
