#include "platform/IniText.h"

#include "platform/TextTrim.h"
#include "platform/Utf8.h"

#include <cstdint>

namespace {

std::string_view Trim(std::string_view text) {
    return TrimmedOf(text, " \t\r\v\f");
}

std::string Folded(const std::string& section, const std::string& key) {
    std::string folded = section + '\n' + key;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

} // namespace

std::string LineAsUtf8(std::string_view line) {
    if (IsValidUtf8(line))
        return std::string(line);
    std::string converted;
    converted.reserve(line.size() * 2);
    for (char c : line) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x80) {
            converted += c;
        } else {
            converted += static_cast<char>(0xC0 | (byte >> 6));
            converted += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return converted;
}

IniValues IniValues::Parse(std::string_view text) {
    IniValues values;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::string section;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        raw = raw.substr(0, raw.find('\0'));
        const std::string decoded = LineAsUtf8(raw);
        const std::string_view line = Trim(decoded);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            section = std::string(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || section.empty())
            continue;
        const std::string key(Trim(line.substr(0, equals)));
        if (!key.empty())
            values.Set(section, key, std::string(Trim(line.substr(equals + 1))));
    }
    return values;
}

std::string IniValues::Format() const {
    std::string text;
    for (const auto& [section, keys] : m_sections) {
        if (keys.empty())
            continue;
        if (!text.empty())
            text += '\n';
        text += '[' + section + "]\n";
        for (const auto& [key, value] : keys) {
            std::string line = key + '=' + value;
            for (size_t i = key.size() + 1; i < line.size(); ++i)
                if (line[i] == '\r' || line[i] == '\n')
                    line[i] = ' ';
            text += line + '\n';
        }
    }
    return text;
}

const std::string* IniValues::Find(const std::string& section, const std::string& key) const {
    if (const auto s = m_sections.find(section); s != m_sections.end())
        if (const auto k = s->second.find(key); k != s->second.end())
            return &k->second;
    const auto folded = m_folded.find(Folded(section, key));
    if (folded == m_folded.end())
        return nullptr;
    return &m_sections.at(folded->second.first).at(folded->second.second);
}

void IniValues::Set(const std::string& section, const std::string& key, const std::string& value) {
    m_sections[section][key] = value;
    auto [it, inserted] = m_folded.try_emplace(Folded(section, key), section, key);
    if (!inserted && std::make_pair(section, key) < it->second)
        it->second = {section, key};
}
