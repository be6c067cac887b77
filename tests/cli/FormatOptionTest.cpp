// zelvar-batch --format: the same tables as text, CSV or workbooks, file
// names following the format; and the note on negative data.

#include "support/BatchProgram.h"

#include "data/NumberText.h"
#include "data/TableSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zelvar {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The saved text's cells: rows split at CR, cells at TAB; the final CR LF dropped.
std::vector<std::vector<std::string>> textCells(std::string text)
{
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n")
        text.resize(text.size() - 2);
    std::vector<std::vector<std::string>> rows;
    std::stringstream lines(text);
    for (std::string line; std::getline(lines, line, '\r');) {
        rows.emplace_back();
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');)
            rows.back().push_back(cell);
        if (!line.empty() && line.back() == '\t')
            rows.back().emplace_back();
    }
    return rows;
}

// A number cell read back, written the way its text in the saved table is:
// a percentage when that ends in %, with as many decimals.
std::string asShown(double value, const std::string &shown)
{
    const bool percent = !shown.empty() && shown.back() == '%';
    const std::size_t point = shown.find('.');
    if (point == std::string::npos)
        return std::to_string(static_cast<long long>(value));
    const int decimals = static_cast<int>(shown.size() - point - 1 - (percent ? 1 : 0));
    return percent ? formatPercent(value, decimals) : formatFixed(value, decimals);
}

class FormatOption : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path()
            / ("zelvar-format-test-" + std::to_string(::getpid()) + "-"
               + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    test::BatchOutcome run(const std::string &arguments)
    {
        return test::runBatchProgram(arguments, (m_dir / "stderr.txt").string());
    }
    std::string err() const { return readFile(m_dir / "stderr.txt"); }
    fs::path dir() const { return m_dir; }

private:
    fs::path m_dir;
};

const std::string Banks = std::string(ZELVAR_EXAMPLES) + "/banks.txt";

TEST_F(FormatOption, WritesTheSameTablesAsCsvAndWorkbooks)
{
    const std::string args = "--model FDH_RAD_OUT --window 4:2 --decimals 3,2,2,4 ";
    const test::BatchOutcome text = run(args + "'" + Banks + "'");
    ASSERT_EQ(text.status, 0) << err();
    // Four windows, one after the other on standard output.
    std::vector<std::string> tables;
    for (std::size_t start = 0, end; (end = text.out.find("\r\n", start)) != std::string::npos; start = end + 2)
        tables.push_back(text.out.substr(start, end + 2 - start));
    ASSERT_EQ(tables.size(), 4u);

    const fs::path csvDir = dir() / "csv";
    const fs::path xlsxDir = dir() / "xlsx";
    ASSERT_EQ(run(args + "--format csv --out '" + csvDir.string() + "' '" + Banks + "'").status, 0) << err();
    ASSERT_EQ(run(args + "--format xlsx --out '" + xlsxDir.string() + "' '" + Banks + "'").status, 0) << err();
    const test::BatchOutcome csvOut = run(args + "--format csv '" + Banks + "'");
    ASSERT_EQ(csvOut.status, 0);

    std::string allCsv;
    for (int window = 0; window < 4; ++window) {
        SCOPED_TRACE("window " + std::to_string(window));
        const std::string caption = "banks_FDH_RAD_OUT_Window" + std::to_string(window);
        const auto cells = textCells(tables[static_cast<std::size_t>(window)]);

        // CSV: the very cells, joined by commas (none of them needs quotes).
        const std::string csv = readFile(csvDir / (caption + ".csv"));
        allCsv += csv;
        std::string expected;
        for (const auto &row : cells) {
            for (std::size_t col = 0; col < row.size(); ++col)
                expected += (col > 0 ? "," : "") + row[col];
            expected += "\r\n";
        }
        EXPECT_EQ(csv, expected);

        // The workbook, read back with the program's own reader.
        OpenedTable opened = openWorkbookSheet((xlsxDir / (caption + ".xlsx")).string(), "Results");
        ASSERT_TRUE(opened.table) << opened.error;
        TableSource &sheet = *opened.table;
        ASSERT_EQ(sheet.recordCount() + 1, static_cast<int>(cells.size()));
        for (std::size_t col = 0; col < cells[0].size(); ++col)
            EXPECT_EQ(sheet.fieldName(static_cast<int>(col)), cells[0][col]);
        sheet.moveFirst();
        for (std::size_t row = 1; row < cells.size(); ++row, sheet.moveNext()) {
            for (std::size_t col = 0; col < cells[row].size(); ++col) {
                const std::string &shown = cells[row][col];
                const FieldValue value = sheet.value(static_cast<int>(col));
                if (value.kind == FieldValue::Kind::Number)
                    EXPECT_EQ(asShown(value.number, shown), shown) << row << ", " << col;
                else
                    EXPECT_EQ(value.text, shown) << row << ", " << col;
            }
        }
    }
    EXPECT_FALSE(fs::exists(csvDir / "banks_FDH_RAD_OUT_Window0.txt"));
    EXPECT_EQ(csvOut.out, allCsv);
}

TEST_F(FormatOption, RefusesAnUnknownFormatAndAWorkbookWithoutAFolder)
{
    EXPECT_EQ(run("--format pdf '" + Banks + "'").status, 1);
    EXPECT_NE(err().find("--format"), std::string::npos) << err();
    const test::BatchOutcome xlsx = run("--format xlsx '" + Banks + "'");
    EXPECT_EQ(xlsx.status, 1);
    EXPECT_EQ(xlsx.out, "");
    EXPECT_EQ(err(), "--format xlsx writes workbooks into a folder: give one with --out DIR.\n");
}

TEST_F(FormatOption, NegativeDataGetANoteAndTheRunsGoOn)
{
    {
        std::ofstream data(dir() / "negative.txt", std::ios::binary);
        data << "Name,{I}Staff,{O}Loans\nA,2,4\nB,-4,4\nC,5,10\n";
    }
    const std::string file = "'" + (dir() / "negative.txt").string() + "'";
    const test::BatchOutcome radial = run("--model CRS_RAD_IN " + file);
    EXPECT_EQ(radial.status, 0);
    EXPECT_EQ(err(), "Note: DMU 2 (B) holds a negative value in column {I}Staff: -4.\nThe CRS_RAD_IN model "
                     "assumes inputs and outputs of at least 0: with negative data its scores are not "
                     "meaningful and may not be finite (big). The additive models (ADD) take negative data.\n");
    EXPECT_EQ(textCells(radial.out).size(), 4u);

    const test::BatchOutcome additive = run("--model CRS_ADD_NON " + file);
    EXPECT_EQ(additive.status, 0);
    EXPECT_EQ(err(), "");
}

} // namespace
} // namespace zelvar
