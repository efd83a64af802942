// Reads a written .xlsx file back for tests: the zip container through libzip,
// the XML parts through QXmlStreamReader into a small element tree, and the
// workbook's sheets, cells and charts from those parts.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

struct XmlElement {
    std::string name; // qualified name, e.g. "c:valAx"
    std::map<std::string, std::string> attributes;
    std::string text;
    std::vector<XmlElement> children;

    // The first child called `name`, or null.
    const XmlElement* Child(const std::string& name) const;
    std::vector<const XmlElement*> Children(const std::string& name) const;
    // Follows a path of child names separated by "/", or null.
    const XmlElement* Path(const std::string& path) const;
    // Every descendant called `name`, depth first.
    std::vector<const XmlElement*> Descendants(const std::string& name) const;
    std::string Attribute(const std::string& name) const;
};

struct ReadBackCell {
    bool isText = false;
    std::string text;
    double number = 0.0;
};

struct ReadBackSheet {
    std::string name;
    bool isChart = false;
    std::map<std::pair<int, int>, ReadBackCell> cells; // (row, column), 0-based
    XmlElement chart;                                  // c:chartSpace of a chart sheet
    XmlElement sheetXml;                               // the sheet part itself
};

struct ReadBackWorkbook {
    std::vector<ReadBackSheet> sheets; // tab order
    std::vector<std::string> partNames;

    const ReadBackSheet* Find(const std::string& name) const;
    std::vector<std::string> SheetNames() const;
};

// Reads `path`; on failure returns nothing and sets `error`.
std::optional<ReadBackWorkbook> ReadXlsx(const std::string& path, std::string& error);
