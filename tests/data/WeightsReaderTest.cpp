#include "DataTestSupport.h"

#include "data/WeightsReader.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using datatest::example;
using datatest::fixture;
using Outcome = WeightsReadResult::Outcome;

// The bank sample has 2 inputs and 2 outputs: 4 weights per restriction.
constexpr int BankWeights = 4;

TEST(WeightsReader, TheSampleRestrictionsReadTheSameFromTextAndWorkbook)
{
    for (const char *file : {"banks-weights.txt", "banks-weights.xls"}) {
        SCOPED_TRACE(file);
        const WeightsReadResult result = readWeightsFile(example(file), BankWeights);
        ASSERT_EQ(result.outcome, Outcome::Loaded) << result.message;
        EXPECT_EQ(result.WeightsName, "banks-weights");
        EXPECT_EQ(result.NumWeightRows, 3);
        ASSERT_EQ(result.WeightRestrictions.rows(), 4);
        ASSERT_EQ(result.WeightRestrictions.cols(), 3);
        // u(Loans) - 0.5 u(Deposits) >= 0; -0.5 u(Loans) + u(Deposits) >= 0;
        // v(Staff) - 20 v(Floor space) >= 0.
        const double expected[3][4] = {{0, 0, 1, -0.5}, {0, 0, -0.5, 1}, {1, -20, 0, 0}};
        for (int k = 1; k <= 3; ++k)
            for (int c = 1; c <= 4; ++c)
                EXPECT_EQ(result.WeightRestrictions(c, k), expected[k - 1][c - 1]) << c << "," << k;
        EXPECT_EQ(result.WeightNonzeros, 6);
    }
}

TEST(WeightsReader, EmptyCellsAreZeroAndNotCounted)
{
    // Rows: ",,1,-0.5", ",,,," (a restriction 0 >= 0), "1,-20,0,".
    const WeightsReadResult result = readWeightsFile(fixture("text/weights.txt"), BankWeights);
    ASSERT_EQ(result.outcome, Outcome::Loaded) << result.message;
    EXPECT_EQ(result.NumWeightRows, 3);
    EXPECT_EQ(result.WeightNonzeros, 4);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(result.WeightRestrictions(c, 2), 0.0);
    EXPECT_EQ(result.WeightRestrictions(2, 3), -20.0);
    EXPECT_EQ(result.WeightRestrictions(4, 3), 0.0);
    EXPECT_EQ(result.WeightsName, "weights");
}

TEST(WeightsReader, TheSuffixIsSearchedCaseSensitivelyInTheBareName)
{
    for (const char *file : {"workbooks/W.XLS", "text/weights.TXT", "no-schema/data.csv"}) {
        SCOPED_TRACE(file);
        const WeightsReadResult result = readWeightsFile(fixture(file), BankWeights);
        EXPECT_EQ(result.outcome, Outcome::Failed);
        EXPECT_EQ(result.message, "Unknown weight format (use suffix .xls or .txt)\n" + fixture(file));
    }
    // The ".xls" of a folder does not count: a.xls.d/b.txt is read as text.
    const std::string path = fixture("a.xls.d/b.txt");
    EXPECT_EQ(readWeightsFile(path, BankWeights).message,
              "Cannot read " + path + ": it is not a text file (it holds binary data).");
}

TEST(WeightsReader, TheColumnCountMustMatchTheInputsAndOutputs)
{
    for (const char *file : {"text/weights-3-columns.txt", "workbooks/weights-3-columns.xls"}) {
        SCOPED_TRACE(file);
        const WeightsReadResult result = readWeightsFile(fixture(file), BankWeights);
        EXPECT_EQ(result.outcome, Outcome::Failed);
        EXPECT_EQ(result.message, "The No. of Columns must be equal to the No. of Inputs and "
                                  "Outputs. (+ first column for remarks)\n"
                                      + fixture(file));
    }
    // The same 3 weight columns fit a data set of 3 inputs and outputs.
    EXPECT_EQ(readWeightsFile(fixture("text/weights-3-columns.txt"), 3).outcome, Outcome::Loaded);
}

TEST(WeightsReader, ATableWithoutRowsIsMissingData)
{
    for (const char *file : {"text/weights-no-rows.txt", "workbooks/weights-no-rows.xls"}) {
        SCOPED_TRACE(file);
        const std::string path = fixture(file);
        const WeightsReadResult result = readWeightsFile(path, BankWeights);
        EXPECT_EQ(result.outcome, Outcome::Failed);
        EXPECT_EQ(result.message, "Unknown or missing data in " + path + ". Perhaps wrong schema.ini?");
    }
}

TEST(WeightsReader, ACellThatIsNotANumberIsNamed)
{
    const std::string path = fixture("text/weights-bad-cell.txt");
    const WeightsReadResult result = readWeightsFile(path, BankWeights);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.message,
              "Cannot read " + path + ": record 2, column b holds \"two\", which is not a number.");
    EXPECT_EQ(result.NumWeightRows, 0);
    EXPECT_TRUE(result.WeightRestrictions.empty());
}

TEST(WeightsReader, AWorkbookWithoutASheetWeightsIsNamed)
{
    const std::string path = fixture("workbooks/no-weights-sheet.xls");
    EXPECT_EQ(readWeightsFile(path, BankWeights).message,
              "Cannot read " + path + ": the workbook has no sheet named Weights.");
}

} // namespace
} // namespace zelvar
