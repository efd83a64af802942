// The values of an INI text by section and key: "[section]" lines and
// "key=value" lines, names and values taken as written (trimmed); ';' and '#'
// start comment lines. Plain C++, so the parser can be fuzzed and used without Qt.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

class IniValues {
public:
    // Reads `text` line by line (LF or CRLF). A line that is not UTF-8 is read
    // as Latin-1; a NUL ends its line; a leading UTF-8 byte order mark is
    // skipped. Lines that are none of the above, and keys before any section,
    // are skipped; a repeated key keeps its last value. Never fails.
    static IniValues Parse(std::string_view text);

    // The whole text, sections and keys sorted, a blank line between sections;
    // line breaks inside a value are written as blanks.
    std::string Format() const;

    // The value of (section, key): the exact names first, else the first stored
    // names (in sorted order) equal to them ignoring ASCII case; null when none.
    const std::string* Find(const std::string& section, const std::string& key) const;

    // Sets the value under exactly these names.
    void Set(const std::string& section, const std::string& key, const std::string& value);

    size_t SectionCount() const { return m_sections.size(); }

private:
    std::map<std::string, std::map<std::string, std::string>> m_sections;
    // Folded "section\n key" to the exact (section, key) that sorts first.
    std::unordered_map<std::string, std::pair<std::string, std::string>> m_folded;
};

// `line` as UTF-8: itself when it is valid UTF-8, else its bytes read as Latin-1.
std::string LineAsUtf8(std::string_view line);
