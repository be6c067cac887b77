#include "engine/ResultStore.h"

namespace zelvar {

void ResultStore::allocateResults(int numDMU, bool fdh)
{
    const auto size = static_cast<std::size_t>(numDMU < 0 ? 0 : numDMU) + 1;
    Score.assign(size, 0.0);
    Efficient.assign(size, 0);
    Benchmarks.assign(size, std::string());
    ReferenceCount.assign(size, 0);
    NoFiniteOptimum.assign(size, 0);
    NoScore.assign(size, 0);
    MinAvgBest.assign(size, 0.0);
    MinAvgVariable.assign(size, 0);
    SolverFailures = 0;
    // The dominance lists belong to FDH runs; other runs leave them as they are
    // and nothing reads them then.
    if (fdh) {
        DominatedCount.assign(size, 0);
    }
}

void ResultStore::allocatePriceResults(int numDMU)
{
    const auto size = static_cast<std::size_t>(numDMU < 0 ? 0 : numDMU) + 1;
    Technical.assign(size, std::nullopt);
    Allocative.assign(size, std::nullopt);
    TechnicalBig.assign(size, 0);
    PricedQuantities.clear();
}

} // namespace zelvar
