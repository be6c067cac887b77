#pragma once

#include "data/CellTable.h"
#include "data/SchemaIni.h"

#include <string>
#include <string_view>

namespace zelvar {

// A delimited text file read as a table, laid out as the schema.ini of its
// folder says (comma-delimited with a header row when it says nothing).
// Fields may be enclosed in the text delimiter, with delimiters, line breaks
// and doubled delimiters inside; lines end in CRLF, LF or CR; blank lines are
// skipped. An empty field is no value; a field that reads as a number with
// the decimal symbol in force is a number (unless its column is declared
// Text), any other is text.
class TextTableSource : public CellTable {
public:
    // Opens `folder`/`fileName`. On failure the table is empty and the error
    // reads "Cannot read <path>: <reason>."
    [[nodiscard]] static OpenedTable open(const std::string &folder, const std::string &fileName);

    // Reads text already in memory with the given layout (file bytes, before
    // decoding). Returns false with a reason on failure.
    [[nodiscard]] bool read(std::string bytes, const TextLayout &layout, std::string &reason);

    // Largest text file read: 1 GiB.
    static constexpr std::size_t MaxFileBytes = std::size_t{1} << 30;
};

} // namespace zelvar
