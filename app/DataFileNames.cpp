#include "app/DataFileNames.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string g_dataDirectory;

std::string FileTitle(const std::string& path) {
    return fs::path(path).stem().string();
}

std::string NormaliseChosenFileName(const std::string& name, const std::string& currentDirectory,
                                    const std::string& defaultExtension) {
    std::string text = name;
    if (!text.empty() && text.front() == '"')
        text.erase(0, 1);
    if (const size_t quote = text.rfind('"'); quote != std::string::npos)
        text.resize(quote);
    if (text.empty())
        return text;

    fs::path path(text);
    if (path.is_relative())
        path = fs::path(currentDirectory) / path;
    path = path.lexically_normal();

    std::error_code error;
    if (!fs::exists(path, error) && !path.has_extension() && !defaultExtension.empty()) {
        fs::path withExtension = path;
        withExtension += "." + defaultExtension;
        if (fs::exists(withExtension, error))
            path = withExtension;
    }
    if (fs::is_symlink(path, error) || fs::exists(path, error)) {
        const fs::path target = fs::weakly_canonical(path, error);
        if (!error)
            path = target;
    }
    return path.string();
}
