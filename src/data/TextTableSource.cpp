#include "data/TextTableSource.h"

#include "data/NumberText.h"
#include "data/TextUtil.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace zelvar {

namespace {

// Splits decoded text into records of fields.
class DelimitedParser {
public:
    DelimitedParser(std::string_view text, const TextLayout &layout)
        : m_text(text), m_layout(layout)
    {
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    int line() const { return m_line; }

    // Skips lines holding nothing but blanks; false at the end of the text.
    bool skipBlankLines()
    {
        while (m_pos < m_text.size()) {
            std::size_t p = m_pos;
            while (p < m_text.size() && isPad(m_text[p]))
                ++p;
            if (p < m_text.size() && m_text[p] != '\n' && m_text[p] != '\r')
                return true;
            m_pos = p;
            skipLineEnd();
        }
        return false;
    }

    // Reads one record into fields[0 .. count-1].
    bool readRecord(std::vector<std::string> &fields, std::size_t &count, std::string &reason)
    {
        count = 0;
        const char delimiter = m_layout.delimiter;
        while (true) {
            if (fields.size() <= count)
                fields.emplace_back();
            std::string &field = fields[count++];
            field.clear();
            std::size_t p = m_pos;
            while (p < m_text.size() && isPad(m_text[p]))
                ++p;
            if (m_layout.quoted && p < m_text.size() && m_text[p] == m_layout.textDelimiter) {
                if (!readQuoted(p, field, reason))
                    return false;
            } else {
                const std::size_t start = p;
                while (p < m_text.size() && m_text[p] != delimiter && m_text[p] != '\n'
                       && m_text[p] != '\r')
                    ++p;
                std::size_t end = p;
                while (end > start && isPad(m_text[end - 1]))
                    --end;
                field.assign(m_text.data() + start, end - start);
                m_pos = p;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == delimiter) {
                ++m_pos;
                continue;
            }
            break;
        }
        skipLineEnd();
        return true;
    }

private:
    bool isPad(char c) const
    {
        return (c == ' ' || c == '\t') && c != m_layout.delimiter;
    }

    void skipLineEnd()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == '\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '\n')
            ++m_pos;
        ++m_line;
    }

    // A field opened by the text delimiter at p: doubled delimiters inside
    // stand for one; anything between the closing delimiter and the field
    // delimiter is kept as written.
    bool readQuoted(std::size_t p, std::string &field, std::string &reason)
    {
        const char quote = m_layout.textDelimiter;
        const int openedOn = m_line;
        ++p;
        while (true) {
            const std::size_t close = m_text.find(quote, p);
            if (close == std::string_view::npos) {
                reason = "the quoted field that begins on line " + std::to_string(openedOn)
                    + " is never closed";
                return false;
            }
            const std::string_view part = m_text.substr(p, close - p);
            for (char c : part)
                if (c == '\n')
                    ++m_line;
            field.append(part);
            if (close + 1 < m_text.size() && m_text[close + 1] == quote) {
                field += quote;
                p = close + 2;
                continue;
            }
            p = close + 1;
            break;
        }
        const std::size_t start = p;
        while (p < m_text.size() && m_text[p] != m_layout.delimiter && m_text[p] != '\n'
               && m_text[p] != '\r')
            ++p;
        std::size_t end = p;
        while (end > start && isPad(m_text[end - 1]))
            --end;
        field.append(m_text.substr(start, end - start));
        m_pos = p;
        return true;
    }

    std::string_view m_text;
    const TextLayout &m_layout;
    std::size_t m_pos = 0;
    int m_line = 1;
};

// Number of fields up to the last one that holds something.
std::size_t usedFields(const std::vector<std::string> &fields, std::size_t count)
{
    while (count > 0 && fields[count - 1].empty())
        --count;
    return count;
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

bool readFile(const std::string &path, std::string &bytes, std::string &reason)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        reason = "the file does not exist";
        return false;
    }
    if (std::filesystem::is_directory(path, ec)) {
        reason = "it is a folder, not a file";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        reason = "the file cannot be opened";
        return false;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        reason = "the file cannot be read";
        return false;
    }
    if (size > TextTableSource::MaxFileBytes) {
        reason = "the file is larger than 1 GiB";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        reason = "the file cannot be read";
        return false;
    }
    return true;
}

} // namespace

