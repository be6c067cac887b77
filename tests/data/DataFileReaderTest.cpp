#include "support/SameData.h"
#include "DataTestSupport.h"

#include "data/DataFileReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelvar {
namespace {

using datatest::example;
using datatest::fixture;
using testing::ElementsAre;
using Outcome = DataReadResult::Outcome;

DataSet load(const std::string &path)
{
    DataReadResult result = readDataFile(path);
    EXPECT_EQ(result.outcome, Outcome::Loaded) << result.message;
    EXPECT_EQ(result.message, "");
    return std::move(result.data);
}

// Everything but the file names.
void expectSameData(const DataSet &a, const DataSet &b)
{
    test::expectSameTable(a, b);
}

TEST(DataFileReader, TheSampleReadsTheSameFromAllThreeFormats)
{
    const DataSet text = load(example("banks.txt"));
    // Values as written in the sample: branch 1 and branch 20 (Lakeside, 12.5 staff).
    ASSERT_EQ(text.NumDMU, 20);
    ASSERT_EQ(text.NumInputs, 2);
    ASSERT_EQ(text.NumOutputs, 2);
    EXPECT_EQ(text.DMUNames[1], "    Harbour Street");
    EXPECT_EQ(text.DMUNames[20], "    Lakeside");
    EXPECT_THAT(text.InputNames, ElementsAre("", "{I}Staff", "{IN}Floor space"));
    EXPECT_THAT(text.OutputNames, ElementsAre("", "{O}Loans", "{O}Deposits"));
    EXPECT_THAT(text.InputNonDisc, ElementsAre(0, 0, 1));
    EXPECT_THAT(text.OutputNonDisc, ElementsAre(0, 0, 0));
    EXPECT_EQ(text.InputData(1, 1), 14.0);
    EXPECT_EQ(text.InputData(2, 1), 420.0);
    EXPECT_EQ(text.OutputData(1, 1), 11800.0);
    EXPECT_EQ(text.OutputData(2, 1), 21500.0);
    EXPECT_EQ(text.InputData(1, 20), 12.5);
    EXPECT_EQ(text.OutputData(2, 20), 19900.0);
    EXPECT_EQ(text.DMUNames.size(), 21u);
    EXPECT_EQ(text.InputData.rows(), 2);
    EXPECT_EQ(text.InputData.cols(), 20);
    EXPECT_EQ(text.DataFileName, example("banks.txt"));
    EXPECT_EQ(text.DataFileStem, example("banks"));
    EXPECT_TRUE(text.WeightsFileName.empty());
    EXPECT_EQ(text.NumWeightRows, 0);

    for (const char *file : {"banks.xls", "banks.xlsx"}) {
        SCOPED_TRACE(file);
        const DataSet workbook = load(example(file));
        expectSameData(workbook, text);
        EXPECT_EQ(workbook.DataFileStem, example("banks"));
    }
}

TEST(DataFileReader, InputsAndOutputsAreNumberedInTheirOwnOrder)
{
    // DMU, {O}Loans, {I}Staff, {IN}Area, {O}Deposits; the second name cell
    // is empty, the third holds the number 17.
    for (const char *file : {"text/order.txt", "workbooks/order.xls", "workbooks/order.xlsx"}) {
        SCOPED_TRACE(file);
        const DataSet data = load(fixture(file));
        EXPECT_THAT(data.InputNames, ElementsAre("", "{I}Staff", "{IN}Area"));
        EXPECT_THAT(data.InputNonDisc, ElementsAre(0, 0, 1));
        EXPECT_THAT(data.OutputNames, ElementsAre("", "{O}Loans", "{O}Deposits"));
        EXPECT_THAT(data.OutputNonDisc, ElementsAre(0, 0, 0));
        EXPECT_THAT(data.DMUNames, ElementsAre("", "    North", "    ", "    17"));
        // DMU 3: Loans 130, Staff 9, Area 350, Deposits 260.
        EXPECT_EQ(data.InputData(1, 3), 9.0);
        EXPECT_EQ(data.InputData(2, 3), 350.0);
        EXPECT_EQ(data.OutputData(1, 3), 130.0);
        EXPECT_EQ(data.OutputData(2, 3), 260.0);
    }
}

TEST(DataFileReader, TheSuffixTestIgnoresCaseAndTheStemKeepsTheFolder)
{
    const DataSet upper = load(fixture("workbooks/BANK.XLS"));
    EXPECT_EQ(upper.NumDMU, 20);
    EXPECT_EQ(upper.DataFileStem, fixture("workbooks/BANK"));

    // weights.TXT is a text table (which has no marked columns).
    EXPECT_EQ(readDataFile(fixture("text/weights.TXT")).message,
              "aData file contains unknown column (missing {I} or {O})\n" + fixture("text/weights.TXT"));
}

TEST(DataFileReader, AnXlsInAFolderNameMakesTheFileAWorkbook)
{
    // a.xls.d/b.txt holds a workbook; the stem ends before the folder's ".xls".
    const DataSet data = load(fixture("a.xls.d/b.txt"));
    EXPECT_EQ(data.NumDMU, 20);
    EXPECT_EQ(data.DataFileStem, fixture("a"));
    EXPECT_EQ(data.DataFileName, fixture("a.xls.d/b.txt"));
}

TEST(DataFileReader, TextNumbersInWorkbooksAndTextColumnsAreRead)
{
    // A column declared Text whose cells read as numbers.
    const DataSet data = load(fixture("text/text-columns.txt"));
    EXPECT_EQ(data.DMUNames[1], "    0017");
    EXPECT_EQ(data.InputData(1, 1), 12.0);
}

TEST(DataFileReader, AFileWithoutXlsOrTxtIsRefused)
{
    const DataReadResult result = readDataFile(fixture("no-schema/data.csv"));
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.message, "Unknown data format (use suffix .xls or .txt)\n" + fixture("no-schema/data.csv"));
}

