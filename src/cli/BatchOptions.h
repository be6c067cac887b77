#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelvar {

// What zelvar-batch was asked to do.
struct BatchOptions {
    std::string dataFile;
    std::string model = "CRS_RAD_IN";
    bool superefficiency = true;
    std::string weightsFile;     // empty: no weight restrictions
    std::string pricesFile;      // empty: no prices (the cost and revenue models need them)
    std::string evalList;        // "1-4,7"; empty: every DMU
    std::string techList;
    int windowPeriods = 0;       // window analysis when > 0
    int windowWidth = 0;
    int malmquistPeriods = 0;    // Malmquist series when > 0
    int malmquistIndexPeriods = 0; // the Malmquist index alone when > 0
    bool scale = false;          // the scale-efficiency table instead of the score table
    std::vector<int> decimals{2, 2, 2, 2}; // score, weights, intensities, slacks
    bool pureWeights = false;
    std::string outDir;          // empty: tables go to standard output
    std::string format = "txt";  // txt, csv or xlsx: the tables' form and the files' extension
    int threads = 0;             // threads evaluating DMUs; 0 = one per core
};

// A list of DMU numbers and ranges such as "1-4,7" for DMUs 1..numDMU:
// the selected numbers, or an error text naming the offending piece.
struct DmuListResult {
    std::vector<int> dmus;
    std::string error;
};
[[nodiscard]] DmuListResult parseDmuList(const std::string &list, int numDMU);

// "PERIODS:WIDTH" of --window.
[[nodiscard]] std::optional<std::pair<int, int>> parseWindow(const std::string &text);

} // namespace zelvar
