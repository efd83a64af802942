// Reads a written .xlsx file back for tests: the zip container through libzip,
// the XML parts as DOM trees, and the workbook's sheets, cells and charts from
// those parts.
#pragma once

#include <QDomElement>
#include <QString>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct ReadBackCell {
    bool isText = false; // an inline string; shared strings are not read
    std::string text;
    double number = 0.0;
};

struct ReadBackSheet {
    std::string name;
    bool isChart = false;
    std::map<std::pair<int, int>, ReadBackCell> cells; // (row, column), 0-based
    QDomElement chart;                                 // c:chartSpace of a chart sheet
};

struct ReadBackWorkbook {
    std::vector<ReadBackSheet> sheets; // tab order

    const ReadBackSheet* Find(const std::string& name) const;
    std::vector<std::string> SheetNames() const;
};

// Reads `path`; on failure returns nothing and sets `error`.
std::optional<ReadBackWorkbook> ReadXlsx(const std::string& path, std::string& error);

// The element reached from `element` through child tag names separated by "/"
// (e.g. "c:spPr/a:ln"); a null element when one is missing.
QDomElement Path(const QDomElement& element, const QString& path);

// Every descendant of `element` with tag name `tag`, in document order.
std::vector<QDomElement> Descendants(const QDomElement& element, const QString& tag);

// Lets test failures show QString values as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
