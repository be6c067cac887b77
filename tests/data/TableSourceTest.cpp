#include "support/DataFiles.h"

#include "data/SchemaIni.h"
#include "data/XlsxTableSource.h"

#include <gtest/gtest.h>

namespace zelvar::test {
namespace {

using Rows = std::vector<std::string>;

class SampleCopies : public testing::TestWithParam<const char *> {};

TEST_P(SampleCopies, ReadAsTheSameTable)
{
    const Rows sample = rowsOf(openTable(example("banks.txt")));
    ASSERT_EQ(sample.size(), 21u); // as written: 20 branches, the first and the last
    EXPECT_EQ(sample[0], "Branch|{I}Staff|{IN}Floor space|{O}Loans|{O}Deposits");
    EXPECT_EQ(sample[1] + " " + sample[20], "'Harbour Street'|14|420|11800|21500 'Lakeside'|12.5|360|10400|19900");
    EXPECT_EQ(rowsOf(openTable(fixture(GetParam()))), sample);
}

INSTANTIATE_TEST_SUITE_P(Table, SampleCopies,
                         testing::Values("../../examples/banks.xls", "../../examples/banks.xlsx",
                                         "text/bom-crlf.txt",           // TAB, byte order mark, CRLF, section [BOM-CRLF.TXT]
                                         "text/default.txt",            // no section: comma-delimited, quoted numbers
                                         "workbooks/second-sheet.xls",  // the sheet "DATA" after a sheet "Notes"
                                         "workbooks/second-sheet.xlsx", // the sheet "data" after a sheet "Notes"
                                         "workbooks/xlsx-named.xls",    // the kind is told by the content, not the name
                                         "workbooks/BANK.XLS"));

struct TableCase {
    const char *file;
    Rows rows; // names, then each record: numbers shortest, 'texts', - for no value
};

class Tables : public testing::TestWithParam<TableCase> {};

TEST_P(Tables, HoldTheCellsAsWritten) { EXPECT_EQ(rowsOf(openTable(fixture(GetParam().file))), GetParam().rows); }

const Rows Order = {"DMU|{O}Loans|{I}Staff|{IN}Area|{O}Deposits", "'North'|110|8|300|240", "-|95|7|280|210", "17|130|9|350|260"};
const Rows UsedStrings = {"Unit|{I}x|{O}y|2.5", "'P'|1|2|-", "'P'|3|4|5", "17|5|6|-"};
const Rows AB = {"Name|{I}Staff|{O}Loans", "'A'|1|2", "'B'|3|4"};

INSTANTIATE_TEST_SUITE_P(
    Table, Tables,
    testing::Values(
        TableCase{"no-schema/plain.txt", AB}, TableCase{"text/trailing-delimiters.txt", AB},
        // Delimiters, doubled quotes and a line break inside quotes; blanks around an unquoted field.
        TableCase{"text/quoted.txt", {"Name|{I}Staff|{O}Loans", "'Smith, Jones & Co'|3|40", "'The \"Corner\" Branch'|4|50",
                                      "'Two\nLines'|5|60", "'Plain'|6|70"}},
        // Delimited(;) with DecimalSymbol=, : numbers keep the text they were written as.
        TableCase{"text/semicolon.txt",
                  {"Name|{I}Staff|{O}Loans", "'North'|12.5(12,5)|1000.25(1000,25)", "'South'|8|-350(-3,5e2)"}},
        TableCase{"text/no-header.txt", {"Bank name|{I}Staff|{O}Loans", "'A'|1|2", "'B'|3|4"}},
        TableCase{"text/no-header-no-names.txt", {"F1|F2|F3|F4", "'A'|1|2|-", "'B'|3|4|5"}},
        TableCase{"text/ansi.txt", {"Name|{I}Staff|{O}Umsatz in \xE2\x82\xAC", "'Z\xC3\xBCrich'|1|2", "'K\xC3\xB6ln'|3|4"}},
        TableCase{"text/utf8.txt", {"Name|{I}Staff|{O}Umsatz in \xE2\x82\xAC", "'Z\xC3\xBCrich'|1|2"}},
        TableCase{"text/utf16.txt", {"Name|{I}Staff|{O}Loans", "'Z\xC3\xBCrich'|1|2"}},
        TableCase{"text/no-quotes.txt", {"Name|{I}Staff|{O}Loans", "'5\" Branch'|'\"3\"'|4"}},
        TableCase{"text/text-columns.txt", {"Code|{I}Staff|{O}Loans", "'0017'|'12'|30"}}, TableCase{"text/empty.txt", {""}},
        TableCase{"bad-schema/fine.txt", {"Name|{I}Staff|{O}Loans", "'A'|1|2"}}, // SCHEMA.INI, other sections broken
        TableCase{"text/order.txt", Order}, TableCase{"workbooks/order.xls", Order}, TableCase{"workbooks/order.xlsx", Order},
        // Shared strings with rich text runs (the phonetic guide is not text), inline strings, booleans, a
        // formula's cached value, an error value, a number in exponent form, cells out of order, a missing cell.
        TableCase{"workbooks/crafted.xlsx", {"Branch|{I}Staff|{O}Loans|{O}Flag", "'Harbour Street'|14|1250|1(TRUE)",
                                             "'Mill & Lane'|9|'12'|0(FALSE)", "'Formula name'|7|-|2", "'Old Town'|'#N/A'|3|1"}},
        // Prefixed names and cells without references; row 3 holds nothing.
        TableCase{"workbooks/prefixed.xlsx", {"Name|{I}In|{O}Out", "'A'|2|3", "-|-|-", "-|5|6"}},
        TableCase{"workbooks/offset.xlsx", {"Unit|{I}x|{O}y", "'P'|1|2", "'Q'|3|4"}}, // the used range C3:E5
        // Of forty shared strings the sheet uses five; the strings part first, or every name prefixed,
        // reads the same. D1 is 2.5; empty texts are no values; of two values in a cell the first counts.
        TableCase{"workbooks/used-strings.xlsx", UsedStrings}, TableCase{"workbooks/used-strings-first.xlsx", UsedStrings},
        TableCase{"workbooks/used-strings-prefixed.xlsx", UsedStrings}));

// The layout schema.ini gives t.txt in a section [T.TXT] after another one,
// written as what differs from the defaults (comma, header row, ".", double
// quotes, character set told by the bytes: 1 ANSI, 2 UTF-8, 3 UTF-16LE).
std::string layoutOf(const std::string &section)
{
    TextLayout l;
    std::string error;
    if (!SchemaIni("; comment\r\n[other.txt]\r\nFormat=TabDelimited\r\n[T.TXT]\r\n" + section).layoutFor("t.txt", l, error))
        return "error: " + error;
    std::string s = l.delimiter != ',' ? std::string(" delimiter ") + l.delimiter : "";
    s += std::string(l.header ? "" : " no header") + (l.decimalSymbol != '.' ? std::string(" decimal ") + l.decimalSymbol : "");
    s += !l.quoted ? " no quotes" : l.textDelimiter != '"' ? std::string(" quote ") + l.textDelimiter : "";
    s += l.characterSet != CharacterSet::Automatic ? " charset " + std::to_string(static_cast<int>(l.characterSet)) : "";
    for (const TextLayout::Column &column : l.columns)
        s += " [" + column.name + (column.text ? ":text]" : "]");
    return s.empty() ? s : s.substr(1);
}

class SchemaSections : public testing::TestWithParam<std::pair<const char *, const char *>> {};

TEST_P(SchemaSections, GiveTheLayoutOrWhatIsWrongOnWhichLine) { EXPECT_EQ(layoutOf(GetParam().first), GetParam().second); }

// The section's first line is line 5. Sections of the fixture files test the
// rest: TabDelimited, Delimited(;), ColNameHeader, CharacterSet, TextDelimiter=none.
using L = std::pair<const char *, const char *>;
INSTANTIATE_TEST_SUITE_P(
    Table, SchemaSections,
    testing::Values(
        L{"Format=CSVDelimited", ""}, L{"CharacterSet=1252", "charset 1"}, L{"CharacterSet=UTF-8", "charset 2"},
        L{"format=delimited(|)\r\ncolnameheader=0\r\nMaxScanRows=25\r\nDecimalSymbol=,\r\nTextDelimiter='",
          "delimiter | no header decimal , quote '"},
        L{"Col1=\"{IN}Floor space\" Double", "[{IN}Floor space]"}, L{"Col1={IN}Floor space Single", "[{IN}Floor space]"},
        L{"Col1=Bank Name Char Width 30", "[Bank Name:text]"}, L{"Col1=\"Bank\" char width 30", "[Bank:text]"},
        L{"Col1={O}Floor space", "[{O}Floor space]"}, L{"Col1=Amount Currency", "[Amount]"},
        L{"Col2=B long\nCol1=A Memo", "[A:text] [B]"},
        L{"Col1=\"Open", "error: schema.ini, section [T.TXT], line 5: Col1: the quoted column name has no closing quote"},
        L{"\nCol1=\"Name\" Stuff", "error: schema.ini, section [T.TXT], line 6: Col1: unknown column type Stuff"},
        L{"Col0=Name", "error: schema.ini, section [T.TXT], line 5: Col0 is not a column number from 1 to 99999"},
        L{"DecimalSymbol=", "error: schema.ini, section [T.TXT], line 5: DecimalSymbol must be one character, not \"\""},
        L{"CharacterSet=OEM",
          "error: schema.ini, section [T.TXT], line 5: CharacterSet=OEM is not supported; save the file as ANSI or UTF-8"}));

// The limits of one workbook, lowered to a few cells and bytes: a workbook
// right at a limit is read, one past it is refused with the limit named.
// offset.xlsx: 9 cells, 14 bytes of inline text. used-strings.xlsx: 13 bytes
// of used text among shared strings of 7093 bytes. long-header.xlsx: a sheet part of 10 kB.
struct LimitCase {
    const char *file;
    XlsxTableSource::ReadLimits limits;
    const char *limit; // the limit the message names, before ", the most this program reads"; "" when read
};

class WorkbookLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(WorkbookLimits, AreKeptToTheByte)
{
    const std::string path = fixture(std::string("workbooks/") + GetParam().file), limit = GetParam().limit;
    const std::string reason = limit + ", the most this program reads" + (limit.starts_with("the part") ? " from one part" : "");
    EXPECT_EQ(XlsxTableSource::open(path, "Data", GetParam().limits).error,
              limit.empty() ? "" : "Cannot read " + path + ": " + reason + ".");
}

constexpr std::size_t Cells = CellTable::MaxCells, Text = CellTable::MaxTextBytes;
constexpr std::uint64_t Part = ZipArchive::MaxEntryBytes;

INSTANTIATE_TEST_SUITE_P(
    Table, WorkbookLimits,
    testing::Values(LimitCase{"offset.xlsx", {9, Text, Part}, ""}, LimitCase{"offset.xlsx", {Cells, 14, Part}, ""},
                    LimitCase{"offset.xlsx", {8, Text, Part}, "the sheet Data holds more than 8 values"},
                    LimitCase{"offset.xlsx", {Cells, 13, Part}, "the sheet Data holds more than 13 bytes of text"},
                    LimitCase{"used-strings.xlsx", {Cells, 13, Part}, ""},
                    LimitCase{"used-strings.xlsx", {Cells, Text, 7093}, ""},
                    LimitCase{"used-strings.xlsx", {Cells, 12, Part}, "the sheet Data holds more than 12 bytes of text"},
                    LimitCase{"used-strings.xlsx", {Cells, Text, 7092},
                              "the part xl/sharedStrings.xml unpacks to more than 7092 bytes"},
                    LimitCase{"long-header.xlsx", {Cells, Text, 4096},
                              "the part xl/worksheets/sheet1.xml unpacks to more than 4096 bytes"}));

TEST(CellReferences, AreACellOfASheetOfAMillionRowsAnd16384ColumnsOrRefused)
{
    std::uint32_t row = 0, column = 0;
    for (auto [text, r, c] : {std::tuple("A1", 1u, 1u), {"AB12", 12u, 28u}, {"z3", 3u, 26u}, {"XFD1048576", 1048576u, 16384u}})
        EXPECT_TRUE(XlsxTableSource::parseReference(text, row, column) && row == r && column == c) << text;
    for (const char *text : {"XFE1", "A1048577", "A0", "A-5", "A01", "ZZZZ1", "1A", "A", "", "B99999999999", "A1 ", "$A$1"})
        EXPECT_FALSE(XlsxTableSource::parseReference(text, row, column)) << text;
}

} // namespace
} // namespace zelvar::test
