#pragma once

#include <string>

namespace zelvar {

struct LpProblem;

// How the solver works, read from an optional parameter file bpmpd.par.
// "SMETHOD1 = 0" selects the second, more robust method.
struct SolverSettings {
    bool robustMethod = false;

    // Settings from the parameter file at path; defaults when it is missing
    // or says nothing we know.
    static SolverSettings fromFile(const std::string &path);
    // Settings from the first bpmpd.par found in the places the README names.
    static SolverSettings fromStandardPlaces();
};

// Solves LpProblem records with COIN-OR CLP: minimises Obj . x under the
// row convention and the column bounds (+-Big = open) and fills Primal, Dual,
// VarStatus, SolverCode and ObjValue. Prints nothing.
class LpSolver {
public:
    explicit LpSolver(SolverSettings settings = {});

    void bpmpd(LpProblem &lp);

    // A row counts as tight (VarStatus 0) when its activity is within this
    // distance of a finite bound, relative to the bound's size.
    static constexpr double TightTolerance = 1e-9;

private:
    SolverSettings m_settings;
};

} // namespace zelvar
