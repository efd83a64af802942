#include "platform/UserConfigDirectory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

std::filesystem::path UserConfigDirectory() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config && std::filesystem::path(config).is_absolute())
        return config;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        // A session without HOME still has an account entry.
        const passwd* account = getpwuid(getuid());
        home = account && account->pw_dir ? account->pw_dir : "";
    }
    return std::filesystem::path(home) / ".config";
}
