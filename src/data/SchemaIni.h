#pragma once

#include "data/TextDecoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelvar {

// How a delimited text table is laid out.
struct TextLayout {
    char delimiter = ',';
    bool header = true;          // first line names the columns
    char decimalSymbol = '.';
    bool quoted = true;          // fields may be enclosed in textDelimiter
    char textDelimiter = '"';
    CharacterSet characterSet = CharacterSet::Automatic;

    struct Column {
        std::string name;
        bool text = false; // declared Text / Char / Memo: values stay text
    };
    std::vector<Column> columns; // Col1..Coln as declared; empty when none
};

// The schema.ini of a folder: one section per text table, named after the
// file, written by hand as
//
//   [banks.txt]
//   Format=TabDelimited            (or CSVDelimited, Delimited(;))
//   ColNameHeader=True
//   CharacterSet=ANSI              (or UTF-8, 65001, 1252, Unicode)
//   DecimalSymbol=,
//   TextDelimiter=none
//   Col1="Branch" Text
//   Col2={I}Staff Double
//   Col3="{IN}Floor space" Char Width 20
//
// Section names and keys are matched ignoring case; unknown keys are ignored.
class SchemaIni {
public:
    // Parses schema.ini text (UTF-8 or Windows-1252).
    explicit SchemaIni(std::string_view text);

    // The layout for `fileName`: the defaults (comma-delimited, header row)
    // when there is no section for it. Returns false and says why in `error`
    // when the section cannot be used.
    [[nodiscard]] bool layoutFor(std::string_view fileName, TextLayout &layout,
                                 std::string &error) const;

    // Path of the schema.ini in `folder` (its name matched ignoring case),
    // empty when there is none.
    static std::string find(const std::string &folder);

private:
    struct Entry {
        std::string key;
        std::string value;
        int line;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> m_sections;
};

} // namespace zelvar
