#include "results/CellHints.h"

#include "results/ResultsTable.h"

namespace zelvar {

namespace {

constexpr const char *BigHint =
    "big: this DMU's linear program has no finite optimum, so it has no score. Typically a "
    "superefficient DMU that no other technology DMU can envelop: no combination of them uses as "
    "little input (or makes as much output).";
constexpr const char *OutsideHint =
    "{X}: this DMU was evaluated outside the technology: it was not among the technology DMUs it "
    "was measured against, so its score can pass 100% (input orientation) or stay below it "
    "(output orientation).";
constexpr const char *BenchmarksHint =
    "Benchmarks of an inefficient DMU: the efficient DMUs it is compared with, each with its "
    "intensity. 7 (0.75) means 0.75 times DMU 7; together they make the point on the frontier.";
constexpr const char *ReferenceHint =
    "Reference count of an efficient DMU: how many evaluated DMUs have it among their benchmarks.";
constexpr const char *OutputScoreHint =
    "Output orientation: the score is the factor by which this DMU's outputs could grow with the "
    "same inputs. Over 100% means inefficient (125% = 25% more output possible); 100% is "
    "efficient, and with superefficiency an efficient DMU shows less than 100%.";
constexpr const char *SuperScoreHint =
    "Superefficiency: an efficient DMU's score passes 100% by the share its inputs could grow "
    "before another DMU (or a combination) does better.";

bool headerHas(const std::string &header, const char *marker) { return header.find(marker) != std::string::npos; }

// The columns of a cost or revenue table.
std::string pricedHint(const ResultsTable &table, int col)
{
    const bool cost = table.options().Distance == ModelDistance::COST;
    if (col == 2)
        return cost ? "Cost efficiency: the least cost of this DMU's discretionary inputs at its prices, over "
                      "what they cost as observed. 100% is efficient; it is Technical times Allocative."
                    : "Revenue efficiency: this DMU's observed revenue from its discretionary outputs at its "
                      "prices, over the most it could earn. 100% is efficient; it is Technical times Allocative.";
    if (col == 3)
        return cost ? "Technical: the radial input score of the same returns to scale, without superefficiency."
                    : "Technical: 1 over the radial output factor of the same returns to scale, without "
                      "superefficiency.";
    if (col == 4)
        return cost ? "Allocative: Score / Technical, how well this DMU's mix of inputs suits its prices; "
                      "100% is the cheapest mix."
                    : "Allocative: Score / Technical, how well this DMU's mix of outputs suits its prices; "
                      "100% is the best-paid mix.";
    if (col == table.benchmarksColumn())
        return cost ? "Benchmarks: the DMUs of the cost-minimising plan, each with its intensity; 7 (0.75) = "
                      "0.75 times DMU 7."
                    : "Benchmarks: the DMUs of the revenue-maximising plan, each with its intensity; 7 (0.75) = "
                      "0.75 times DMU 7.";
    if (col > 4 && col < table.benchmarksColumn())
        return cost ? "{*}: this input in the cost-minimising plan; a non-discretionary input keeps its "
                      "observed value."
                    : "{*}: this output in the revenue-maximising plan; a non-discretionary output keeps its "
                      "observed value.";
    return {};
}

} // namespace

std::string headerHint(const ResultsTable &table, int col)
{
    const ModelOptions &options = table.options();
    if (options.priced())
        return pricedHint(table, col);
    if (col == 2) {
        if (table.fdh())
            return "Score of the free disposal hull: 100% for a DMU no other DMU dominates; otherwise the "
                   "best radial factor a single dominating DMU offers.";
        if (options.Distance == ModelDistance::ADD)
            return "Score of the additive model: the sum of the slacks, in the data's units; 0 is efficient.";
        if (options.Orientation == ModelOrientation::OUT)
            return OutputScoreHint;
        return "Score: 100% is efficient; an inefficient DMU could reach the frontier with this share "
               "of its inputs. With superefficiency an efficient DMU can pass 100%.";
    }
    if (col == table.benchmarksColumn())
        return "Benchmarks: for an inefficient DMU its benchmarks with their intensities, 7 (0.75) = "
               "0.75 times DMU 7; for an efficient DMU (cyan) the number of DMUs that use it as a benchmark.";
    if (table.fdh()) {
        switch (col) {
        case 4:
            return "No. Dominated: how many technology DMUs dominate this DMU (use no more of any input and "
                   "make no less of any output).";
        case 5:
            return "Dominated: the technology DMUs that dominate this DMU.";
        case 6:
            return "No. Dominating: how many evaluated DMUs this DMU dominates.";
        case 7:
            return "Dominating: the evaluated DMUs this DMU dominates.";
        default:
            return {};
        }
    }
    const std::string &header = table.grid().text(0, col);
    if (headerHas(header, "{V}"))
        return "{V}: virtual weight, the weight times this DMU's own value; the virtual inputs (and "
               "outputs) of a DMU add up to its weighted sum.";
    if (headerHas(header, "{W}"))
        return "{W}: pure weight of this input or output, in the data's units.";
    if (headerHas(header, "{S}"))
        return "{S}: slack, how much of this input could still be saved (or output added) beyond the "
               "radial score, in the data's units.";
    if (headerHas(header, "{F/S}"))
        return "{F/S}: the efficiency factor of the input or output the min-average model acts on, "
               "or a slack in the data's units.";
    if (headerHas(header, "{F}"))
        return "{F}: efficiency factor of this input or output: the share it could shrink to (input) "
               "or grow to (output).";
    return {};
}

std::string cellHint(const ResultsTable &table, int row, int col)
{
    const TextGrid &grid = table.grid();
    if (row < 1 || row >= grid.rows() || col < 1 || col >= grid.cols())
        return {};
    const std::string &text = grid.text(row, col);
    if (text.empty())
        return {};
    if (col == 1)
        return text.rfind("{X}", 0) == 0 ? OutsideHint : std::string();
    if (text == "big")
        return BigHint;
    if (table.options().priced())
        return col == table.benchmarksColumn() ? pricedHint(table, col) : std::string();
    if (col == table.benchmarksColumn()) {
        // An efficient DMU's cell holds its reference count; an inefficient
        // one's its benchmarks (an FDH DMU without a score: why).
        if (table.number(row, col))
            return ReferenceHint;
        return table.fdh() && text.find('(') == std::string::npos ? std::string() : BenchmarksHint;
    }
    if (col == 2) {
        const std::optional<CellNumber> score = table.number(row, col);
        if (!score || score->style != NumberStyle::Percent || score->value <= 1.0)
            return {};
        const ModelOptions &options = table.options();
        if (options.Orientation == ModelOrientation::OUT)
            return OutputScoreHint;
        if (options.Orientation == ModelOrientation::IN && options.radial())
            return SuperScoreHint;
        return {};
    }
    if (table.fdh() && (col == 5 || col == 7))
        return headerHint(table, col);
    return {};
}

} // namespace zelvar
