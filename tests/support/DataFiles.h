#pragma once

#include "data/NumberText.h"
#include "data/TableSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>


namespace zelvar::test {

inline std::string fixture(const std::string &name) { return std::string(ZELVAR_FIXTURES) + "/" + name; }
inline std::string example(const std::string &name) { return std::string(ZELVAR_EXAMPLES) + "/" + name; }

// A cell as a short text that says what kind it is: a number in its shortest
// form, followed by the source's own text when that differs ("1(TRUE)"), a
// text in quotes ('abc'), no value as "-".
inline std::string show(const FieldValue &value)
{
    const std::string number = numberToText(value.number);
    if (value.kind != FieldValue::Kind::Number)
        return value.isNull() ? "-" : "'" + value.text + "'";
    return value.text.empty() || value.text == number ? number : number + "(" + value.text + ")";
}

// A fixture or example file as a table: a text table laid out by its
// folder's schema.ini when the name ends in .txt, else the sheet Data.
inline OpenedTable openTable(const std::string &path)
{
    const auto slash = path.rfind('/');
    return path.ends_with(".txt") ? openTextTable(path.substr(0, slash), path.substr(slash + 1))
                                  : openWorkbookSheet(path, "Data");
}

// A table as rows of cells joined by "|": the field names, then every record;
// a table that could not be opened as its error alone. Walking the records
// also checks the cursor: numbered from 1, and no record after the last.
inline std::vector<std::string> rowsOf(const OpenedTable &opened)
{
    if (!opened.table)
        return {"error: " + opened.error};
    TableSource &table = *opened.table;
    std::vector<std::string> rows(1);
    for (int k = 0; k < table.fieldCount(); ++k)
        rows[0] += (k ? "|" : "") + table.fieldName(k);
    table.moveFirst();
    for (int d = 1; d <= table.recordCount(); ++d) {
        EXPECT_EQ(table.currentRecord(), d);
        rows.emplace_back();
        for (int k = 0; k < table.fieldCount(); ++k)
            rows.back() += (k ? "|" : "") + show(table.value(k));
        EXPECT_EQ(table.moveNext(), d < table.recordCount());
    }
    return rows;
}

// The cases of a case file under fixtures: one a line, its fields separated
// by " | "; blank lines and lines starting with # are comments.
inline std::vector<std::vector<std::string>> caseLines(const std::string &name)
{
    std::vector<std::vector<std::string>> cases;
    std::ifstream in(fixture(name));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> &fields = cases.emplace_back();
        for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 3)
            fields.push_back(line.substr(at, (end = line.find(" | ", at)) - at));
    }
    return cases;
}

// A case of fixtures/refused-files.txt: the command that reads the file
// ("data" or "weights"), the outcome, the file, and the message with the
// file's path for "{path}" and a line break for "\n".
struct RefusedFile {
    std::string reader, outcome, path, message;
};
inline void PrintTo(const RefusedFile &c, std::ostream *out) { *out << c.reader << " " << c.path; }

inline std::vector<RefusedFile> refusedFiles()
{
    std::vector<RefusedFile> cases;
    for (std::vector<std::string> &c : caseLines("refused-files.txt")) {
        c.resize(4);
        const std::string path = fixture(c[2]);
        const std::string message = std::regex_replace(c[3], std::regex(R"(\{path\})"), path);
        cases.push_back({c[0], c[1], path, std::regex_replace(message, std::regex(R"(\\n)"), "\n")});
    }
    return cases;
}

} // namespace zelvar::test
