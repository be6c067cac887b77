#include "results/DataSheet.h"

#include "data/DataSet.h"
#include "data/NumberText.h"

#include <algorithm>

namespace zelvar {

DataSheet::DataSheet(const DataSet &data, std::string decimalSeparator)
    : m_inputData(data.InputData), m_outputData(data.OutputData), m_inputs(std::max(data.NumInputs, 0)),
      m_outputs(std::max(data.NumOutputs, 0)), m_separator(std::move(decimalSeparator)),
      m_fileName(data.DataFileName)
{
    for (int d = 1; d <= data.NumDMU && static_cast<std::size_t>(d) < data.DMUNames.size(); ++d) {
        const std::string &name = data.DMUNames[static_cast<std::size_t>(d)];
        m_names.push_back(name.size() > 4 ? name.substr(4) : std::string());
    }
    m_headers.emplace_back("DMU");
    m_nonDiscretionary.push_back(0);
    for (int i = 1; i <= m_inputs; ++i) {
        m_headers.push_back(data.InputNames.at(static_cast<std::size_t>(i)));
        m_nonDiscretionary.push_back(data.InputNonDisc.at(static_cast<std::size_t>(i)) != 0 ? 1 : 0);
    }
    for (int r = 1; r <= m_outputs; ++r) {
        m_headers.push_back(data.OutputNames.at(static_cast<std::size_t>(r)));
        m_nonDiscretionary.push_back(data.OutputNonDisc.at(static_cast<std::size_t>(r)) != 0 ? 1 : 0);
    }
}

DataSheet::ColumnKind DataSheet::kind(int col) const
{
    if (col <= 0)
        return ColumnKind::Name;
    return col <= m_inputs ? ColumnKind::Input : ColumnKind::Output;
}

bool DataSheet::nonDiscretionary(int col) const
{
    return col >= 0 && col < columns() && m_nonDiscretionary[static_cast<std::size_t>(col)] != 0;
}

const std::string &DataSheet::header(int col) const
{
    static const std::string none;
    return col >= 0 && col < columns() ? m_headers[static_cast<std::size_t>(col)] : none;
}

std::string DataSheet::role(int col) const
{
    if (col <= 0 || col >= columns())
        return {};
    std::string role = kind(col) == ColumnKind::Input ? "input" : "output";
    if (nonDiscretionary(col))
        role += ", non-discretionary";
    return role;
}

double DataSheet::value(int row, int col) const
{
    if (row < 0 || row >= rows() || col <= 0 || col >= columns())
        return 0.0;
    return col <= m_inputs ? m_inputData(col, row + 1) : m_outputData(col - m_inputs, row + 1);
}

std::string DataSheet::text(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= columns())
        return {};
    if (col == 0)
        return m_names[static_cast<std::size_t>(row)];
    std::string number = numberToText(value(row, col));
    if (m_separator != ".")
        if (const std::size_t point = number.find('.'); point != std::string::npos)
            number.replace(point, 1, m_separator);
    return number;
}

} // namespace zelvar
