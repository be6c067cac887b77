#include "engine/TechnologyRows.h"

#include "data/DataSet.h"
#include "session/SelectionSet.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zelvar {

TechnologyRows::TechnologyRows(const DataSet &data, const SelectionSet &tech)
    : m_width(data.NumInputs + data.NumOutputs)
{
    m_rowOf.assign(static_cast<std::size_t>(data.NumDMU) + 1, -1);
    m_rank.assign(static_cast<std::size_t>(data.NumDMU) + 1, 0);
    int below = 0;
    for (int j = 1; j <= data.NumDMU; ++j) {
        m_rank[static_cast<std::size_t>(j)] = below;
        if (tech.selected(j)) {
            m_rowOf[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(m_dmu.size());
            m_dmu.push_back(j);
            ++below;
        }
    }
    const std::size_t rows = m_dmu.size();
    m_values.resize(rows * static_cast<std::size_t>(m_width));
    for (std::size_t k = 0; k < rows; ++k) {
        const int j = m_dmu[k];
        for (int i = 1; i <= data.NumInputs; ++i)
            m_values[static_cast<std::size_t>(i - 1) * rows + k] = -data.InputData(i, j);
        for (int r = 1; r <= data.NumOutputs; ++r)
            m_values[static_cast<std::size_t>(data.NumInputs + r - 1) * rows + k] = data.OutputData(r, j);
    }
    findCandidates();
}

// Sweep in the order of a key that never decreases from a dominated row to
// its dominator (a positive combination of the coefficients; rounding is
// monotone, so the computed key keeps that order), so every dominator of a
// row comes before it or shares its key. A row is then checked only against
// the candidates found so far and against the rows of its own key.
void TechnologyRows::findCandidates()
{
    const std::size_t rows = m_dmu.size();
    const auto width = static_cast<std::size_t>(m_width);

    // Scale each coefficient by its mean size so that no variable swamps the
    // key, and weigh the variables unequally so that integer data rarely ties.
    std::vector<double> factor(width, 1.0);
    for (std::size_t c = 0; c < width; ++c) {
        double sum = 0.0;
        for (std::size_t k = 0; k < rows; ++k)
            sum += std::fabs(m_values[c * rows + k]);
        const double mean = rows > 0 ? sum / static_cast<double>(rows) : 0.0;
        factor[c] = (mean > 0.0 ? 1.0 / mean : 1.0) * (1.0 + 0.1372 * static_cast<double>(c));
    }
    std::vector<double> key(rows, 0.0);
    for (std::size_t c = 0; c < width; ++c)
        for (std::size_t k = 0; k < rows; ++k)
            key[k] += factor[c] * m_values[c * rows + k];

    std::vector<std::int32_t> order(rows);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::int32_t a, std::int32_t b) { return key[static_cast<std::size_t>(a)] > key[static_cast<std::size_t>(b)]; });

    // Candidate rows found so far, row by row, for a cache-friendly check.
    std::vector<double> packed;
    std::vector<double> row(width);
    auto load = [&](std::int32_t k, double *out) {
        for (std::size_t c = 0; c < width; ++c)
            out[c] = m_values[c * rows + static_cast<std::size_t>(k)];
    };
    // a >= b everywhere: a's row implies b's.
    auto covers = [&](const double *a, const double *b) {
        for (std::size_t c = 0; c < width; ++c)
            if (!(a[c] >= b[c]))
                return false;
        return true;
    };

    m_isCandidate.assign(rows, 0);
    std::vector<double> other(width);
    std::size_t first = 0;
    while (first < rows) {
        std::size_t last = first;
        while (last < rows && key[static_cast<std::size_t>(order[last])] == key[static_cast<std::size_t>(order[first])])
            ++last;
        const std::size_t before = packed.size() / std::max<std::size_t>(width, 1);
        for (std::size_t a = first; a < last; ++a) {
            const std::int32_t k = order[a];
            load(k, row.data());
            bool implied = false;
            for (std::size_t p = 0; p < before && !implied; ++p)
                implied = covers(packed.data() + p * width, row.data());
            // Within one key: a dominator, or an exact duplicate earlier in DMU order.
            for (std::size_t b = first; b < last && !implied; ++b) {
                const std::int32_t q = order[b];
                if (q == k)
                    continue;
                load(q, other.data());
                if (covers(other.data(), row.data()))
                    implied = !covers(row.data(), other.data()) || q < k;
            }
            if (!implied)
                m_isCandidate[static_cast<std::size_t>(k)] = 1;
        }
        for (std::size_t a = first; a < last; ++a)
            if (m_isCandidate[static_cast<std::size_t>(order[a])]) {
                load(order[a], row.data());
                packed.insert(packed.end(), row.begin(), row.end());
            }
        first = last;
    }

    m_candidates.clear();
    for (std::size_t k = 0; k < rows; ++k)
        if (m_isCandidate[k])
            m_candidates.push_back(static_cast<std::int32_t>(k));
    const std::size_t count = m_candidates.size();
    m_candidateValues.resize(count * width);
    for (std::size_t c = 0; c < width; ++c)
        for (std::size_t p = 0; p < count; ++p)
            m_candidateValues[c * count + p] = m_values[c * rows + static_cast<std::size_t>(m_candidates[p])];
}

} // namespace zelvar
