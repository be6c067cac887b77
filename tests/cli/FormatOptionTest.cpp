// zelvar-batch --format: the same tables as text, CSV or workbooks, file
// names following the format; and the note on negative data. Refused formats
// are the refused-*format*.case files.

#include "support/BatchProgram.h"


#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zelvar {
namespace {

namespace fs = std::filesystem;

using Arguments = std::vector<std::string>;

class FormatOption : public testing::Test {
protected:
    test::BatchOutcome run(Arguments arguments, const std::string &file = ZELVAR_EXAMPLES "/banks.txt")
    {
        arguments.push_back(file);
        m_last = test::runBatchProgram(arguments, m_scratch);
        return m_last;
    }
    const std::string &err() const { return m_last.err; }
    fs::path dir(const std::string &name) const { return m_scratch.path(name); }

    test::ScratchFolder m_scratch;
    test::BatchOutcome m_last;
};

TEST_F(FormatOption, WritesTheSameTablesAsCsvAndWorkbooks)
{
    const Arguments args{"--model", "FDH_RAD_OUT", "--window", "4:2", "--decimals", "3,2,2,4"};
    auto with = [&args](const Arguments &more) {
        Arguments all = args;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const std::string text = run(args).out;
    ASSERT_EQ(run(with({"--format", "csv", "--out", dir("csv")})).status, 0) << err();
    ASSERT_EQ(run(with({"--format", "xlsx", "--out", dir("xlsx")})).status, 0) << err();
    const std::string csvOut = run(with({"--format", "csv"})).out;

    // Four windows one after the other: each table's text ends in CR LF.
    std::string allCsv;
    std::size_t start = 0;
    for (int window = 0; window < 4; ++window) {
        SCOPED_TRACE("window " + std::to_string(window));
        const std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string table = text.substr(start, end - start);
        start = end + 2;
        const std::string caption = "banks_FDH_RAD_OUT_Window" + std::to_string(window);

        // CSV: the very cells, commas for TABs, CR LF for CR (no cell needs quotes).
        std::string expected;
        for (char c : table + "\r")
            expected += c == '\t' ? "," : c == '\r' ? "\r\n" : std::string(1, c);
        const std::string csv = test::fileText((dir("csv") / (caption + ".csv")).string());
        EXPECT_EQ(csv, expected);
        allCsv += csv;

        // The workbook beside it: ExportTest reads workbooks back cell for cell.
        EXPECT_TRUE(fs::exists(dir("xlsx") / (caption + ".xlsx")));
    }
    EXPECT_EQ(csvOut, allCsv);
    EXPECT_FALSE(fs::exists(dir("csv") / "banks_FDH_RAD_OUT_Window0.txt"));
}

TEST_F(FormatOption, NegativeDataGetANoteAndTheRunsGoOn)
{
    const std::string file = dir("negative.txt");
    std::ofstream(file, std::ios::binary) << "Name,{I}Staff,{O}Loans\nA,2,4\nB,-4,4\nC,5,10\n";
    const test::BatchOutcome radial = run({"--model", "CRS_RAD_IN"}, file);
    EXPECT_EQ(radial.status, 0);
    EXPECT_EQ(err().rfind("Note: DMU 2 (B) holds a negative value in column {I}Staff: -4.\nThe CRS_RAD_IN model", 0), 0u);
    EXPECT_EQ(std::count(radial.out.begin(), radial.out.end(), '\r'), 4); // the header and 3 rows

    EXPECT_EQ(run({"--model", "CRS_ADD_NON"}, file).status, 0);
    EXPECT_EQ(err(), "");
}

} // namespace
} // namespace zelvar
