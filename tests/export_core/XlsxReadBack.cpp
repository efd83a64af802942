#include "tests/export_core/XlsxReadBack.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <zip.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>

const XmlElement* XmlElement::Child(const std::string& childName) const {
    for (const XmlElement& child : children)
        if (child.name == childName)
            return &child;
    return nullptr;
}

std::vector<const XmlElement*> XmlElement::Children(const std::string& childName) const {
    std::vector<const XmlElement*> found;
    for (const XmlElement& child : children)
        if (child.name == childName)
            found.push_back(&child);
    return found;
}

const XmlElement* XmlElement::Path(const std::string& path) const {
    const XmlElement* element = this;
    std::stringstream parts(path);
    std::string part;
    while (element && std::getline(parts, part, '/'))
        element = element->Child(part);
    return element;
}

std::vector<const XmlElement*> XmlElement::Descendants(const std::string& descendantName) const {
    std::vector<const XmlElement*> found;
    std::function<void(const XmlElement&)> walk = [&](const XmlElement& element) {
        for (const XmlElement& child : element.children) {
            if (child.name == descendantName)
                found.push_back(&child);
            walk(child);
        }
    };
    walk(*this);
    return found;
}

std::string XmlElement::Attribute(const std::string& attributeName) const {
    auto it = attributes.find(attributeName);
    return it == attributes.end() ? std::string() : it->second;
}

const ReadBackSheet* ReadBackWorkbook::Find(const std::string& sheetName) const {
    for (const ReadBackSheet& sheet : sheets)
        if (sheet.name == sheetName)
            return &sheet;
    return nullptr;
}

std::vector<std::string> ReadBackWorkbook::SheetNames() const {
    std::vector<std::string> names;
    for (const ReadBackSheet& sheet : sheets)
        names.push_back(sheet.name);
    return names;
}

namespace {

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

std::optional<std::string> ReadPart(zip_t* archive, const std::string& name) {
    zip_stat_t stat;
    if (zip_stat(archive, name.c_str(), 0, &stat) != 0)
        return std::nullopt;
    zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
    if (!file)
        return std::nullopt;
    std::string content(stat.size, '\0');
    const zip_int64_t read = zip_fread(file, content.data(), stat.size);
    zip_fclose(file);
    if (read != static_cast<zip_int64_t>(stat.size))
        return std::nullopt;
    return content;
}

std::optional<XmlElement> ParseXml(const std::string& content, std::string& error) {
    QXmlStreamReader reader(QByteArray::fromStdString(content));
    std::vector<XmlElement> stack;
    std::optional<XmlElement> root;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            XmlElement element;
            element.name = reader.qualifiedName().toString().toStdString();
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                element.attributes[attribute.qualifiedName().toString().toStdString()] =
                    attribute.value().toString().toStdString();
            stack.push_back(std::move(element));
            break;
        }
        case QXmlStreamReader::Characters:
            if (!stack.empty())
                stack.back().text += reader.text().toString().toStdString();
            break;
        case QXmlStreamReader::EndElement: {
            XmlElement done = std::move(stack.back());
            stack.pop_back();
            if (stack.empty())
                root = std::move(done);
            else
                stack.back().children.push_back(std::move(done));
            break;
        }
        default:
            break;
        }
    }
    if (reader.hasError()) {
        error = "XML error: " + reader.errorString().toStdString();
        return std::nullopt;
    }
    return root;
}

// Relationship id -> target part name, resolved against the folder of `partName`.
std::map<std::string, std::string> ReadRelationships(zip_t* archive, const std::string& partName,
                                                     std::string& error) {
    const std::filesystem::path part(partName);
    const std::string relsName =
        (part.parent_path() / "_rels" / (part.filename().string() + ".rels")).string();
    std::map<std::string, std::string> targets;
    const auto content = ReadPart(archive, relsName);
    if (!content)
        return targets;
    const auto root = ParseXml(*content, error);
    if (!root)
        return targets;
    for (const XmlElement* relationship : root->Children("Relationship")) {
        std::filesystem::path target = relationship->Attribute("Target");
        target = target.is_absolute() ? target.relative_path()
                                      : (part.parent_path() / target).lexically_normal();
        targets[relationship->Attribute("Id")] = target.string();
    }
    return targets;
}

std::pair<int, int> CellPosition(const std::string& reference) {
    int column = 0;
    size_t i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i)
        column = column * 26 + (reference[i] - 'A' + 1);
    return {std::stoi(reference.substr(i)) - 1, column - 1};
}

