#include "DataTestSupport.h"

#include "data/SchemaIni.h"
#include "data/TextTableSource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelvar {
namespace {

using datatest::contents;
using datatest::TableContents;
using datatest::fixture;
using datatest::openText;
using testing::ElementsAre;
using testing::HasSubstr;
using Row = std::vector<std::string>;

TableContents readText(const std::string &folder, const std::string &file)
{
    OpenedTable opened = openText(folder, file);
    EXPECT_TRUE(opened.table) << opened.error;
    if (!opened.table)
        return {};
    EXPECT_EQ(opened.error, "");
    return contents(*opened.table);
}

TEST(TextTable, TabDelimitedWithByteOrderMarkCrlfAndTrailingEmptyLines)
{
    // The section is written [BOM-CRLF.TXT]: matched ignoring case.
    const TableContents table = readText("text", "bom-crlf.txt");
    EXPECT_THAT(table.names,
                ElementsAre("Branch", "{I}Staff", "{IN}Floor space", "{O}Loans", "{O}Deposits"));
    ASSERT_EQ(table.records.size(), 20u);
    EXPECT_THAT(table.records[0], ElementsAre("'Harbour Street'", "14", "420", "11800", "21500"));
    EXPECT_THAT(table.records[19], ElementsAre("'Lakeside'", "12.5", "360", "10400", "19900"));
}

TEST(TextTable, WithoutASectionTheFileIsCommaDelimitedWithAHeader)
{
    const TableContents table = readText("text", "default.txt");
    ASSERT_EQ(table.records.size(), 20u);
    // Quoted numbers are numbers all the same.
    EXPECT_THAT(table.records[1], ElementsAre("'Market Square'", "22", "610", "19600", "34800"));
}

TEST(TextTable, WithoutASchemaIniTheFileIsCommaDelimitedWithAHeader)
{
    const TableContents table = readText("no-schema", "plain.txt");
    EXPECT_THAT(table.names, ElementsAre("Name", "{I}Staff", "{O}Loans"));
    EXPECT_THAT(table.records, ElementsAre(Row{"'A'", "1", "2"}, Row{"'B'", "3", "4"}));
}

TEST(TextTable, QuotedFieldsHoldDelimitersDoubledQuotesAndLineBreaks)
{
    const TableContents table = readText("text", "quoted.txt");
    EXPECT_THAT(table.records,
                ElementsAre(Row{"'Smith, Jones & Co'", "3", "40"},
                            Row{"'The \"Corner\" Branch'", "4", "50"}, Row{"'Two\nLines'", "5", "60"},
                            // Blanks around unquoted fields are not part of them.
                            Row{"'Plain'", "6", "70"}));
}

TEST(TextTable, DelimiterAndDecimalSymbolComeFromTheSchema)
{
    const TableContents table = readText("text", "semicolon.txt");
    EXPECT_THAT(table.records, ElementsAre(Row{"'North'", "12.5", "1000.25"},
                                           Row{"'South'", "8", "-350"}));
}

TEST(TextTable, WithoutAHeaderRowColumnsAreNamedByTheSchema)
{
    // Col1="Bank name" Char Width 30, Col2={I}Staff Long, Col3={O}Loans Currency
    const TableContents table = readText("text", "no-header.txt");
    EXPECT_THAT(table.names, ElementsAre("Bank name", "{I}Staff", "{O}Loans"));
    EXPECT_THAT(table.records, ElementsAre(Row{"'A'", "1", "2"}, Row{"'B'", "3", "4"}));
}

TEST(TextTable, WithoutAHeaderRowOrNamesColumnsAreF1F2)
{
    const TableContents table = readText("text", "no-header-no-names.txt");
    EXPECT_THAT(table.names, ElementsAre("F1", "F2", "F3", "F4"));
    EXPECT_THAT(table.records, ElementsAre(Row{"'A'", "1", "2", "-"}, Row{"'B'", "3", "4", "5"}));
}

TEST(TextTable, CharacterSetsAreConvertedToUtf8)
{
    for (const char *file : {"ansi.txt", "utf8.txt", "utf16.txt"}) {
        SCOPED_TRACE(file);
        const TableContents table = readText("text", file);
        ASSERT_FALSE(table.records.empty());
        EXPECT_EQ(table.records[0][0], "'Z\xC3\xBCrich'");
    }
    EXPECT_EQ(readText("text", "ansi.txt").names[2], "{O}Umsatz in \xE2\x82\xAC");
    EXPECT_EQ(readText("text", "ansi.txt").records[1][0], "'K\xC3\xB6ln'");
}

TEST(TextTable, WithoutTextDelimiterQuotesAreText)
{
    const TableContents table = readText("text", "no-quotes.txt");
    EXPECT_THAT(table.records, ElementsAre(Row{"'5\" Branch'", "'\"3\"'", "4"}));
}

TEST(TextTable, ColumnsDeclaredTextKeepTheirText)
{
    const TableContents table = readText("text", "text-columns.txt");
    EXPECT_THAT(table.records, ElementsAre(Row{"'0017'", "'12'", "30"}));
}

TEST(TextTable, EmptyFieldsAtTheEndOfALineAreNoColumns)
{
    const TableContents table = readText("text", "trailing-delimiters.txt");
    EXPECT_THAT(table.names, ElementsAre("Name", "{I}Staff", "{O}Loans"));
    EXPECT_THAT(table.records, ElementsAre(Row{"'A'", "1", "2"}, Row{"'B'", "3", "4"}));
}

TEST(TextTable, AnEmptyFileIsAnEmptyTable)
{
    const TableContents table = readText("text", "empty.txt");
    EXPECT_TRUE(table.names.empty());
    EXPECT_TRUE(table.records.empty());
}

TEST(TextTable, NumbersKeepTheTextTheyWereWrittenAs)
{
    OpenedTable opened = openText("text", "text-columns.txt");
    ASSERT_TRUE(opened.table);
    const FieldValue loans = opened.table->value(2);
    EXPECT_EQ(loans.kind, FieldValue::Kind::Number);
    EXPECT_EQ(loans.text, "30");
    EXPECT_EQ(opened.table->currentRecord(), 1);
    EXPECT_FALSE(opened.table->moveNext());
}

struct Refusal {
    const char *folder;
    const char *file;
    const char *reason;
};

class TextTableRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(TextTableRefusal, NamesTheFileAndTheReason)
{
    const Refusal &r = GetParam();
    const OpenedTable opened = openText(r.folder, r.file);
    EXPECT_FALSE(opened.table);
    EXPECT_EQ(opened.error, "Cannot read " + fixture(r.folder) + "/" + r.file + ": " + r.reason + ".");
}

INSTANTIATE_TEST_SUITE_P(
    TextTable, TextTableRefusal,
    testing::Values(
        Refusal{"text", "missing.txt", "the file does not exist"},
        Refusal{"text", "more-fields.txt", "line 3 has 4 fields, but the table has only 3 columns"},
        Refusal{"text", "columns-missing.txt",
                "schema.ini names 5 columns, but the header line has only 3 fields"},
        Refusal{"text", "columns-missing-no-header.txt",
                "schema.ini names 4 columns, but no line of the file has more than 3 fields"},
        Refusal{"text", "open-quote.txt", "the quoted field that begins on line 2 is never closed"},
        Refusal{"text", "binary.txt", "it is not a text file (it holds binary data)"},
        Refusal{"text", "long-header.txt",
                "the header of column 2 is 10003 characters long (at most 255 are allowed)"},
        Refusal{"bad-schema", "fixed.txt",
                "schema.ini, section [fixed.txt], line 2: Format=FixedLength is not supported; "
                "use TabDelimited, CSVDelimited or Delimited(x)"},
        Refusal{"bad-schema", "gap.txt",
                "schema.ini, section [gap.txt]: Col2 is missing (the columns are numbered from "
                "Col1 without gaps)"},
        Refusal{"bad-schema", "charset.txt",
                "schema.ini, section [charset.txt], line 9: unknown CharacterSet EBCDIC (use "
                "ANSI, UTF-8 or Unicode)"},
        Refusal{"bad-schema", "format.txt",
                "schema.ini, section [format.txt], line 12: unknown Format Pipes (use "
                "TabDelimited, CSVDelimited or Delimited(x))"},
        Refusal{"bad-schema", "header.txt",
                "schema.ini, section [header.txt], line 15: ColNameHeader must be True or "
                "False, not Maybe"},
        Refusal{"bad-schema", "same.txt",
                "schema.ini, section [same.txt]: the text delimiter is the field delimiter"}));

TEST(TextTable, ASchemaIniNamedInCapitalsIsFoundAndItsOtherSectionsDoNotMatter)
{
    const TableContents table = readText("bad-schema", "fine.txt");
    EXPECT_THAT(table.records, ElementsAre(Row{"'A'", "1", "2"}));
}

TEST(TextTable, ALineOfTwoThousandColumnsIsRead)
{
    const TableContents table = readText("text", "long-line.txt");
    EXPECT_EQ(table.names.size(), 2002u);
    EXPECT_EQ(table.names[2001], "{O}y");
}

// The column lines of schema.ini as people write them.
struct ColumnCase {
    const char *line;
    const char *name;
    bool text;
};

class SchemaColumn : public testing::TestWithParam<ColumnCase> {};

TEST_P(SchemaColumn, NamesAndTypesAreRead)
{
    const ColumnCase &c = GetParam();
    const SchemaIni schema(std::string("[t.txt]\nCol1=") + c.line + "\n");
    TextLayout layout;
    std::string error;
    ASSERT_TRUE(schema.layoutFor("t.txt", layout, error)) << error;
    ASSERT_EQ(layout.columns.size(), 1u);
    EXPECT_EQ(layout.columns[0].name, c.name);
    EXPECT_EQ(layout.columns[0].text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    TextTable, SchemaColumn,
    testing::Values(ColumnCase{"Branch Text", "Branch", true},
                    ColumnCase{"{I}Staff Double", "{I}Staff", false},
                    ColumnCase{"\"{IN}Floor space\" Double", "{IN}Floor space", false},
                    ColumnCase{"{IN}Floor space Single", "{IN}Floor space", false},
                    ColumnCase{"Bank Name Char Width 30", "Bank Name", true},
                    ColumnCase{"\"Bank\" char width 30", "Bank", true},
                    ColumnCase{"Code", "Code", false},
                    ColumnCase{"{O}Floor space", "{O}Floor space", false},
                    ColumnCase{"Amount Currency", "Amount", false},
                    ColumnCase{"Count long", "Count", false}));

TEST(TextTable, SchemaSectionsAreMatchedIgnoringCaseAndUnknownKeysIgnored)
{
    const SchemaIni schema("; comment\r\n[Other.txt]\r\nFormat=TabDelimited\r\n"
                           "[BANKS.TXT]\r\nformat=delimited(|)\r\ncolnameheader=false\r\n"
                           "MaxScanRows=25\r\nDecimalSymbol=,\r\nTextDelimiter='\r\n"
                           "CharacterSet=1252\r\n");
    TextLayout layout;
    std::string error;
    ASSERT_TRUE(schema.layoutFor("banks.txt", layout, error)) << error;
    EXPECT_EQ(layout.delimiter, '|');
    EXPECT_FALSE(layout.header);
    EXPECT_EQ(layout.decimalSymbol, ',');
    EXPECT_EQ(layout.textDelimiter, '\'');
    EXPECT_EQ(layout.characterSet, CharacterSet::Ansi);

    ASSERT_TRUE(schema.layoutFor("absent.txt", layout, error));
    EXPECT_EQ(layout.delimiter, ',');
    EXPECT_TRUE(layout.header);
    EXPECT_TRUE(layout.columns.empty());
}

TEST(TextTable, UnusableColumnLinesAreRefusedWithTheirLine)
{
    TextLayout layout;
    std::string error;
    EXPECT_FALSE(SchemaIni("[t.txt]\nCol1=\"Open name Text\n").layoutFor("t.txt", layout, error));
    EXPECT_EQ(error, "schema.ini, section [t.txt], line 2: Col1: the quoted column name has no "
                     "closing quote");
    EXPECT_FALSE(SchemaIni("[t.txt]\nCol1=\"Name\" Stuff\n").layoutFor("t.txt", layout, error));
    EXPECT_THAT(error, HasSubstr("unknown column type Stuff"));
    EXPECT_FALSE(SchemaIni("[t.txt]\nCol0=Name\n").layoutFor("t.txt", layout, error));
    EXPECT_THAT(error, HasSubstr("Col0 is not a column number"));
    EXPECT_FALSE(SchemaIni("[t.txt]\nDecimalSymbol=\n").layoutFor("t.txt", layout, error));
    EXPECT_THAT(error, HasSubstr("DecimalSymbol must be one character"));
    EXPECT_FALSE(SchemaIni("[t.txt]\nCharacterSet=OEM\n").layoutFor("t.txt", layout, error));
    EXPECT_THAT(error, HasSubstr("CharacterSet=OEM is not supported"));
}

} // namespace
} // namespace zelvar
