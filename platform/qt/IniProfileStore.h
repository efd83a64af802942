// The per-user profile as an INI file: $XDG_CONFIG_HOME/Tessaran/<application
// name>.ini (XDG_CONFIG_HOME defaulting to ~/.config), one INI section per
// profile section. A file edited by hand with plain section and key names
// ("[Slope conductance]", "Ramp1 Start=1400") reads as written; names are
// matched exactly first, then ignoring case, as the Windows registry does.
// The file is read line by line (IniValues): a line that is not UTF-8 is read
// as Latin-1 and a NUL ends its line, so nothing of a hand-edited file is lost.
// A file that cannot be used at all (not a regular file, unreadable) reads as
// empty and is moved aside, under a name no earlier copy has, before the first
// value is written.
#pragma once

#include "platform/IniText.h"
#include "platform/ProfileStore.h"

#include <string>

class IniProfileStore : public IProfileStore {
public:
    // The profile of `applicationName` (the executable's name without
    // extension) at its default place, or at `explicitPath` when that is given.
    // Never blocks: a FIFO or device at the path is refused unread.
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
    // The text as written; `defaultValue` when missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    // Store the value in decimal; failures show only as a false result of Sync.
    bool WriteInt(const std::string& section, const std::string& key, int value) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    // Writes the values to the file now (atomically) when any was written;
    // false, with WriteError() saying why, when the file cannot be written.
    bool Sync();

    const std::string& Path() const { return m_path; }
    // Whether there was no file at the path when the store was made.
    bool WasMissing() const { return m_missing; }
    // Whether the file existed, but could not be used; then ReadProblem() says why.
    bool IsUnusable() const { return m_unusable; }
    const std::string& ReadProblem() const { return m_readProblem; }
    const std::string& WriteError() const { return m_writeError; }
    // Where an unusable file is (or will be) kept: "<path>.unreadable", else
    // "<path>.unreadable.2", ".3", ... the first name nothing has.
    std::string KeptCopyPath() const;

    // The texts the user is shown: an unusable file at start, a failed write.
    std::string UnusableFileMessage() const;
    std::string WriteFailureMessage() const;

    // $XDG_CONFIG_HOME/Tessaran/<applicationName>.ini, or ~/.config/... when
    // XDG_CONFIG_HOME is unset, empty or relative.
    static std::string DefaultPath(const std::string& applicationName);
    // The executable's file name without directory and extension.
    static std::string ApplicationNameFromExecutable(const std::string& executablePath);

private:
    void MoveUnusableFileAside();

    std::string m_path;
    IniValues m_values;
    bool m_missing = false;
    bool m_unusable = false;
    std::string m_readProblem;
    std::string m_keptCopy; // where the unusable file went, once moved
    std::string m_writeError;
    bool m_written = false;
};
