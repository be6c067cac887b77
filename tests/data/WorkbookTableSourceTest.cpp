#include "DataTestSupport.h"

#include "data/XlsxTableSource.h"
#include "data/ZipArchive.h"

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

// Of forty shared strings, mostly long, the sheet uses five: the header
// texts, an empty text and a name used twice. The same workbook with the
// strings part before the sheet in the archive, and with every name
// prefixed, reads the same.
class UsedStrings : public testing::TestWithParam<const char *> {};

TEST_P(UsedStrings, AreTheOnlyTextsAndTheCellsReadAsWritten)
{
    const TableContents sheet = readSheet(fixture(std::string("workbooks/") + GetParam()));
    // D1 is the number 2.5; the empty texts at D2 and E2 are no values and
    // do not widen the table; D3 and B3 are written twice, the empty text
    // first at D3: the first value wins; A4 is the number 17.
    EXPECT_THAT(sheet.names, ElementsAre("Unit", "{I}x", "{O}y", "2.5"));
    EXPECT_THAT(sheet.records, ElementsAre(Row{"'P'", "1", "2", "-"}, Row{"'P'", "3", "4", "5"},
                                           Row{"17", "5", "6", "-"}));
}

INSTANTIATE_TEST_SUITE_P(Workbook, UsedStrings,
                         testing::Values("used-strings.xlsx", "used-strings-first.xlsx",
                                         "used-strings-prefixed.xlsx"));

// The limits of one workbook, lowered to a few cells and bytes: a workbook
// right at a limit is read, one past it is refused with the limit named.
struct LimitCase {
    const char *file;
    XlsxTableSource::ReadLimits limits;
    const char *reason; // nullptr: read
};

class WorkbookLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(WorkbookLimit, IsKeptToTheByte)
{
    const LimitCase &c = GetParam();
    const std::string path = fixture(std::string("workbooks/") + c.file);
    const OpenedTable opened = XlsxTableSource::open(path, "Data", c.limits);
    if (c.reason == nullptr) {
        EXPECT_TRUE(opened.table) << opened.error;
    } else {
        EXPECT_FALSE(opened.table);
        EXPECT_EQ(opened.error, "Cannot read " + path + ": " + c.reason + ".");
    }
}

// offset.xlsx: 9 cells, 14 bytes of inline text. used-strings.xlsx: 13
// bytes of used text among shared strings of 7093 bytes. long-header.xlsx:
// a sheet part of 10 kB, every other part under 1 kB.
constexpr std::size_t AnyCells = CellTable::MaxCells;
constexpr std::size_t AnyText = CellTable::MaxTextBytes;
constexpr std::uint64_t AnyPart = ZipArchive::MaxEntryBytes;

INSTANTIATE_TEST_SUITE_P(
    Workbook, WorkbookLimit,
    testing::Values(
        LimitCase{"offset.xlsx", {9, AnyText, AnyPart}, nullptr},
        LimitCase{"offset.xlsx", {8, AnyText, AnyPart},
                  "the sheet Data holds more than 8 values, the most this program reads"},
        LimitCase{"offset.xlsx", {AnyCells, 14, AnyPart}, nullptr},
        LimitCase{"offset.xlsx", {AnyCells, 13, AnyPart},
                  "the sheet Data holds more than 13 bytes of text, the most this program reads"},
        LimitCase{"used-strings.xlsx", {AnyCells, 13, AnyPart}, nullptr},
        LimitCase{"used-strings.xlsx", {AnyCells, 12, AnyPart},
                  "the sheet Data holds more than 12 bytes of text, the most this program reads"},
        LimitCase{"used-strings.xlsx", {AnyCells, AnyText, 7093}, nullptr},
        LimitCase{"used-strings.xlsx", {AnyCells, AnyText, 7092},
                  "the part xl/sharedStrings.xml unpacks to more than 7092 bytes, the most this "
                  "program reads from one part"},
        LimitCase{"long-header.xlsx", {AnyCells, AnyText, 4096},
                  "the part xl/worksheets/sheet1.xml unpacks to more than 4096 bytes, the most "
                  "this program reads from one part"}));

TEST(Workbook, SizesInMessagesAreInTheLargestWholeUnit)
{
    EXPECT_EQ(ZipArchive::sizeText(std::uint64_t{1} << 31), "2 GiB");
    EXPECT_EQ(ZipArchive::sizeText(std::uint64_t{64} << 20), "64 MiB");
    EXPECT_EQ(ZipArchive::sizeText((std::uint64_t{1} << 30) + 1), "1073741825 bytes");
    EXPECT_EQ(ZipArchive::sizeText(1), "1 byte");
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
