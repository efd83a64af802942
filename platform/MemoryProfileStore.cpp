#include "platform/ProfileStore.h"

#include <charconv>

int MemoryProfileStore::ReadInt(const std::string& section, const std::string& key,
                                int defaultValue) {
    auto it = values.find({section, key});
    if (it == values.end())
        return defaultValue;
    long long value = 0;
    const std::string& text = it->second;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return defaultValue;
    return static_cast<int>(static_cast<unsigned int>(value)); // stored as 32-bit unsigned
}

std::string MemoryProfileStore::ReadString(const std::string& section, const std::string& key,
                                           const std::string& defaultValue) {
    auto it = values.find({section, key});
    return it == values.end() ? defaultValue : it->second;
}

bool MemoryProfileStore::WriteInt(const std::string& section, const std::string& key, int value) {
    values[{section, key}] = std::to_string(value);
    return true;
}

bool MemoryProfileStore::WriteString(const std::string& section, const std::string& key,
                                     const std::string& value) {
    values[{section, key}] = value;
    return true;
}
