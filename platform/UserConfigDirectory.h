// The folder of per-user configuration files: $XDG_CONFIG_HOME, or ~/.config
// when that is unset, empty or relative (the XDG base directory rule).
#pragma once

#include <filesystem>

// Never fails; without any home folder the result is the relative ".config".
std::filesystem::path UserConfigDirectory();
