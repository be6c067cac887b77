#include "engine/LpProblem.h"

namespace zelvar {

void LpProblem::resize(int rows, int cols, int nonzeros)
{
    LpRows = rows;
    LpCols = cols;
    const auto all = static_cast<std::size_t>(rows + cols + 1);
    ColCount.assign(static_cast<std::size_t>(cols + 1), 0);
    RowIndex.assign(static_cast<std::size_t>(nonzeros + 1), 0);
    ColValue.assign(static_cast<std::size_t>(nonzeros + 1), 0.0);
    Rhs.assign(static_cast<std::size_t>(rows + 1), 0.0);
    Obj.assign(static_cast<std::size_t>(cols + 1), 0.0);
    LowerBound.assign(all, 0.0);
    UpperBound.assign(all, 0.0);
    Primal.assign(all, 0.0);
    Dual.assign(all, 0.0);
    VarStatus.assign(all, 0);
}

} // namespace zelvar
