#pragma once

#include <cstdint>
#include <vector>

namespace zelvar {

// The frame of a technology: the candidate rows whose DMUs are extreme points
// of the technology's convex hull with free disposal. A row
// c_j . w + s u0 <= 0 (c_j the DMU's inputs negated and its outputs) is
// linear in the DMU's data, so the row of a DMU that some convex combination
// of frame DMUs dominates is implied by their rows for any nonnegative
// weights and any u0: under every returns to scale, with or without weight
// restrictions. An LP whose frame rows hold thus satisfies every technology
// row, and the frame is far smaller than the set of undominated candidates.
//
// Under constant returns (cone) the frame is that of the cone the DMUs span
// with free disposal: its extreme rays, fewer still; a cone combination of
// frame DMUs implies every row that has no u0.
//
// candidateColumns: the candidates' coefficients column by column (c of
// candidate p at [c * count + p]), the first `inputs` of them inputs negated.
// threads: how many may work at once (the frame is the same for any number).
// From splitFrom candidates on, the frame is found half by half.
// Returns positions in the candidates, ascending.
[[nodiscard]] std::vector<std::int32_t> technologyFrame(const double *candidateColumns, std::size_t count, int width,
                                                        int inputs, bool cone, int threads,
                                                        std::size_t splitFrom = 8192);

} // namespace zelvar
