#pragma once

#include <string>
#include <vector>

namespace zelvar {

struct ModelOptions;
struct RunView;

// A DMU's score as its results table shows it.
struct ShownScore {
    enum class Kind {
        None,   // empty cell: no score could be formed
        Big,    // "big": the LP had no finite optimum
        Number, // value shown
    };
    Kind kind = Kind::None;
    double value = 0.0;  // the number behind the cell; a percentage's 1.0 is 100%
    bool percent = true; // false: the additive model's sum of slacks
};

// The score cell of DMU d as the run in `run` fills it.
[[nodiscard]] ShownScore shownScore(int d, const RunView &run);

// A DMU of a run on data of one input and one output, for the frontier picture.
struct PlotDmu {
    int dmu = 0;
    double x = 0.0; // the input
    double y = 0.0; // the output
    bool evaluated = false;
    bool technology = false;
    bool efficient = false;
};

// What a finished run leaves for its summary and charts. The result store
// belongs to the next run once this one has ended, so the table keeps this
// copy of it.
struct RunScores {
    struct Entry {
        int dmu = 0;
        ShownScore score;
        bool efficient = false;
    };
    // The evaluated DMUs whose rows the run filled, in DMU order.
    std::vector<Entry> evaluated;
    bool percent = true; // scores are percentages (all but the additive model)
    int decimals = 2;    // decimals of the score column
    std::string decimalSeparator = ".";
    std::string modelName;
    // Data of one input and one output only: every DMU evaluated or in the
    // technology, in DMU order; empty otherwise.
    std::vector<PlotDmu> plot;
    std::string inputName;
    std::string outputName;
};

// The scores of the DMUs d with filled[d] != 0, read from the run's store
// after its last fill operation.
[[nodiscard]] RunScores collectRunScores(const RunView &run, const std::vector<char> &filled);

// A score value as the table writes it ("87.50%", or "12.00" for the additive model).
[[nodiscard]] std::string scoreText(const RunScores &scores, double value);

} // namespace zelvar