TEST(DataFileReader, AHeaderWithoutMarkerIsNamedBeforeTheMessage)
{
    const DataReadResult result = readDataFile(fixture("text/unknown-column.txt"));
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.message,
              "CostData file contains unknown column (missing {I} or {O})\n" + fixture("text/unknown-column.txt"));
}

TEST(DataFileReader, NoRecordsNoInputsOrNoOutputsIsMissingData)
{
    for (const char *file :
         {"text/inputs-only.txt", "text/header-only.txt", "text/name-only.txt", "text/empty.txt"}) {
        SCOPED_TRACE(file);
        const std::string path = fixture(file);
        const DataReadResult result = readDataFile(path);
        EXPECT_EQ(result.outcome, Outcome::NoData);
        EXPECT_EQ(result.message, "Unknown or missing data in " + path + ". Perhaps wrong schema.ini?");
    }
}

struct BadCell {
    const char *file;
    const char *rest; // after "Cannot read <path>: "
};

class DataFileBadCell : public testing::TestWithParam<BadCell> {};

TEST_P(DataFileBadCell, NamesRecordColumnAndText)
{
    const std::string path = fixture(GetParam().file);
    const DataReadResult result = readDataFile(path);
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.message, "Cannot read " + path + ": " + GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(
    DataFileReader, DataFileBadCell,
    testing::Values(
        BadCell{"text/bad-cell.txt", "record 7, column {I}Staff holds \"n/a\", which is not a number."},
        BadCell{"workbooks/bad-cell.xls", "record 7, column {I}Staff holds \"n/a\", which is not a number."},
        BadCell{"workbooks/bad-cell.xlsx", "record 7, column {I}Staff holds \"n/a\", which is not a number."},
        BadCell{"text/empty-cell.txt", "record 3, column {O}Deposits holds no value."},
        BadCell{"workbooks/empty-cell.xlsx", "record 3, column {O}Deposits holds no value."},
        BadCell{"workbooks/crafted.xlsx", "record 3, column {O}Loans holds no value."},
        BadCell{"text/no-quotes.txt", "record 1, column {I}Staff holds \"\"3\"\", which is not a number."}));

TEST(DataFileReader, ATableThatCannotBeOpenedIsNamedWithTheReason)
{
    EXPECT_EQ(readDataFile(fixture("text/missing.txt")).message,
              "Cannot read " + fixture("text/missing.txt") + ": the file does not exist.");
    EXPECT_EQ(readDataFile(fixture("workbooks/no-data-sheet.xlsx")).message,
              "Cannot read " + fixture("workbooks/no-data-sheet.xlsx")
                  + ": the workbook has no sheet named Data.");
    const DataReadResult schema = readDataFile(fixture("bad-schema/gap.txt"));
    EXPECT_EQ(schema.outcome, Outcome::Refused);
    EXPECT_EQ(schema.message, "Cannot read " + fixture("bad-schema/gap.txt")
                                  + ": schema.ini, section [gap.txt]: Col2 is missing (the "
                                    "columns are numbered from Col1 without gaps).");
}

TEST(DataFileReader, ASheetOfCellsFarApartIsRefusedByItsFirstUnmarkedColumn)
{
    // A1:C1 and XFD1048576 span 16384 columns; the fourth has no header.
    EXPECT_EQ(readDataFile(fixture("workbooks/far-cells.xlsx")).message,
              "F4Data file contains unknown column (missing {I} or {O})\n" + fixture("workbooks/far-cells.xlsx"));
}

} // namespace
} // namespace zelvar
