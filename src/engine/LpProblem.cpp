#include "engine/LpProblem.h"

#include <algorithm>

namespace zelvar {

void LpProblem::resize(int rows, int cols, int nonzeros)
{
    // A negative size can only come from a counting fault; an empty record is
    // then safer than a conversion to an enormous unsigned size.
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    nonzeros = std::max(nonzeros, 0);
    LpRows = rows;
    LpCols = cols;
    const auto all = static_cast<std::size_t>(rows) + static_cast<std::size_t>(cols) + 1;
    ColCount.assign(static_cast<std::size_t>(cols) + 1, 0);
    RowIndex.assign(static_cast<std::size_t>(nonzeros) + 1, 0);
    ColValue.assign(static_cast<std::size_t>(nonzeros) + 1, 0.0);
    Rhs.assign(static_cast<std::size_t>(rows) + 1, 0.0);
    Obj.assign(static_cast<std::size_t>(cols) + 1, 0.0);
    LowerBound.assign(all, 0.0);
    UpperBound.assign(all, 0.0);
    Primal.assign(all, 0.0);
    Dual.assign(all, 0.0);
    VarStatus.assign(all, 0);
}

} // namespace zelvar
