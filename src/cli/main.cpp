// zelvar-batch: the models of the desktop application without windows.

#include "cli/BatchRun.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <string>

namespace {

// A whole number from `lowest` to `highest`; a refusal says so in words
// (CLI11's own range check prints the largest double in full).
CLI::Validator wholeNumber(long long lowest, long long highest)
{
    const std::string range = std::to_string(lowest) + " to " + std::to_string(highest);
    return CLI::Validator(
        [lowest, highest, range](std::string &text) -> std::string {
            long long value = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
                return text + " is not a whole number from " + range;
            return {};
        },
        "from " + range);
}

} // namespace

int main(int argc, char **argv)
{
    zelvar::BatchOptions options;
    std::string window;
    std::string decimals = "2,2,2,2";

    CLI::App app{"Computes DEA and FDH efficiency tables from a data file, the way the Zelvar "
                 "desktop application does, and writes each run's results table as text "
                 "(cells separated by TAB, rows by CR, the file ending in CR LF).",
                 "zelvar-batch"};
    app.add_option("DATAFILE", options.dataFile,
                   "Data file: a workbook whose path contains .xls (sheet Data; .xlsx too) or a "
                   "text table whose path contains .txt, laid out by the schema.ini of its folder. "
                   "First column: DMU names; other headers marked {I} input, {O} output, "
                   "{IN}/{ON} non-discretionary.")
        ->required();
    app.add_option("--model", options.model,
                   "Model name: {CRS,VRS,NDR,NIR}_{RAD,ADD,MAXAV,MINAV}_{IN,OUT,NON}, FDH_RAD_IN "
                   "or FDH_RAD_OUT; with --prices also {CRS,VRS,NDR,NIR}_COST_IN and "
                   "{CRS,VRS,NDR,NIR}_REV_OUT")
        ->capture_default_str();
    app.add_flag("--no-super{false}", options.superefficiency,
                 "Superefficiency off: efficient DMUs of radial models show 100% and weights are "
                 "normalised");
    app.add_option("--weights", options.weightsFile,
                   "Weight restriction file (sheet Weights of a .xls workbook, or a .txt table): "
                   "a remarks column, then one coefficient column per input and output weight; "
                   "each row means sum(coefficient * weight) >= 0");
    app.add_option("--prices", options.pricesFile,
                   "Prices file (sheet Prices of a .xls/.xlsx workbook, or a .txt table): a label column, "
                   "then one price column per input and per output; one row for every DMU or one row per "
                   "DMU. Needed by the cost and revenue models");
    app.add_option("--eval", options.evalList, "DMUs to evaluate, e.g. 1-4,7 (default: all)");
    app.add_option("--tech", options.techList,
                   "DMUs that span the technology, e.g. 1-20 (default: all)");
    app.add_option("--window", window,
                   "Window analysis: PERIODS:WIDTH, one run per window of WIDTH consecutive periods");
    app.add_option("--malmquist", options.malmquistPeriods,
                   "Malmquist series over PERIODS periods: period t evaluated against period t+1")
        ->check(wholeNumber(1, 1000000000));
    app.add_option("--malmquist-index", options.malmquistIndexPeriods,
                   "The Malmquist index over PERIODS periods (efficiency change, technical change, pure "
                   "and scale efficiency change) of a radial IN or OUT model, printed alone; "
                   "--eval and --tech are not used")
        ->check(wholeNumber(2, 1000000000));
    app.add_flag("--scale", options.scale,
                 "Scale efficiency of a radial IN or OUT model: CRS, VRS, their ratio and the returns "
                 "to scale of each evaluated DMU, printed instead of the score table");
    app.add_option("--decimals", decimals,
                   "Decimals of score, weights, intensities and slacks, each 1..8")
        ->capture_default_str();
    app.add_option("--threads", options.threads,
                   "Threads evaluating DMUs (0: one per core); the tables are the same for any number")
        ->check(wholeNumber(0, 1024))
        ->capture_default_str();
    app.add_flag("--pure-weights", options.pureWeights,
                 "Show pure weights instead of virtual inputs and outputs");
    app.add_option("--out", options.outDir,
                   "Folder for the tables, one file per run named after the run's caption plus "
                   ".txt (default: all tables to standard output)");
    app.add_option("--format", options.format,
                   "Form of the tables: txt (as saved by the application), csv (RFC 4180, "
                   "\".\" decimal point) or xlsx (Excel workbook; needs --out); the files' extension "
                   "follows it")
        ->check(CLI::IsMember({"txt", "csv", "xlsx"}))
        ->capture_default_str();
    app.footer(
        "Exit status: 0 every run completed; 1 a data or option error prevented the runs; 3 a "
        "run stopped early (a solver failure).\n\n"
        "Examples:\n"
        "  zelvar-batch examples/banks.txt\n"
        "  zelvar-batch --model VRS_RAD_OUT --no-super --eval 1-10 examples/banks.xlsx\n"
        "  zelvar-batch --weights examples/banks-weights.txt --out results examples/banks.txt\n"
        "  zelvar-batch --window 4:2 --out results examples/banks.txt");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : zelvar::BatchInputError;
    }

    if (!window.empty()) {
        const auto parsed = zelvar::parseWindow(window);
        if (!parsed) {
            std::cerr << "--window takes PERIODS:WIDTH, two positive whole numbers (e.g. 4:2).\n";
            return zelvar::BatchInputError;
        }
        options.windowPeriods = parsed->first;
        options.windowWidth = parsed->second;
    }
    options.decimals.clear();
    std::size_t start = 0;
    while (start <= decimals.size()) {
        const std::size_t comma = decimals.find(',', start);
        const std::string piece = decimals.substr(start, comma - start);
        try {
            std::size_t used = 0;
            options.decimals.push_back(std::stoi(piece, &used));
            if (used != piece.size())
                throw std::invalid_argument(piece);
        } catch (const std::exception &) {
            std::cerr << "--decimals takes four numbers: score, weights, intensities, slacks (e.g. 2,2,2,2).\n";
            return zelvar::BatchInputError;
        }
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }

    return zelvar::runBatch(options, std::cout, std::cerr);
}
