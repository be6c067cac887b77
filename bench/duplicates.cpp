// Times runs on a file that repeats a few DMUs many times: 30,000 rows that
// alternate between two distinct DMUs (two inputs, one output), every one
// of them efficient and tied with its copies. Each run is timed whole, the
// results table included.
//
// Target: under 2 s for each model.
//
//   zelvar-bench-duplicates [ROWS]

#include "BenchData.h"
#include "engine/RunDriver.h"
#include "session/Workspace.h"
#include "results/ResultsTable.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace zelvar;

void fill(DataSet &data, int rows)
{
    data.NumDMU = rows;
    data.NumInputs = 2;
    data.NumOutputs = 1;
    data.DMUNames.assign(static_cast<std::size_t>(rows) + 1, "");
    data.InputNames = {"", "{I}a", "{I}b"};
    data.OutputNames = {"", "{O}p"};
    data.InputNonDisc.assign(3, 0);
    data.OutputNonDisc.assign(2, 0);
    data.InputData = Matrix(2, rows);
    data.OutputData = Matrix(1, rows);
    for (int d = 1; d <= rows; ++d) {
        const bool odd = d % 2 != 0;
        data.DMUNames[static_cast<std::size_t>(d)] = "    D" + std::to_string(d);
        data.InputData(1, d) = odd ? 3.0 : 2.0;
        data.InputData(2, d) = odd ? 2.0 : 3.0;
        data.OutputData(1, d) = odd ? 4.0 : 5.0;
    }
    data.DataFileName = "duplicates.txt";
    data.DataFileStem = "duplicates";
}

} // namespace

int main(int argc, char **argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 30000;
    std::printf("%d rows repeating two DMUs\n", rows);
    std::printf("| model | seconds |\n|---|---|\n");
    // Not FDH: its table lists, for each DMU, every copy that dominates it,
    // text that grows with the square of the rows here.
    for (const char *model : {"CRS_RAD_IN", "VRS_RAD_OUT", "CRS_ADD_NON", "VRS_MINAV_NON"}) {
        Workspace workspace;
        fill(workspace.data, rows);
        bench::setUpModel(workspace, model, 0);
        SelectionSet eval(rows, true);
        SelectionSet tech(rows, true);
        bench::StderrFeedback feedback;
        ResultsTable table(workspace.data, workspace.options, workspace.format);
        RunDriver driver(workspace);
        NoProgress progress;
        const auto start = std::chrono::steady_clock::now();
        (void)driver.RunModel(eval, tech, table, progress, feedback);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("| %s | %.2f |\n", model, seconds);
    }
    return 0;
}
