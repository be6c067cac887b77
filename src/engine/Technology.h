#pragma once

#include <cstdint>
#include <vector>

namespace zelvar {

struct DataSet;
struct LpProblem;
struct ModelOptions;
class SelectionSet;

// Whether the LPs of a run carry the weight restriction rows: asked for, and
// the loaded table has one column per input and output of the data set. The
// run driver refuses to start when restrictions are asked for but do not fit,
// so inside a run this is simply options.RestrictWeights.
[[nodiscard]] bool restrictsWeights(const DataSet &data, const ModelOptions &options);

// The technology of the DMU under evaluation in an LP model: which DMUs span
// it, which LP row belongs to which DMU, and how much room the LP needs.
// All lists are indexed from 1.
struct Technology {
    std::int32_t NumTech = 0;
    std::vector<std::int32_t> TechDmu; // 1..NumTech: the technology DMUs, ascending; row k is TechDmu(k)
    std::vector<std::int32_t> TechPos; // 1..NumDMU: LP row of DMU j, 0 outside the technology
    std::int32_t TechNonzeros = 0;     // nonzero input and output values of the technology DMUs
    std::int32_t MatrixNonzeros = 0;   // TechNonzeros plus the restriction coefficients when restricted
    std::int32_t WeightRows = 0;       // restriction rows of the LP (0 unless restricted)

    // Rebuilds the members for evaluated DMU d (which the caller has made part
    // of tech) from the selection of tech, sets LpRows and LpCols and sizes
    // every array of lp afresh, all zero. The nonzero count of the restriction
    // table is taken from the table itself, so the LP arrays always fit it.
    void setupTechnology(int d, const DataSet &data, const ModelOptions &options,
                         const SelectionSet &tech, LpProblem &lp);
    // The members alone, for a caller that builds no LP from them (an LP of a
    // million technology rows is tens of megabytes).
    void setupMembers(const DataSet &data, const ModelOptions &options, const SelectionSet &tech);
};

} // namespace zelvar
