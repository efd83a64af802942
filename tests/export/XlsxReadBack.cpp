#include "tests/export/XlsxReadBack.h"

#include <QDomDocument>
#include <QStringList>

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <memory>

const ReadBackSheet& ReadBackWorkbook::Sheet(const std::string& name) const {
    for (const ReadBackSheet& sheet : sheets)
        if (sheet.name == name)
            return sheet;
    ADD_FAILURE() << "no sheet \"" << name << "\"";
    static const ReadBackSheet none;
    return none;
}

std::vector<std::string> ReadBackWorkbook::SheetNames() const {
    std::vector<std::string> names;
    for (const ReadBackSheet& sheet : sheets)
        names.push_back(sheet.name);
    return names;
}

QDomElement Path(const QDomElement& element, const QString& path) {
    QDomElement found = element;
    for (const QString& tag : path.split('/'))
        found = found.firstChildElement(tag);
    return found;
}

std::vector<QDomElement> Descendants(const QDomElement& element, const QString& tag) {
    // A walk of our own: QDomNodeList finds each item from the start again.
    std::vector<QDomElement> found;
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        if (child.tagName() == tag)
            found.push_back(child);
        for (QDomElement& below : Descendants(child, tag))
            found.push_back(std::move(below));
    }
    return found;
}

namespace {

// The root element of the XML part `name`; a test failure and a null element
// when the part is missing or not well-formed.
QDomElement ReadXmlPart(zip_t* archive, const std::string& name) {
    zip_stat_t stat;
    zip_file_t* file = zip_stat(archive, name.c_str(), 0, &stat) == 0
                           ? zip_fopen(archive, name.c_str(), 0)
                           : nullptr;
    QByteArray content(file ? static_cast<qsizetype>(stat.size) : 0, '\0');
    const bool read = file && zip_fread(file, content.data(), stat.size) == zip_int64_t(stat.size);
    if (file)
        zip_fclose(file);
    QDomDocument document;
    QString message;
    if (!read || !document.setContent(content, &message))
        ADD_FAILURE() << "part \"" << name << "\": " << message.toStdString();
    return document.documentElement();
}

// The part that relationship `id` of `partName` points to, or "".
std::string RelationshipTarget(zip_t* archive, const std::string& partName, const QString& id) {
    const std::filesystem::path part(partName);
    const QDomElement rels = ReadXmlPart(
        archive, (part.parent_path() / "_rels" / (part.filename().string() + ".rels")).string());
    for (const QDomElement& relationship : Descendants(rels, "Relationship")) {
        if (relationship.attribute("Id") == id) // relative to the part's folder
            return (part.parent_path() / relationship.attribute("Target").toStdString())
                .lexically_normal()
                .string();
    }
    return {};
}

std::pair<int, int> CellPosition(const std::string& reference) {
    int column = 0;
    size_t i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i)
        column = column * 26 + (reference[i] - 'A' + 1);
    return {std::stoi(reference.substr(i)) - 1, column - 1};
}

void ReadCells(const QDomElement& worksheet, ReadBackSheet& sheet) {
    for (const QDomElement& c : Descendants(worksheet.firstChildElement("sheetData"), "c")) {
        ReadBackCell cell;
        if (c.attribute("t") == "inlineStr") {
            cell.isText = true;
            cell.text = Path(c, "is/t").text().toStdString();
        } else if (const QDomElement v = c.firstChildElement("v"); !v.isNull()) {
            cell.number = v.text().toDouble();
        } else {
            continue; // a formatted blank
        }
        sheet.cells[CellPosition(c.attribute("r").toStdString())] = cell;
    }
}

} // namespace

ReadBackWorkbook ReadXlsx(const std::string& path) {
    int zipError = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> zip(
        zip_open(path.c_str(), ZIP_RDONLY, &zipError), &zip_discard);
    if (!zip) {
        ADD_FAILURE() << path << ": cannot open zip (libzip error " << zipError << ")";
        return {};
    }
    const QDomElement workbook = ReadXmlPart(zip.get(), "xl/workbook.xml");
    ReadBackWorkbook book;
    for (const QDomElement& entry : Descendants(workbook.firstChildElement("sheets"), "sheet")) {
        ReadBackSheet sheet;
        sheet.name = entry.attribute("name").toStdString();
        const std::string part =
            RelationshipTarget(zip.get(), "xl/workbook.xml", entry.attribute("r:id"));
        const QDomElement root = ReadXmlPart(zip.get(), part);
        sheet.isChart = root.tagName() == "chartsheet";
        if (sheet.isChart) {
            // chartsheet -> drawing -> chart
            const std::string drawing = RelationshipTarget(
                zip.get(), part, root.firstChildElement("drawing").attribute("r:id"));
            const auto charts = Descendants(ReadXmlPart(zip.get(), drawing), "c:chart");
            sheet.chart = ReadXmlPart(
                zip.get(), RelationshipTarget(zip.get(), drawing,
                                              charts.empty() ? "" : charts[0].attribute("r:id")));
        } else {
            EXPECT_FALSE(root.firstChildElement("sheetData").isNull()) << sheet.name;
            ReadCells(root, sheet);
        }
        book.sheets.push_back(std::move(sheet));
    }
    return book;
}
