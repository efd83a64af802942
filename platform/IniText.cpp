#include "platform/IniText.h"

#include "platform/TextTrim.h"

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

// Length of the UTF-8 sequence starting at `at`, or 0 when it is not one
// (overlong forms, surrogates and values beyond U+10FFFF are not).
size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    uint32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string LineAsUtf8(std::string_view line) {
    bool valid = true;
    for (size_t at = 0; at < line.size() && valid;) {
        const size_t length = Utf8SequenceLength(line, at);
        valid = length != 0;
        at += length;
    }
    if (valid)
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
