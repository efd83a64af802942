// The per-user profile: integers and texts by (section, key). Reads of missing
// or unreadable values give the caller's default; writes report success.
#pragma once

#include <map>
#include <string>
#include <utility>

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    virtual int ReadInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) = 0;
    virtual bool WriteInt(const std::string& section, const std::string& key, int value) = 0;
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

// A profile held in memory, for tests and for runs without a profile file.
class MemoryProfileStore : public IProfileStore {
public:
    int ReadInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    bool WriteInt(const std::string& section, const std::string& key, int value) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    // Every value as text, keyed by (section, key); integers are stored as their decimal text.
    std::map<std::pair<std::string, std::string>, std::string> values;
};
