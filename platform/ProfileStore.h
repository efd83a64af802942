// The per-user profile: integers and texts by (section, key). Reads of missing
// or unreadable values give the caller's default; writes report success.
#pragma once

#include <cstdint>
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

// A record declares its stored settings once, as a list of calls
// visit(key, field, defaultValue); these two visitors read the fields from, or
// write them to, one section of a profile. Integers (int32_t, and uint32_t
// such as colours) are stored as integers, texts as texts. A record with other
// kinds of fields derives from them and adds its own overloads.
class ProfileFieldReader {
public:
    ProfileFieldReader(IProfileStore& profile, std::string section)
        : m_profile(profile), m_section(std::move(section)) {}
    void operator()(const char* key, int32_t& field, int32_t defaultValue) const {
        field = m_profile.ReadInt(m_section, key, defaultValue);
    }
    void operator()(const char* key, uint32_t& field, uint32_t defaultValue) const {
        field = static_cast<uint32_t>(
            m_profile.ReadInt(m_section, key, static_cast<int>(defaultValue)));
    }
    void operator()(const char* key, std::string& field, const std::string& defaultValue) const {
        field = ReadText(key, defaultValue);
    }
    std::string ReadText(const char* key, const std::string& defaultValue) const {
        return m_profile.ReadString(m_section, key, defaultValue);
    }

private:
    IProfileStore& m_profile;
    std::string m_section;
};

class ProfileFieldWriter {
public:
    ProfileFieldWriter(IProfileStore& profile, std::string section)
        : m_profile(profile), m_section(std::move(section)) {}
    void operator()(const char* key, int32_t field, int32_t) const {
        m_profile.WriteInt(m_section, key, field);
    }
    void operator()(const char* key, uint32_t field, uint32_t) const {
        m_profile.WriteInt(m_section, key, static_cast<int>(field));
    }
    void operator()(const char* key, const std::string& field, const std::string&) const {
        WriteText(key, field);
    }
    void WriteText(const char* key, const std::string& text) const {
        m_profile.WriteString(m_section, key, text);
    }

private:
    IProfileStore& m_profile;
    std::string m_section;
};
