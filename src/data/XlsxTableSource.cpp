#include "data/XlsxTableSource.h"

#include "data/TextUtil.h"
#include "data/XmlItemReader.h"
#include "data/ZipArchive.h"

#include <charconv>
#include <cmath>
#include <memory>

namespace zelvar {

namespace {

// Reads the items of one zip part in blocks, so a big sheet is never held whole.
XmlItemReader itemReader(ZipArchive::Entry &entry, const char *container, const char *item)
{
    return XmlItemReader(
        [&entry](char *buffer, std::size_t size, std::string &why) {
            const std::int64_t count = entry.read(buffer, size);
            if (count < 0)
                why = entry.error();
            return count;
        },
        container, item);
}

// workbook.xml and its relationships are small; anything larger is not a workbook.
constexpr std::size_t MaxSmallPartBytes = std::size_t{64} << 20;

std::string_view localName(std::string_view name)
{
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Name tests for the cells of a sheet, met millions of times: one pass over
// the short name, no call to measure it first.
bool isName(const char *name, std::string_view wanted)
{
    std::size_t k = 0;
    while (k < wanted.size() && name[k] == wanted[k])
        ++k;
    return k == wanted.size() && name[k] == '\0';
}

bool hasLocalName(const char *name, std::string_view local)
{
    const char *start = name;
    const char *end = name;
    for (; *end != '\0'; ++end)
        if (*end == ':')
            start = end + 1;
    return static_cast<std::size_t>(end - start) == local.size() && isName(start, local);
}

pugi::xml_node childNamed(const pugi::xml_node &parent, std::string_view local)
{
    for (const pugi::xml_node &child : parent.children())
        if (child.type() == pugi::node_element && localName(child.name()) == local)
            return child;
    return {};
}

// The text of a string item (<si> of the shared strings, <is> of an inline
// string): its own <t>, or the <t> of each rich text run. Phonetic guides
// (<rPh>) are not part of the text.
void appendStringItem(const pugi::xml_node &item, std::string &out)
{
    for (const pugi::xml_node &child : item.children()) {
        const std::string_view name = localName(child.name());
        if (name == "t") {
            out += child.text().get();
        } else if (name == "r") {
            for (const pugi::xml_node &part : child.children())
                if (localName(part.name()) == "t")
                    out += part.text().get();
        }
    }
}

bool parseUnsigned(std::string_view text, std::uint64_t &value)
{
    text = trimmed(text);
    if (text.empty() || text.size() > 18)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseDouble(std::string_view text, double &value)
{
    text = trimmed(text);
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// A relationship target is relative to the folder of the part that names it
// (xl/), or absolute from the root of the package when it starts with "/".
std::string resolveTarget(std::string_view target)
{
    std::string joined = !target.empty() && target.front() == '/'
        ? std::string(target.substr(1))
        : "xl/" + std::string(target);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string &part : parts)
        path += (path.empty() ? "" : "/") + part;
    return path;
}

bool loadSmallPart(const ZipArchive &archive, const std::string &name, pugi::xml_document &document,
                   std::string &reason)
{
    std::string content;
    if (!archive.readAll(name, MaxSmallPartBytes, content, reason))
        return false;
    const pugi::xml_parse_result result =
        document.load_buffer(content.data(), content.size(), pugi::parse_default);
    if (!result) {
        reason = "the workbook is damaged (" + name + ": " + result.description() + ")";
        return false;
    }
    return true;
}

std::string tooMuchText(const std::string &sheet, std::size_t limit)
{
    return "the sheet " + sheet + " holds more than " + ZipArchive::sizeText(limit)
        + " of text, the most this program reads";
}

// The text of the first shared-string cell of a sheet holding `index`, as
// written ("007", " 7 "), for the message that the index is missing. Only
// read again when that message is given: the cells keep the index alone.
std::string referenceText(const ZipArchive &archive, const std::string &part, std::uint64_t index)
{
    std::string found = std::to_string(index);
    std::string reason;
    auto entry = archive.openEntry(part, reason);
    if (!entry)
        return found;
    XmlItemReader reader = itemReader(*entry, "sheetData", "row");
    (void)reader.forEach(
        [&](const pugi::xml_node &row) {
            for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
                if (cell.type() != pugi::node_element || localName(cell.name()) != "c"
                    || std::string_view(cell.attribute("t").value()) != "s")
                    continue;
                const pugi::xml_node valueNode = childNamed(cell, "v");
                std::uint64_t number = 0;
                if (valueNode && parseUnsigned(valueNode.text().get(), number) && number == index) {
                    found = valueNode.text().get();
                    return false;
                }
            }
            return true;
        },
        reason);
    return found;
}

} // namespace

bool XlsxTableSource::parseReference(std::string_view reference, std::uint32_t &row,
                                     std::uint32_t &column)
{
    std::size_t k = 0;
    std::uint32_t col = 0;
    while (k < reference.size() && k < 4) {
        char c = reference[k];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        col = col * 26 + static_cast<std::uint32_t>(c - 'A' + 1);
        ++k;
    }
    if (k == 0 || col > MaxColumns)
        return false;
    std::uint64_t number = 0;
    const std::string_view digits = reference.substr(k);
    if (digits.empty() || digits.front() < '1' || digits.front() > '9'
        || !parseUnsigned(digits, number) || number > MaxRows
        || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    row = static_cast<std::uint32_t>(number);
    column = col;
    return true;
}

bool XlsxTableSource::readSheet(const ZipArchive &archive, const std::string &part,
                                const std::string &sheet, std::string &reason)
{
    auto entry = archive.openEntry(part, reason);
    if (!entry)
        return false;
    XmlItemReader reader = itemReader(*entry, "sheetData", "row");

    std::string text;
    std::uint32_t lastRow = 0;
    bool visitFailed = false;
    const auto stop = [&](std::string why) {
        reason = std::move(why);
        visitFailed = true;
        return false;
    };

    const bool ok = reader.forEach(
        [&](const pugi::xml_node &row) {
            std::uint32_t rowNumber = lastRow + 1;
            if (const pugi::xml_attribute r = row.attribute("r")) {
                std::uint64_t number = 0;
                if (!parseUnsigned(r.value(), number) || number < 1 || number > MaxRows)
                    return stop("the sheet " + sheet + " has a row numbered \""
                                + shortened(r.value()) + "\", which is not a row of a sheet");
                rowNumber = static_cast<std::uint32_t>(number);
            }
            if (rowNumber > MaxRows)
                return stop("the sheet " + sheet + " has more rows than a sheet can hold");
            lastRow = rowNumber;
            std::uint32_t lastColumn = 0;
            for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
                if (cell.type() != pugi::node_element || !hasLocalName(cell.name(), "c"))
                    continue;
                // The first r and t attributes, and the first <v> and <is> children.
                pugi::xml_attribute reference;
                pugi::xml_attribute typeAttribute;
                for (pugi::xml_attribute a = cell.first_attribute(); a; a = a.next_attribute()) {
                    if (!reference && isName(a.name(), "r"))
                        reference = a;
                    else if (!typeAttribute && isName(a.name(), "t"))
                        typeAttribute = a;
                }
                pugi::xml_node valueNode;
                pugi::xml_node inlineNode;
                for (pugi::xml_node child = cell.first_child(); child; child = child.next_sibling()) {
                    if (child.type() != pugi::node_element)
                        continue;
                    if (!valueNode && hasLocalName(child.name(), "v"))
                        valueNode = child;
                    else if (!inlineNode && hasLocalName(child.name(), "is"))
                        inlineNode = child;
                }

                std::uint32_t cellRow = rowNumber;
                std::uint32_t column = lastColumn + 1;
                if (reference && !parseReference(reference.value(), cellRow, column))
                    return stop("the sheet " + sheet + " has a cell reference \""
                                + shortened(reference.value()) + "\", which is not a cell of a sheet");
                if (column > MaxColumns)
                    return stop("the sheet " + sheet + " has more columns than a sheet can hold");
                lastColumn = column;
                const std::uint32_t r0 = cellRow - 1;
                const std::uint32_t c0 = column - 1;

                const std::string_view type = typeAttribute.value();
                const std::string_view valueText = valueNode.text().get();
                bool stored = true;
                bool textStored = true;
                TextRef ref;
                if (type == "s") {
                    std::uint64_t index = 0;
                    if (!valueNode)
                        continue;
                    // The index is checked once the shared strings are counted.
                    if (!parseUnsigned(valueText, index))
                        return stop("a cell of the sheet " + sheet + " refers to text number \""
                                    + shortened(valueText) + "\", which the workbook does not have");
                    stored = addListedText(r0, c0, index);
                } else if (type == "inlineStr") {
                    text.clear();
                    appendStringItem(inlineNode, text);
                    textStored = storeText(text, ref);
                    stored = textStored && addText(r0, c0, ref);
                } else if (type == "b") {
                    if (trimmed(valueText).empty())
                        continue;
                    const bool on = trimmed(valueText) == "1" || equalsIgnoringCase(trimmed(valueText), "true");
                    stored = addBoolean(r0, c0, on);
                } else if (type == "str" || type == "e" || type == "d") {
                    textStored = storeText(valueText, ref);
                    stored = textStored && addText(r0, c0, ref);
                } else {
                    double number = 0.0;
                    if (trimmed(valueText).empty())
                        continue;
                    if (parseDouble(valueText, number)) {
                        stored = addNumber(r0, c0, number);
                    } else {
                        textStored = storeText(trimmed(valueText), ref);
                        stored = textStored && addText(r0, c0, ref);
                    }
                }
                if (!textStored)
                    return stop(tooMuchText(sheet, limits().textBytes));
                if (!stored)
                    return stop("the sheet " + sheet + " holds more than "
                                + std::to_string(limits().cells)
                                + " values, the most this program reads");
            }
            return true;
        },
        reason);
    if (!ok && !visitFailed)
        reason = "the workbook is damaged (" + part + ": " + reason + ")";
    return ok;
}

bool XlsxTableSource::readSharedStrings(const ZipArchive &archive, const std::string &part,
                                        const std::string &sheet,
                                        const std::vector<std::uint64_t> &indices,
                                        std::vector<TextRef> &texts, std::uint64_t &count,
                                        std::string &reason)
{
    texts.assign(indices.size(), TextRef{});
    count = 0;
    auto entry = archive.openEntry(part, reason);
    if (!entry)
        return false;
    XmlItemReader reader = itemReader(*entry, "sst", "si");
    std::string text;
    std::size_t next = 0; // the next of `indices` to keep
    bool visitFailed = false;
    const bool ok = reader.forEach(
        [&](const pugi::xml_node &item) {
            if (next < indices.size() && indices[next] == count) {
                text.clear();
                appendStringItem(item, text);
                if (!storeText(text, texts[next])) {
                    reason = tooMuchText(sheet, limits().textBytes);
                    visitFailed = true;
                    return false;
                }
                ++next;
            }
            ++count;
            return true;
        },
        reason);
    if (!ok && !visitFailed)
        reason = "the workbook is damaged (" + part + ": " + reason + ")";
    return ok;
}

OpenedTable XlsxTableSource::open(const std::string &path, const std::string &sheet)
{
    return open(path, sheet, ReadLimits{});
}

OpenedTable XlsxTableSource::open(const std::string &path, const std::string &sheet,
                                  const ReadLimits &limits)
{
    OpenedTable opened;
    const auto fail = [&](const std::string &reason) {
        opened.error = "Cannot read " + path + ": " + reason + ".";
        return std::move(opened);
    };

    std::string reason;
    const std::unique_ptr<ZipArchive> archive = ZipArchive::open(path, reason, limits.partBytes);
    if (!archive)
        return fail(reason);
    if (!archive->contains("xl/workbook.xml"))
        return fail("it is not an Excel workbook (it has no xl/workbook.xml)");

    pugi::xml_document workbook;
    if (!loadSmallPart(*archive, "xl/workbook.xml", workbook, reason))
        return fail(reason);
    std::string relationId;
    bool found = false;
    const pugi::xml_node sheets = childNamed(childNamed(workbook, "workbook"), "sheets");
    for (const pugi::xml_node &entry : sheets.children()) {
        if (localName(entry.name()) != "sheet" || !equalsIgnoringCase(entry.attribute("name").value(), sheet))
            continue;
        for (const pugi::xml_attribute &attribute : entry.attributes()) {
            const std::string_view name = attribute.name();
            if (name.find(':') != std::string_view::npos && localName(name) == "id")
                relationId = attribute.value();
        }
        found = true;
        break;
    }
    if (!found)
        return fail("the workbook has no sheet named " + sheet);

    pugi::xml_document relations;
    if (!loadSmallPart(*archive, "xl/_rels/workbook.xml.rels", relations, reason))
        return fail(reason);
    std::string sheetPart;
    std::string sharedStringsPart;
    for (const pugi::xml_node &relation : childNamed(relations, "Relationships").children()) {
        if (localName(relation.name()) != "Relationship"
            || equalsIgnoringCase(relation.attribute("TargetMode").value(), "External"))
            continue;
        const std::string_view type = relation.attribute("Type").value();
        const std::string target = resolveTarget(relation.attribute("Target").value());
        if (!relationId.empty() && relation.attribute("Id").value() == relationId)
            sheetPart = target;
        const std::string_view suffix = "/sharedStrings";
        if (type.size() >= suffix.size() && type.substr(type.size() - suffix.size()) == suffix)
            sharedStringsPart = target;
    }
    if (sheetPart.empty() || !archive->contains(sheetPart))
        return fail("the workbook is damaged (the sheet " + sheet + " has no content)");
    // A workbook without texts may name a string table it does not have.
    if (sharedStringsPart.empty() || !archive->contains(sharedStringsPart))
        sharedStringsPart = archive->contains("xl/sharedStrings.xml") ? "xl/sharedStrings.xml" : "";

    auto table = std::make_unique<XlsxTableSource>();
    table->setLimits(Limits{limits.cells, limits.textBytes});
    std::string sheetReason;
    const bool sheetRead = table->readSheet(*archive, sheetPart, sheet, sheetReason);

    // The shared strings are read even when the sheet was not: a fault in
    // them, then a cell referring past their end, is told before a fault
    // found later in the sheet, as the cells are met in that order.
    std::vector<std::uint64_t> indices;
    if (sheetRead)
        indices = table->listedTextIndices();
    std::vector<TextRef> texts;
    std::uint64_t count = 0;
    if (!sharedStringsPart.empty()
        && !table->readSharedStrings(*archive, sharedStringsPart, sheet, indices, texts, count, reason))
        return fail(reason);
    std::uint64_t missing = 0;
    if (table->listedTextMissing(count, missing))
        return fail("a cell of the sheet " + sheet + " refers to text number \""
                    + shortened(referenceText(*archive, sheetPart, missing)) + "\", which the "
                    + "workbook does not have");
    if (!sheetRead)
        return fail(sheetReason);
    table->resolveListedTexts(indices, texts);
    if (!table->finishWithHeaderRow(reason))
        return fail(reason);
    opened.table = std::move(table);
    return opened;
}

} // namespace zelvar