bool TextTableSource::read(std::string bytes, const TextLayout &layout, std::string &reason)
{
    const std::string text = decodeText(std::move(bytes), layout.characterSet);
    if (text.find('\0') != std::string::npos) {
        reason = "it is not a text file (it holds binary data)";
        return false;
    }

    DelimitedParser parser(text, layout);
    std::vector<std::string> fields;
    std::size_t count = 0;
    const std::size_t declared = layout.columns.size();

    std::vector<std::string> headerNames;
    if (layout.header && parser.skipBlankLines()) {
        if (!parser.readRecord(fields, count, reason))
            return false;
        if (count < declared) {
            reason = "schema.ini names " + std::to_string(declared)
                + " columns, but the header line has only " + std::to_string(count) + " fields";
            return false;
        }
        // Trailing empty headers (a delimiter at the end of the line) name nothing.
        count = usedFields(fields, count);
        headerNames.assign(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(count));
    }
    // With a header row the columns are known before the records.
    const std::size_t limit = layout.header ? std::max(declared, headerNames.size()) : 0;

    std::uint32_t records = 0;
    std::size_t widest = 0;    // fields up to the last one holding something
    std::size_t widestRaw = 0; // fields including empty ones at the end
    while (parser.skipBlankLines()) {
        const int line = parser.line();
        if (!parser.readRecord(fields, count, reason))
            return false;
        const std::size_t used = usedFields(fields, count);
        if (layout.header && used > limit) {
            reason = "line " + std::to_string(line) + " has " + std::to_string(used)
                + " fields, but the table has only " + std::to_string(limit) + " columns";
            return false;
        }
        if (used > CellTable::MaxColumns) {
            reason = "line " + std::to_string(line) + " has more than "
                + std::to_string(CellTable::MaxColumns) + " fields";
            return false;
        }
        widest = std::max(widest, used);
        widestRaw = std::max(widestRaw, count);
        for (std::size_t k = 0; k < used; ++k) {
            const std::string &field = fields[k];
            if (field.empty())
                continue;
            TextRef ref;
            if (!storeText(field, ref)) {
                reason = "the file holds more than 1 GiB of text";
                return false;
            }
            const auto column = static_cast<std::uint32_t>(k);
            const bool textColumn = k < declared && layout.columns[k].text;
            std::optional<double> number;
            if (!textColumn)
                number = parseNumber(field, layout.decimalSymbol);
            const bool stored =
                number ? addNumber(records, column, *number, ref) : addText(records, column, ref);
            if (!stored) {
                reason = "the file holds more than " + std::to_string(CellTable::MaxCells)
                    + " values";
                return false;
            }
        }
        ++records;
        if (records >= static_cast<std::uint32_t>(INT32_MAX)) {
            reason = "the file holds too many lines";
            return false;
        }
    }

    if (!layout.header && declared > widestRaw && records > 0) {
        reason = "schema.ini names " + std::to_string(declared)
            + " columns, but no line of the file has more than " + std::to_string(widestRaw)
            + " fields";
        return false;
    }
    const std::size_t fieldTotal = layout.header ? limit : std::max(declared, widest);
    std::vector<std::string> names(fieldTotal);
    for (std::size_t k = 0; k < fieldTotal; ++k) {
        if (k < declared)
            names[k] = layout.columns[k].name;
        else if (k < headerNames.size() && !headerNames[k].empty())
            names[k] = headerNames[k];
        else
            names[k] = defaultFieldName(k);
    }
    return finish(std::move(names), static_cast<int>(records), reason);
}

OpenedTable TextTableSource::open(const std::string &folder, const std::string &fileName)
{
    const std::string path = (folder.empty() ? std::string() : folder + "/") + fileName;
    OpenedTable opened;
    const auto fail = [&](const std::string &reason) {
        opened.error = "Cannot read " + path + ": " + reason + ".";
        return std::move(opened);
    };

    std::string bytes;
    std::string reason;
    if (!readFile(path, bytes, reason))
        return fail(reason);

    TextLayout layout;
    const std::string schemaPath = SchemaIni::find(folder.empty() ? "." : folder);
    if (!schemaPath.empty()) {
        std::string schemaText;
        if (!readFile(schemaPath, schemaText, reason))
            return fail("its schema.ini cannot be read");
        if (!SchemaIni(schemaText).layoutFor(fileName, layout, reason))
            return fail(reason);
    }

    auto table = std::make_unique<TextTableSource>();
    if (!table->read(std::move(bytes), layout, reason))
        return fail(reason);
    opened.table = std::move(table);
    return opened;
}

} // namespace zelvar