bool ReadWorksheet(const XmlElement& root, const std::vector<std::string>& sharedStrings,
                   ReadBackSheet& sheet) {
    const XmlElement* data = root.Child("sheetData");
    if (!data)
        return false;
    for (const XmlElement* row : data->Children("row")) {
        for (const XmlElement* c : row->Children("c")) {
            ReadBackCell cell;
            const std::string type = c->Attribute("t");
            const XmlElement* v = c->Child("v");
            if (type == "s") {
                cell.isText = true;
                const size_t index = std::stoul(v ? v->text : "0");
                cell.text = index < sharedStrings.size() ? sharedStrings[index] : "";
            } else if (type == "inlineStr") {
                cell.isText = true;
                const XmlElement* t = c->Path("is/t");
                cell.text = t ? t->text : "";
            } else if (type == "str") {
                cell.isText = true;
                cell.text = v ? v->text : "";
            } else if (v) {
                cell.number = std::stod(v->text);
            } else {
                continue; // a formatted blank
            }
            sheet.cells[CellPosition(c->Attribute("r"))] = cell;
        }
    }
    return true;
}

} // namespace

std::optional<ReadBackWorkbook> ReadXlsx(const std::string& path, std::string& error) {
    int zipError = 0;
    Zip archive(zip_open(path.c_str(), ZIP_RDONLY, &zipError));
    if (!archive) {
        error = "cannot open zip (libzip error " + std::to_string(zipError) + ")";
        return std::nullopt;
    }
    ReadBackWorkbook book;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive.get(), 0); ++i)
        book.partNames.push_back(zip_get_name(archive.get(), i, 0));

    std::vector<std::string> sharedStrings;
    if (const auto content = ReadPart(archive.get(), "xl/sharedStrings.xml")) {
        const auto root = ParseXml(*content, error);
        if (!root)
            return std::nullopt;
        for (const XmlElement* si : root->Children("si")) {
            std::string text;
            for (const XmlElement* t : si->Descendants("t"))
                text += t->text;
            sharedStrings.push_back(text);
        }
    }

    const auto workbookXml = ReadPart(archive.get(), "xl/workbook.xml");
    if (!workbookXml) {
        error = "no xl/workbook.xml";
        return std::nullopt;
    }
    const auto workbookRoot = ParseXml(*workbookXml, error);
    if (!workbookRoot)
        return std::nullopt;
    const auto workbookRels = ReadRelationships(archive.get(), "xl/workbook.xml", error);
    const XmlElement* sheetList = workbookRoot->Child("sheets");
    if (!sheetList) {
        error = "workbook without sheets";
        return std::nullopt;
    }
    for (const XmlElement* entry : sheetList->Children("sheet")) {
        ReadBackSheet sheet;
        sheet.name = entry->Attribute("name");
        const auto target = workbookRels.find(entry->Attribute("r:id"));
        if (target == workbookRels.end()) {
            error = "sheet " + sheet.name + " has no part";
            return std::nullopt;
        }
        const std::string partName = target->second;
        const auto content = ReadPart(archive.get(), partName);
        if (!content) {
            error = "missing part " + partName;
            return std::nullopt;
        }
        auto root = ParseXml(*content, error);
        if (!root)
            return std::nullopt;
        sheet.isChart = root->name == "chartsheet";
        if (sheet.isChart) {
            // chartsheet -> drawing -> chart
            const auto sheetRels = ReadRelationships(archive.get(), partName, error);
            const XmlElement* drawing = root->Child("drawing");
            const auto drawingPart =
                drawing ? sheetRels.find(drawing->Attribute("r:id")) : sheetRels.end();
            if (drawingPart == sheetRels.end()) {
                error = "chart sheet " + sheet.name + " without drawing";
                return std::nullopt;
            }
            const auto drawingXml = ReadPart(archive.get(), drawingPart->second);
            const auto drawingRoot = drawingXml ? ParseXml(*drawingXml, error) : std::nullopt;
            const auto drawingRels = ReadRelationships(archive.get(), drawingPart->second, error);
            const auto charts = drawingRoot ? drawingRoot->Descendants("c:chart")
                                            : std::vector<const XmlElement*>{};
            const auto chartPart =
                charts.empty() ? drawingRels.end() : drawingRels.find(charts[0]->Attribute("r:id"));
            if (chartPart == drawingRels.end()) {
                error = "chart sheet " + sheet.name + " without chart";
                return std::nullopt;
            }
            const auto chartXml = ReadPart(archive.get(), chartPart->second);
            auto chartRoot = chartXml ? ParseXml(*chartXml, error) : std::nullopt;
            if (!chartRoot)
                return std::nullopt;
            sheet.chart = std::move(*chartRoot);
        } else if (!ReadWorksheet(*root, sharedStrings, sheet)) {
            error = "worksheet " + sheet.name + " without sheetData";
            return std::nullopt;
        }
        sheet.sheetXml = std::move(*root);
        book.sheets.push_back(std::move(sheet));
    }
    return book;
}
