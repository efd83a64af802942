// The per-user profile as an INI file read and written through QSettings:
// $XDG_CONFIG_HOME/Tessaran/<application name>.ini (XDG_CONFIG_HOME defaulting
// to ~/.config), one INI section per profile section. A file edited by hand
// with plain section and key names ("[Slope conductance]", "Ramp1 Start=1400")
// reads as written; names are matched exactly first, then ignoring case, as the
// Windows registry does. A missing, unreadable or malformed file reads as empty,
// so every read gives its default.
#pragma once

#include "platform/ProfileStore.h"

#include <memory>
#include <string>

class QSettings;

class IniProfileStore : public IProfileStore {
public:
    // The profile of `applicationName` (the executable's name without
    // extension) at its default place, or at `explicitPath` when that is given.
    explicit IniProfileStore(const std::string& applicationName,
                             const std::string& explicitPath = {});
    // Writes what is pending to the file.
    ~IniProfileStore() override;
    IniProfileStore(const IniProfileStore&) = delete;
    IniProfileStore& operator=(const IniProfileStore&) = delete;

    // A whole decimal number in the 32-bit range (signed, or unsigned as the
    // registry stored it), taken as its 32-bit pattern; anything else, or a
    // missing value, gives `defaultValue`.
    int ReadInt(const std::string& section, const std::string& key, int defaultValue) override;
    // The text as written (a value that QSettings splits at commas is joined
    // again with commas); `defaultValue` when missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    // Store the value in decimal; failures show only as a false result of Sync.
    bool WriteInt(const std::string& section, const std::string& key, int value) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    // Writes pending values to the file now; false when the file cannot be written.
    bool Sync();

    const std::string& path() const { return path_; }

    // $XDG_CONFIG_HOME/Tessaran/<applicationName>.ini, or ~/.config/... when
    // XDG_CONFIG_HOME is unset, empty or relative.
    static std::string DefaultPath(const std::string& applicationName);
    // The executable's file name without directory and extension.
    static std::string ApplicationNameFromExecutable(const std::string& executablePath);

private:
    // The QSettings key of (section, key): the exact names, or the first stored
    // names that match them ignoring case; empty when there is none.
    std::string FindStoredKey(const std::string& section, const std::string& key);

    std::string path_;
    std::unique_ptr<QSettings> settings_;
    bool ignoreFileContents_ = false; // the file could not be read or parsed
    bool written_ = false;
};
