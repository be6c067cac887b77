#pragma once

#include "data/NumberText.h"
#include "data/TableSource.h"

#include <string>
#include <vector>

namespace zelvar::datatest {

inline std::string fixture(const std::string &name)
{
    return std::string(ZELVAR_FIXTURES) + "/" + name;
}

inline std::string example(const std::string &name)
{
    return std::string(ZELVAR_EXAMPLES) + "/" + name;
}

// A cell as a short text that says what kind it is: "12.5" for a number,
// "'abc'" for a text, "-" for no value.
inline std::string show(const FieldValue &value)
{
    switch (value.kind) {
    case FieldValue::Kind::Number:
        return numberToText(value.number);
    case FieldValue::Kind::Text:
        return "'" + value.text + "'";
    case FieldValue::Kind::Null:
        break;
    }
    return "-";
}

struct TableContents {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> records; // cells as show() writes them
};

inline TableContents contents(TableSource &table)
{
    TableContents result;
    for (int k = 0; k < table.fieldCount(); ++k)
        result.names.push_back(table.fieldName(k));
    table.moveFirst();
    for (int d = 0; d < table.recordCount(); ++d) {
        std::vector<std::string> record;
        for (int k = 0; k < table.fieldCount(); ++k)
            record.push_back(show(table.value(k)));
        result.records.push_back(record);
        table.moveNext();
    }
    return result;
}

// Opens a text table of a fixture folder.
inline OpenedTable openText(const std::string &folder, const std::string &file)
{
    return openTextTable(fixture(folder), file);
}

// Opens the sheet Data of a workbook.
inline OpenedTable openSheet(const std::string &path, const std::string &table = "Data")
{
    return openWorkbookSheet(path, table);
}

} // namespace zelvar::datatest
