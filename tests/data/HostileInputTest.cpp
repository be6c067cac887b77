#include "DataTestSupport.h"

#include "data/DataFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace zelvar {
namespace {

using datatest::fixture;
using datatest::openSheet;

// Damaged, foreign and malicious workbooks: each ends in a message that
// names the file and the reason, and never in a crash (these tests also run
// under the address and undefined behaviour sanitizers).
struct Hostile {
    const char *file;
    const char *reason;
};

class HostileWorkbook : public testing::TestWithParam<Hostile> {};

TEST_P(HostileWorkbook, IsRefusedWithAReason)
{
    const Hostile &h = GetParam();
    const std::string path = fixture(std::string("workbooks/") + h.file);
    const OpenedTable opened = openSheet(path);
    EXPECT_FALSE(opened.table);
    EXPECT_EQ(opened.error, "Cannot read " + path + ": " + h.reason + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, HostileWorkbook,
    testing::Values(
        Hostile{"truncated.xls",
                "the workbook is damaged or is not an Excel 97-2003 workbook (FreeXL error -8)"},
        Hostile{"garbage-ole2.xls",
                "the workbook is damaged or is not an Excel 97-2003 workbook (FreeXL error -11)"},
        // Damaged files that crash FreeXL itself: it runs in a child process.
        Hostile{"freexl-crash-1.xls", "the workbook is damaged (reading it failed)"},
        Hostile{"freexl-crash-2.xls", "the workbook is damaged (reading it failed)"},
        Hostile{"truncated.xlsx", "the workbook is damaged (Not a zip archive)"},
        Hostile{"garbage-zip.xlsx", "the workbook is damaged (Not a zip archive)"},
        Hostile{"garbage.xls", "it is not an Excel workbook (.xls or .xlsx)"},
        Hostile{"empty.xlsx", "it is not an Excel workbook (.xls or .xlsx)"},
        Hostile{"not-a-workbook.xlsx", "it is not an Excel workbook (it has no xl/workbook.xml)"},
        Hostile{"no-data-sheet.xls", "the workbook has no sheet named Data"},
        Hostile{"no-data-sheet.xlsx", "the workbook has no sheet named Data"},
        Hostile{"missing-sheet-part.xlsx",
                "the workbook is damaged (the sheet Data has no content)"},
        Hostile{"negative-ref.xlsx",
                "the sheet Data has a cell reference \"A-5\", which is not a cell of a sheet"},
        Hostile{"huge-row-ref.xlsx",
                "the sheet Data has a cell reference \"B99999999999\", which is not a cell of a "
                "sheet"},
        Hostile{"huge-column-ref.xlsx",
                "the sheet Data has a cell reference \"ZZZZ2\", which is not a cell of a sheet"},
        Hostile{"negative-row.xlsx",
                "the sheet Data has a row numbered \"-3\", which is not a row of a sheet"},
        Hostile{"bad-shared-string.xlsx",
                "a cell of the sheet Data refers to text number \"4000000000\", which the "
                "workbook does not have"},
        // The strings are counted after the sheet is read, yet a text
        // missing from them is told before a fault later in the sheet, in
        // the cell's own words, and damaged strings before either.
        Hostile{"missing-string-first.xlsx",
                "a cell of the sheet Data refers to text number \" 007\", which the workbook "
                "does not have"},
        Hostile{"bad-strings-bad-sheet.xlsx",
                "the workbook is damaged (xl/sharedStrings.xml: the XML is malformed "
                "(Start-end tags mismatch))"},
        Hostile{"malformed.xlsx",
                "the workbook is damaged (xl/worksheets/sheet1.xml: the XML is malformed "
                "(Start-end tags mismatch))"},
        Hostile{"long-header.xlsx",
                "the header of column 2 is 10003 characters long (at most 255 are allowed)"},
        // 200 MB of blanks packed into 200 kB: refused after 64 MB, not read to the end.
        Hostile{"bomb.xlsx",
                "the workbook is damaged (xl/worksheets/sheet1.xml: an element of the XML is "
                "larger than 64 MB)"}));

TEST(Hostile, AMissingWorkbookIsNamed)
{
    const std::string path = fixture("workbooks/nowhere.xlsx");
    EXPECT_EQ(openSheet(path).error, "Cannot read " + path + ": the file does not exist.");
}

TEST(Hostile, AFolderIsNoWorkbook)
{
    const std::string path = fixture("a.xls.d");
    EXPECT_EQ(openSheet(path).error, "Cannot read " + path + ": the file cannot be opened.");
}

// Every prefix of a good workbook, cut anywhere, is read or refused cleanly.
TEST(Hostile, EveryCutOfAWorkbookIsReadOrRefused)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zelvar-cut-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char *name : {"banks.xls", "banks.xlsx"}) {
        std::ifstream in(datatest::example(name), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::size_t cut = 0; cut < bytes.size(); cut += 97) {
            const std::string path = (folder / ("cut-" + std::to_string(cut) + "-" + name)).string();
            std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(cut));
            const DataReadResult result = readDataFile(path);
            EXPECT_NE(result.outcome, DataReadResult::Outcome::Loaded) << path;
            EXPECT_EQ(result.message.rfind("Cannot read " + path + ": ", 0), 0u) << result.message;
            std::filesystem::remove(path);
        }
    }
    std::filesystem::remove_all(folder);
}

// Bytes of a good workbook flipped here and there: read or refused, never a crash.
TEST(Hostile, ScrambledWorkbooksAreReadOrRefused)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zelvar-flip-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (const char *name : {"banks.xls", "banks.xlsx"}) {
        std::ifstream in(datatest::example(name), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (int round = 0; round < 60; ++round) {
            std::string scrambled = bytes;
            for (int k = 0; k < 8; ++k)
                scrambled[next() % scrambled.size()] = static_cast<char>(next() & 0xFF);
            const std::string path = (folder / name).string();
            std::ofstream(path, std::ios::binary | std::ios::trunc)
                .write(scrambled.data(), static_cast<std::streamsize>(scrambled.size()));
            const DataReadResult result = readDataFile(path);
            if (result.outcome == DataReadResult::Outcome::Loaded) {
                EXPECT_EQ(result.data.InputData.cols(), result.data.NumDMU);
                EXPECT_EQ(result.data.OutputData.cols(), result.data.NumDMU);
                EXPECT_EQ(static_cast<int>(result.data.DMUNames.size()), result.data.NumDMU + 1);
            } else {
                EXPECT_FALSE(result.message.empty());
            }
        }
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace zelvar
