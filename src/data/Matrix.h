#pragma once

#include <cstddef>
#include <vector>

namespace zelvar {

// A dense matrix of doubles indexed from 1 in both dimensions, the way the
// whole program counts inputs, outputs, DMUs and restriction rows. Row 0 and
// column 0 exist but are never used. The values of one column lie together:
// for InputData(i, d) the inputs of DMU d are contiguous.
class Matrix {
public:
    Matrix() = default;
    Matrix(int rows, int cols)
        : m_rows(rows), m_cols(cols),
          m_values(static_cast<std::size_t>(rows + 1) * static_cast<std::size_t>(cols + 1), 0.0)
    {
    }

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    bool empty() const { return m_rows == 0 || m_cols == 0; }

    double &operator()(int row, int col) { return m_values[index(row, col)]; }
    double operator()(int row, int col) const { return m_values[index(row, col)]; }

    // Address of element (1, col): the column's values follow one another.
    const double *column(int col) const { return m_values.data() + index(1, col); }

    friend bool operator==(const Matrix &, const Matrix &) = default;

private:
    std::size_t index(int row, int col) const
    {
        return static_cast<std::size_t>(col) * static_cast<std::size_t>(m_rows + 1)
            + static_cast<std::size_t>(row);
    }

    int m_rows = 0;
    int m_cols = 0;
    std::vector<double> m_values;
};

} // namespace zelvar
