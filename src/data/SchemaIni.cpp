#include "data/SchemaIni.h"

#include "data/TextUtil.h"

#include <filesystem>
#include <map>

namespace zelvar {

namespace {

bool isDigits(std::string_view text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The column types of the format. Values of the text types stay text even
// when they read as numbers; all others hold numbers.
bool isTypeWord(std::string_view word, bool &textType)
{
    static const char *const textTypes[] = {"text", "char", "memo", "longchar", "varchar"};
    static const char *const otherTypes[] = {"bit",    "byte",     "short",    "long",
                                             "integer", "currency", "single",  "double",
                                             "float",   "real",     "decimal", "numeric",
                                             "date",    "datetime"};
    const std::string lower = asciiLower(word);
    for (const char *type : textTypes)
        if (lower == type)
            return textType = true;
    for (const char *type : otherTypes)
        if (lower == type) {
            textType = false;
            return true;
        }
    return false;
}

// "Name Type [Width n]", the name possibly quoted.
bool parseColumn(std::string_view value, TextLayout::Column &column, std::string &reason)
{
    value = trimmed(value);
    std::string_view rest;
    if (!value.empty() && value.front() == '"') {
        const std::size_t close = value.find('"', 1);
        if (close == std::string_view::npos) {
            reason = "the quoted column name has no closing quote";
            return false;
        }
        column.name = std::string(value.substr(1, close - 1));
        rest = trimmed(value.substr(close + 1));
    } else {
        rest = value;
    }

    // Split the rest into words, remembering where each starts.
    std::vector<std::string_view> words;
    for (std::size_t pos = 0; pos < rest.size();) {
        while (pos < rest.size() && isBlank(rest[pos]))
            ++pos;
        const std::size_t start = pos;
        while (pos < rest.size() && !isBlank(rest[pos]))
            ++pos;
        if (pos > start)
            words.push_back(rest.substr(start, pos - start));
    }
    std::size_t count = words.size();
    if (count >= 2 && equalsIgnoringCase(words[count - 2], "width") && isDigits(words[count - 1]))
        count -= 2;
    bool textType = false;
    const bool quotedName = !value.empty() && value.front() == '"';
    // An unquoted name is everything before the type word; a single word is
    // the name itself.
    const std::size_t minWords = quotedName ? 1 : 2;
    if (count >= minWords && isTypeWord(words[count - 1], textType)) {
        column.text = textType;
        --count;
    } else if (quotedName && count > 0) {
        reason = "unknown column type " + std::string(words[count - 1]);
        return false;
    }
    if (!quotedName) {
        if (count == 0) {
            column.name.clear();
        } else {
            const char *begin = words.front().data();
            const char *end = words[count - 1].data() + words[count - 1].size();
            column.name = std::string(begin, static_cast<std::size_t>(end - begin));
        }
    }
    if (trimmed(column.name).empty()) {
        reason = "the column has no name";
        return false;
    }
    return true;
}

bool parseBool(std::string_view value, bool &result)
{
    const std::string lower = asciiLower(trimmed(value));
    if (lower == "true" || lower == "yes" || lower == "1")
        return result = true;
    if (lower == "false" || lower == "no" || lower == "0") {
        result = false;
        return true;
    }
    return false;
}

bool parseCharacterSet(std::string_view value, CharacterSet &set)
{
    const std::string lower = asciiLower(trimmed(value));
    if (lower == "ansi" || lower == "1252" || lower == "windows-1252")
        set = CharacterSet::Ansi;
    else if (lower == "utf-8" || lower == "utf8" || lower == "65001")
        set = CharacterSet::Utf8;
    else if (lower == "unicode" || lower == "1200" || lower == "utf-16")
        set = CharacterSet::Utf16LE;
    else if (lower == "1201")
        set = CharacterSet::Utf16BE;
    else
        return false;
    return true;
}

bool parseFormat(std::string_view value, char &delimiter)
{
    const std::string lower = asciiLower(trimmed(value));
    if (lower == "tabdelimited") {
        delimiter = '\t';
        return true;
    }
    if (lower == "csvdelimited") {
        delimiter = ',';
        return true;
    }
    // Delimited(x): any single character but the closing parenthesis.
    const std::string_view text = trimmed(value);
    if (lower.size() == 12 && lower.compare(0, 10, "delimited(") == 0 && lower[11] == ')') {
        delimiter = text[10];
        return delimiter != '\r' && delimiter != '\n';
    }
    return false;
}

} // namespace

SchemaIni::SchemaIni(std::string_view raw)
{
    std::string decoded = decodeText(std::string(raw), CharacterSet::Automatic);
    std::string_view text = decoded;
    int lineNumber = 0;
    Section *section = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        line = trimmed(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            const std::string_view name =
                trimmed(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            m_sections.push_back(Section{std::string(name), {}});
            section = &m_sections.back();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (section == nullptr || equals == std::string_view::npos)
            continue;
        section->entries.push_back(Entry{asciiLower(trimmed(line.substr(0, equals))),
                                         std::string(trimmed(line.substr(equals + 1))), lineNumber});
    }
}

bool SchemaIni::layoutFor(std::string_view fileName, TextLayout &layout, std::string &error) const
{
    layout = TextLayout();
    const Section *section = nullptr;
    for (const Section &candidate : m_sections)
        if (equalsIgnoringCase(candidate.name, fileName))
            section = &candidate;
    if (section == nullptr)
        return true;

    const auto fail = [&](const Entry &entry, const std::string &reason) {
        error = "schema.ini, section [" + section->name + "], line " + std::to_string(entry.line)
            + ": " + reason;
        return false;
    };

    std::map<long, TextLayout::Column> columns;
    for (const Entry &entry : section->entries) {
        const std::string &key = entry.key;
        const std::string &value = entry.value;
        if (key == "format") {
            if (asciiLower(value) == "fixedlength")
                return fail(entry, "Format=FixedLength is not supported; use TabDelimited, "
                                   "CSVDelimited or Delimited(x)");
            if (!parseFormat(value, layout.delimiter))
                return fail(entry, "unknown Format " + value
                                       + " (use TabDelimited, CSVDelimited or Delimited(x))");
        } else if (key == "colnameheader") {
            if (!parseBool(value, layout.header))
                return fail(entry, "ColNameHeader must be True or False, not " + value);
        } else if (key == "decimalsymbol") {
            if (value.size() != 1)
                return fail(entry, "DecimalSymbol must be one character, not \"" + value + "\"");
            layout.decimalSymbol = value[0];
        } else if (key == "textdelimiter") {
            if (equalsIgnoringCase(value, "none")) {
                layout.quoted = false;
            } else {
                // The character may itself be written in quotes ("'" or "\"").
                std::string_view symbol = value;
                if (symbol.size() == 3 && symbol.front() == symbol.back()
                    && (symbol.front() == '"' || symbol.front() == '\''))
                    symbol = symbol.substr(1, 1);
                if (symbol.size() != 1)
                    return fail(entry, "TextDelimiter must be one character or none, not "
                                           + value);
                layout.quoted = true;
                layout.textDelimiter = symbol[0];
            }
        } else if (key == "characterset") {
            if (asciiLower(value) == "oem")
                return fail(entry, "CharacterSet=OEM is not supported; save the file as ANSI "
                                   "or UTF-8");
            if (!parseCharacterSet(value, layout.characterSet))
                return fail(entry, "unknown CharacterSet " + value
                                       + " (use ANSI, UTF-8 or Unicode)");
        } else if (key.size() > 3 && key.compare(0, 3, "col") == 0
                   && isDigits(std::string_view(key).substr(3))) {
            const std::string digits = key.substr(3);
            if (digits.size() > 5 || std::stol(digits) < 1)
                return fail(entry, "Col" + digits + " is not a column number from 1 to 99999");
            TextLayout::Column column;
            std::string reason;
            if (!parseColumn(value, column, reason))
                return fail(entry, "Col" + digits + ": " + reason);
            columns[std::stol(digits)] = column;
        }
    }
    if (layout.quoted && layout.textDelimiter == layout.delimiter) {
        error = "schema.ini, section [" + section->name
            + "]: the text delimiter is the field delimiter";
        return false;
    }
    long expected = 1;
    for (const auto &[number, column] : columns) {
        if (number != expected) {
            error = "schema.ini, section [" + section->name + "]: Col"
                + std::to_string(expected) + " is missing (the columns are numbered from Col1 "
                + "without gaps)";
            return false;
        }
        layout.columns.push_back(column);
        ++expected;
    }
    return true;
}

std::string SchemaIni::find(const std::string &folder)
{
    std::error_code ec;
    const std::filesystem::path exact = std::filesystem::path(folder) / "schema.ini";
    if (std::filesystem::is_regular_file(exact, ec))
        return exact.string();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (equalsIgnoringCase(it->path().filename().string(), "schema.ini")
            && it->is_regular_file(ec))
            return it->path().string();
    }
    return {};
}

} // namespace zelvar
