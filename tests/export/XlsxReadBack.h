// Reads a written .xlsx file back for tests: the zip container through libzip,
// the XML parts as DOM trees, and the workbook's sheets, cells and charts from
// those parts.
#pragma once

#include <QDomElement>
#include <QString>

#include <map>
#include <ostream>
#include <string>
#include <vector>

struct ReadBackCell {
    bool isText = false; // an inline string; shared strings are not read
    std::string text;
    double number = 0.0;

    // Numbers compare as the floats they were written from.
    bool operator==(const ReadBackCell& other) const {
        return isText == other.isText && text == other.text &&
               static_cast<float>(number) == static_cast<float>(other.number);
    }
};

inline void PrintTo(const ReadBackCell& cell, std::ostream* out) {
    *out << (cell.isText ? '"' + cell.text + '"' : std::to_string(cell.number));
}

struct ReadBackSheet {
    std::string name;
    bool isChart = false;
    std::map<std::pair<int, int>, ReadBackCell> cells; // (row, column), 0-based
    QDomElement chart;                                 // c:chartSpace of a chart sheet
};

struct ReadBackWorkbook {
    std::vector<ReadBackSheet> sheets; // tab order

    // The sheet named `name`; a test failure and an empty sheet when there is none.
    const ReadBackSheet& Sheet(const std::string& name) const;
    std::vector<std::string> SheetNames() const;
};

// Reads `path`; on failure adds a test failure and returns an empty workbook.
ReadBackWorkbook ReadXlsx(const std::string& path);

// ReadXlsx without the time of analysis on the details sheet, the one cell in
// which two exports of the same results differ.
inline ReadBackWorkbook ReadXlsxUntimed(const std::string& path) {
    ReadBackWorkbook book = ReadXlsx(path);
    for (ReadBackSheet& sheet : book.sheets)
        if (sheet.name == "Analysis Details")
            sheet.cells.erase({1, 1});
    return book;
}

// The element reached from `element` through child tag names separated by "/"
// (e.g. "c:spPr/a:ln"); a null element when one is missing.
QDomElement Path(const QDomElement& element, const QString& path);

// Every descendant of `element` with tag name `tag`, in document order.
std::vector<QDomElement> Descendants(const QDomElement& element, const QString& tag);

// Lets test failures show QString values as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
