#pragma once

#include "data/Matrix.h"

#include <string>
#include <vector>

namespace zelvar {

struct DataSet;

// The loaded data as a read-only table: one row per DMU, the name column,
// then every input and every output in the data set's order. It keeps its
// own copy, so it stays as it was when another file is loaded later; the
// texts are formed when asked for, so a hundred thousand DMUs cost only
// their numbers.
class DataSheet {
public:
    enum class ColumnKind { Name, Input, Output };

    DataSheet(const DataSet &data, std::string decimalSeparator);

    [[nodiscard]] int rows() const { return static_cast<int>(m_names.size()); }
    [[nodiscard]] int columns() const { return 1 + m_inputs + m_outputs; }
    [[nodiscard]] const std::string &fileName() const { return m_fileName; }

    [[nodiscard]] ColumnKind kind(int col) const;
    [[nodiscard]] bool nonDiscretionary(int col) const;
    // The column's header as the file has it ("{IN}Floor space"); "DMU" for the names.
    [[nodiscard]] const std::string &header(int col) const;
    // "input", "output, non-discretionary", ...; empty for the names.
    [[nodiscard]] std::string role(int col) const;

    // Row 0 is DMU 1. Names without the table's four-character mark;
    // numbers as the shortest text that reads back as the same value.
    [[nodiscard]] std::string text(int row, int col) const;
    [[nodiscard]] double value(int row, int col) const;

private:
    std::vector<std::string> m_names;
    std::vector<std::string> m_headers; // by column
    std::vector<char> m_nonDiscretionary;
    Matrix m_inputData;
    Matrix m_outputData;
    int m_inputs = 0;
    int m_outputs = 0;
    std::string m_separator;
    std::string m_fileName;
};

} // namespace zelvar
