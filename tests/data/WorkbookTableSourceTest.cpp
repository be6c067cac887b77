#include "DataTestSupport.h"

#include "data/XlsxTableSource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelvar {
namespace {

using datatest::contents;
using datatest::example;
using datatest::fixture;
using datatest::openSheet;
using datatest::TableContents;
using testing::ElementsAre;
using Row = std::vector<std::string>;

TableContents readSheet(const std::string &path, const std::string &table = "Data")
{
    OpenedTable opened = openSheet(path, table);
    EXPECT_TRUE(opened.table) << opened.error;
    if (!opened.table)
        return {};
    return contents(*opened.table);
}

TEST(Workbook, BothKindsOfWorkbookHoldTheSampleAsTheTextFileDoes)
{
    OpenedTable text = openTextTable(std::string(ZELVAR_EXAMPLES), "banks.txt");
    ASSERT_TRUE(text.table) << text.error;
    const TableContents expected = contents(*text.table);
    EXPECT_EQ(expected.records.size(), 20u);
    for (const char *file : {"banks.xls", "banks.xlsx"}) {
        SCOPED_TRACE(file);
        const TableContents sheet = readSheet(example(file));
        EXPECT_EQ(sheet.names, expected.names);
        EXPECT_EQ(sheet.records, expected.records);
    }
}

TEST(Workbook, TheSheetIsFoundByNameIgnoringCaseAmongOthers)
{
    // Sheets "Notes" then "DATA" / "data".
    for (const char *file : {"workbooks/second-sheet.xls", "workbooks/second-sheet.xlsx"}) {
        SCOPED_TRACE(file);
        const TableContents sheet = readSheet(fixture(file));
        ASSERT_EQ(sheet.records.size(), 20u);
        EXPECT_EQ(sheet.records[0][0], "'Harbour Street'");
    }
}

TEST(Workbook, TheKindOfWorkbookIsToldByItsContentNotItsName)
{
    const TableContents sheet = readSheet(fixture("workbooks/xlsx-named.xls"));
    EXPECT_EQ(sheet.records.size(), 20u);
}

TEST(Workbook, EmptyCellsAreNoValueAndNumbersStayNumbers)
{
    for (const char *file : {"workbooks/order.xls", "workbooks/order.xlsx"}) {
        SCOPED_TRACE(file);
        const TableContents sheet = readSheet(fixture(file));
        EXPECT_THAT(sheet.names, ElementsAre("DMU", "{O}Loans", "{I}Staff", "{IN}Area", "{O}Deposits"));
        EXPECT_THAT(sheet.records, ElementsAre(Row{"'North'", "110", "8", "300", "240"},
                                               Row{"-", "95", "7", "280", "210"},
                                               Row{"17", "130", "9", "350", "260"}));
    }
}

TEST(Workbook, XlsxCellKindsAreRead)
{
    // Shared strings with rich text runs (the phonetic guide is not text),
    // inline strings, booleans, a formula's cached value, an error value, a
    // number in exponent form, cells out of order and a missing cell.
    const TableContents sheet = readSheet(fixture("workbooks/crafted.xlsx"));
    EXPECT_THAT(sheet.names, ElementsAre("Branch", "{I}Staff", "{O}Loans", "{O}Flag"));
    EXPECT_THAT(sheet.records, ElementsAre(Row{"'Harbour Street'", "14", "1250", "1"},
                                           Row{"'Mill & Lane'", "9", "'12'", "0"},
                                           Row{"'Formula name'", "7", "-", "2"},
                                           Row{"'Old Town'", "'#N/A'", "3", "1"}));
}

TEST(Workbook, XlsxBooleansKeepTheirText)
{
    OpenedTable opened = openSheet(fixture("workbooks/crafted.xlsx"));
    ASSERT_TRUE(opened.table);
    EXPECT_EQ(opened.table->value(3).text, "TRUE");
}

TEST(Workbook, XlsxWithPrefixedNamesAndCellsWithoutReferences)
{
    // Rows 1, 2 and 4: row 3 is a record without values.
    const TableContents sheet = readSheet(fixture("workbooks/prefixed.xlsx"));
    EXPECT_THAT(sheet.names, ElementsAre("Name", "{I}In", "{O}Out"));
    EXPECT_THAT(sheet.records,
                ElementsAre(Row{"'A'", "2", "3"}, Row{"-", "-", "-"}, Row{"-", "5", "6"}));
}

TEST(Workbook, TheTableIsTheUsedRangeOfTheSheet)
{
    const TableContents sheet = readSheet(fixture("workbooks/offset.xlsx"));
    EXPECT_THAT(sheet.names, ElementsAre("Unit", "{I}x", "{O}y"));
    EXPECT_THAT(sheet.records, ElementsAre(Row{"'P'", "1", "2"}, Row{"'Q'", "3", "4"}));
}

TEST(Workbook, CellsFarApartMakeAWideTableWithoutFillingIt)
{
    // A1:C1 and XFD1048576: a table of 16384 fields and 1048575 records
    // whose storage holds four cells.
    OpenedTable opened = openSheet(fixture("workbooks/far-cells.xlsx"));
    ASSERT_TRUE(opened.table) << opened.error;
    EXPECT_EQ(opened.table->fieldCount(), 16384);
    EXPECT_EQ(opened.table->recordCount(), 1048575);
    EXPECT_EQ(opened.table->fieldName(3), "F4");
    EXPECT_TRUE(opened.table->value(0).isNull());
}

struct ReferenceCase {
    const char *text;
    bool valid;
    std::uint32_t row;
    std::uint32_t column;
};

class CellReference : public testing::TestWithParam<ReferenceCase> {};

TEST_P(CellReference, IsACellOfASheetOrRefused)
{
    const ReferenceCase &c = GetParam();
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    EXPECT_EQ(XlsxTableSource::parseReference(c.text, row, column), c.valid) << c.text;
    if (c.valid) {
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(column, c.column);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Workbook, CellReference,
    testing::Values(ReferenceCase{"A1", true, 1, 1}, ReferenceCase{"AB12", true, 12, 28},
                    ReferenceCase{"z3", true, 3, 26}, ReferenceCase{"XFD1048576", true, 1048576, 16384},
                    ReferenceCase{"XFE1", false, 0, 0}, ReferenceCase{"A1048577", false, 0, 0},
                    ReferenceCase{"A0", false, 0, 0}, ReferenceCase{"A-5", false, 0, 0},
                    ReferenceCase{"A01", false, 0, 0}, ReferenceCase{"ZZZZ1", false, 0, 0},
                    ReferenceCase{"1A", false, 0, 0}, ReferenceCase{"A", false, 0, 0},
                    ReferenceCase{"", false, 0, 0}, ReferenceCase{"B99999999999", false, 0, 0},
                    ReferenceCase{"A1 ", false, 0, 0}, ReferenceCase{"$A$1", false, 0, 0}));

} // namespace
} // namespace zelvar
