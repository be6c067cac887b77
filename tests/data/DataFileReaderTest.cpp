#include "support/DataFiles.h"
#include "support/ResultsSupport.h"
#include "support/TestSupport.h"

#include "data/DataFileReader.h"
#include "data/WeightsReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelvar::test {
namespace {

using testing::ElementsAre;
using Outcome = DataReadResult::Outcome;

DataSet load(const std::string &path)
{
    DataReadResult result = readDataFile(path);
    EXPECT_EQ(result.outcome, Outcome::Loaded) << result.message;
    EXPECT_EQ(std::pair(result.message, result.data.DataFileName), std::pair(std::string(), path));
    return std::move(result.data);
}

TEST(DataFileReader, InputsAndOutputsAreNumberedInTheirOwnOrder)
{
    // DMU, {O}Loans, {I}Staff, {IN}Area, {O}Deposits; the second name cell is
    // empty, the third holds the number 17. DMU 3: 130, 9, 350, 260.
    for (const char *file : {"text/order.txt", "workbooks/order.xls", "workbooks/order.xlsx"}) {
        SCOPED_TRACE(file);
        const DataSet data = load(fixture(file));
        EXPECT_THAT(data.InputNames, ElementsAre("", "{I}Staff", "{IN}Area"));
        EXPECT_THAT(data.OutputNames, ElementsAre("", "{O}Loans", "{O}Deposits"));
        EXPECT_THAT(data.InputNonDisc, ElementsAre(0, 0, 1));
        EXPECT_THAT(data.OutputNonDisc, ElementsAre(0, 0, 0));
        EXPECT_THAT(data.DMUNames, ElementsAre("", "    North", "    ", "    17"));
        EXPECT_EQ(std::vector({data.InputData(1, 3), data.InputData(2, 3), data.OutputData(1, 3), data.OutputData(2, 3)}),
                  std::vector({9.0, 350.0, 130.0, 260.0}));
    }
}

TEST(DataFileReader, TheFirstXlsOrTxtInThePathIgnoringCaseTellsTheFormatAndEndsTheStem)
{
    EXPECT_EQ(load(fixture("workbooks/BANK.XLS")).DataFileStem, fixture("workbooks/BANK"));
    EXPECT_EQ(load(fixture("a.xls.d/b.txt")).DataFileStem, fixture("a")); // a workbook in a folder a.xls.d
    // A column declared Text: its cells are numbers all the same, a name keeps its text.
    const DataSet text = load(fixture("text/text-columns.txt"));
    EXPECT_EQ(text.DMUNames[1], "    0017");
    EXPECT_EQ(std::pair(text.InputData(1, 1), text.OutputData(1, 1)), std::pair(12.0, 30.0));
}

class WeightsReader : public testing::TestWithParam<std::tuple<const char *, int, std::vector<std::vector<double>>>> {};

// One restriction per row, one coefficient per input and output weight; an empty cell is 0 and not counted.
TEST_P(WeightsReader, ReadsEveryRestriction)
{
    const auto &[file, weights, rows] = GetParam();
    const std::string path = fixture(file);
    const WeightsReadResult result = readWeightsFile(path, weights);
    ASSERT_EQ(result.outcome, WeightsReadResult::Outcome::Loaded) << result.message;
    DataSet expected;
    addWeights(expected, rows);
    EXPECT_EQ(result.WeightRestrictions, expected.WeightRestrictions);
    EXPECT_EQ(std::pair(result.NumWeightRows, result.WeightNonzeros), std::pair(expected.NumWeightRows, expected.WeightNonzeros));
    EXPECT_EQ(result.WeightsName, std::filesystem::path(path).stem());
}

// The sample: u(Loans) - 0.5 u(Deposits) >= 0, -0.5 u(Loans) + u(Deposits) >= 0, v(Staff) - 20 v(Floor space) >= 0.
// weights.txt: the same, the second row all empty cells, the last with empty and zero cells.
const std::vector<std::vector<double>> Sample = {{0, 0, 1, -0.5}, {0, 0, -0.5, 1}, {1, -20, 0, 0}};
using W = std::tuple<const char *, int, std::vector<std::vector<double>>>;

INSTANTIATE_TEST_SUITE_P(Table, WeightsReader,
                         testing::Values(W{"../../examples/banks-weights.txt", 4, Sample},
                                         W{"../../examples/banks-weights.xls", 4, Sample},
                                         W{"text/weights.txt", 4, {{0, 0, 1, -0.5}, {0, 0, 0, 0}, {1, -20, 0, 0}}},
                                         W{"text/weights-3-columns.txt", 3, {{1, 2, 3}}}));

// Damaged, foreign, malicious and merely wrong files, listed with their
// messages in fixtures/refused-files.txt: each ends in a message that names
// the file and the reason, never in a crash (these tests also run under the
// address and undefined behaviour sanitizers).
class RefusedFiles : public testing::TestWithParam<RefusedFile> {};

TEST_P(RefusedFiles, AreRefusedWithTheirPathAndTheReason)
{
    const RefusedFile &c = GetParam();
    if (c.reader == "weights") { // for the bank sample's 2 inputs and 2 outputs
        const WeightsReadResult result = readWeightsFile(c.path, 4);
        EXPECT_EQ(std::tuple(c.outcome, result.outcome, result.NumWeightRows),
                  std::tuple("Failed", WeightsReadResult::Outcome::Failed, 0));
        EXPECT_EQ(result.message, c.message);
        EXPECT_TRUE(result.WeightRestrictions.empty());
        return;
    }
    ASSERT_TRUE(c.outcome == "Refused" || c.outcome == "NoData") << c.outcome;
    const DataReadResult result = readDataFile(c.path);
    EXPECT_EQ(result.outcome, c.outcome == "NoData" ? Outcome::NoData : Outcome::Refused);
    EXPECT_EQ(result.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(CaseFile, RefusedFiles, testing::ValuesIn(refusedFiles()));

// Every prefix of a good workbook (cut every 97 bytes) is refused with its
// path; 60 copies with 8 bytes changed at random are read whole or refused.
TEST(DamagedWorkbooks, AreReadOrRefusedAndNeverCrash)
{
    const ScratchFolder folder;
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (const char *name : {"banks.xls", "banks.xlsx"}) {
        const std::string good = (std::ostringstream() << std::ifstream(example(name), std::ios::binary).rdbuf()).str();
        const std::size_t cuts = (good.size() + 96) / 97;
        for (std::size_t k = 0; k < cuts + 60; ++k) {
            std::string copy = good.substr(0, k < cuts ? k * 97 : good.size());
            for (int changed = 0; k >= cuts && changed < 8; ++changed)
                copy[next() % copy.size()] = static_cast<char>(next() & 0xFF);
            const std::string path = folder.path(name);
            std::ofstream(path, std::ios::binary) << copy;
            const DataReadResult result = readDataFile(path);
            const DataSet &data = result.data;
            const bool loaded = result.outcome == Outcome::Loaded;
            SCOPED_TRACE(std::string(name) + ", damaged copy " + std::to_string(k) + ": " + result.message);
            EXPECT_TRUE(k < cuts ? !loaded && result.message.starts_with("Cannot read " + path + ": ")
                        : !loaded ? !result.message.empty()
                                  : data.InputData.cols() == data.NumDMU && data.OutputData.cols() == data.NumDMU
                                        && std::ssize(data.DMUNames) == data.NumDMU + 1);
        }
    }
}

} // namespace
} // namespace zelvar::test
