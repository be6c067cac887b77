#pragma once

namespace zelvar {

// What the solver says of one LP (LpProblem::SolverCode, LpOutcome::code).
// Optimal and NoFiniteOptimum are answers about the LP; every other code is a
// failure of the solver, which the user sees as its number.
namespace SolverCode {
inline constexpr int Optimal = 2;          // finite optimum found
inline constexpr int NoFiniteOptimum = 3;  // primal infeasible, or unbounded
inline constexpr int IterationLimit = 4;   // stopped on the iteration limit
inline constexpr int NumericalTrouble = 5; // gave up (numerical difficulties)
inline constexpr int InvalidProblem = 6;   // the record is inconsistent (an array too
                                           // short, counts not adding up, a row
                                           // outside 1..m) or holds a value that is
                                           // not finite or beyond MaxMagnitude
inline constexpr int LibraryError = 7;     // the library raised an error (out of memory)
} // namespace SolverCode

} // namespace zelvar
