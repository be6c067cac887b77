#include "support/TestSupport.h"

#include "data/DataFileReader.h"
#include "data/NumberText.h"
#include "data/TableSource.h"
#include "data/ZipArchive.h"
#include "engine/RunDriver.h"
#include "results/ResultsTable.h"
#include "results/TableExport.h"
#include "results/XlsxExport.h"
#include "session/ModelNames.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace zelvar {
namespace {

std::string example(const std::string &name) { return std::string(ZELVAR_EXAMPLES) + "/" + name; }

// The bank sample run with a model as Start would set it up.
struct BankRun {
    Workspace workspace;
    std::unique_ptr<ResultsTable> table;

    BankRun(const std::string &model, const std::string &separator)
    {
        DataReadResult read = readDataFile(example("banks.txt"));
        workspace.data = std::move(read.data);
        workspace.decimalSeparator = separator;
        workspace.format.DecScore = 3;
        workspace.format.DecSlacks = 4;
        ModelOptions &options = workspace.options;
        const std::vector<std::string> codes = [&] {
            std::vector<std::string> parts;
            std::stringstream stream(model);
            for (std::string part; std::getline(stream, part, '_');)
                parts.push_back(part);
            return parts;
        }();
        if (codes[0] == "FDH")
            options.Structure = ModelStructure::FDH;
        else
            options.ReturnsToScale = returnsFromCode(codes[0]).value();
        options.Distance = distanceFromCode(codes[1]).value();
        options.Orientation = orientationFromCode(codes[2]).value();
        options.ModelName = model;
        // A DMU evaluated outside the technology, and names a CSV must quote.
        SelectionSet eval(20, true);
        SelectionSet tech(20, true);
        tech.select(7, false);
        workspace.data.DMUNames[3] = "    Mill \"Lane\", North";
        table = std::make_unique<ResultsTable>(workspace.data, options, workspace.format);
        RunDriver driver(workspace);
        NoProgress progress;
        test::RecordingFeedback feedback;
        EXPECT_NE(driver.RunModel(eval, tech, *table, progress, feedback), RunOutcome::NoData);
    }
};

std::string formatted(const CellNumber &number, const std::string &separator)
{
    switch (number.style) {
    case NumberStyle::Percent:
        return formatPercent(number.value, number.decimals, separator);
    case NumberStyle::Whole:
        return std::to_string(static_cast<long long>(number.value));
    case NumberStyle::Fixed:
        break;
    }
    return formatFixed(number.value, number.decimals, separator);
}

// RFC 4180: fields joined by commas, records ended by CR LF, quoted fields
// with doubled quotes.
std::vector<std::vector<std::string>> parseCsv(const std::string &text)
{
    std::vector<std::vector<std::string>> records(1);
    std::string field;
    bool quoted = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (quoted) {
            if (c == '"' && k + 1 < text.size() && text[k + 1] == '"')
                field += text[++k];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') {
            ++k;
            records.back().push_back(std::move(field));
            field.clear();
            records.emplace_back();
        } else {
            EXPECT_NE(c, '\n') << "a bare LF at byte " << k;
            field += c;
        }
    }
    EXPECT_TRUE(records.back().empty() && field.empty()) << "the last record must end in CR LF";
    records.pop_back();
    return records;
}

std::string readFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct ExportCase {
    const char *model;
    const char *separator;
};

class ExportedTables : public testing::TestWithParam<ExportCase> {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path()
            / ("zelvar-export-" + std::to_string(::getpid()) + "-" + std::to_string(++m_count));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::string path(const std::string &name) const { return (m_folder / name).string(); }

private:
    std::filesystem::path m_folder;
    static inline int m_count = 0;
};

TEST_P(ExportedTables, ReadBackCellForCellAsTheTableShowsThem)
{
    const BankRun run(GetParam().model, GetParam().separator);
    const ResultsTable &table = *run.table;
    const TextGrid &grid = table.grid();
    const std::string separator = GetParam().separator;

    // The workbook, read with the program's own reader.
    const std::string xlsx = path("table.xlsx");
    ASSERT_EQ(exportResults(table, xlsx, ExportFormat::Xlsx), "");
    OpenedTable opened = openWorkbookSheet(xlsx, "Results");
    ASSERT_TRUE(opened.table) << opened.error;
    TableSource &sheet = *opened.table;
    ASSERT_EQ(sheet.fieldCount(), grid.cols());
    ASSERT_EQ(sheet.recordCount(), grid.rows() - 1);
    for (int col = 0; col < grid.cols(); ++col)
        EXPECT_EQ(sheet.fieldName(col), grid.text(0, col));
    int numbers = 0;
    sheet.moveFirst();
    for (int row = 1; row < grid.rows(); ++row, sheet.moveNext()) {
        for (int col = 0; col < grid.cols(); ++col) {
            SCOPED_TRACE("cell " + std::to_string(row) + ", " + std::to_string(col) + ": " + grid.text(row, col));
            const FieldValue value = sheet.value(col);
            if (const std::optional<CellNumber> number = table.number(row, col)) {
                ++numbers;
                ASSERT_EQ(value.kind, FieldValue::Kind::Number);
                // The value behind the text, to the digits a workbook keeps.
                EXPECT_NEAR(value.number, number->value, 1e-14 * std::max(1.0, std::fabs(number->value)));
                EXPECT_EQ(formatted({value.number, number->style, number->decimals}, separator), grid.text(row, col));
            } else if (grid.text(row, col).empty()) {
                EXPECT_TRUE(value.isNull());
            } else {
                ASSERT_EQ(value.kind, FieldValue::Kind::Text);
                EXPECT_EQ(value.text, grid.text(row, col));
            }
        }
    }
    // Row labels, scores, counts and the rest are numbers.
    EXPECT_GT(numbers, 2 * (grid.rows() - 1));

    // Bold headers, frozen header row and DMU columns, the efficient rows cyan.
    std::string reason;
    const auto archive = ZipArchive::open(xlsx, reason);
    ASSERT_TRUE(archive) << reason;
    std::string sheetXml;
    std::string styles;
    ASSERT_TRUE(archive->readAll("xl/worksheets/sheet1.xml", 1 << 24, sheetXml, reason)) << reason;
    ASSERT_TRUE(archive->readAll("xl/styles.xml", 1 << 20, styles, reason)) << reason;
    EXPECT_NE(sheetXml.find("<pane xSplit=\"2\" ySplit=\"1\" topLeftCell=\"C2\" activePane=\"bottomRight\" state=\"frozen\"/>"),
              std::string::npos);
    EXPECT_NE(styles.find("<b/>"), std::string::npos);
    EXPECT_NE(styles.find("FF00FFFF"), std::string::npos);
    // The score column's three decimals, a percentage but for the additive model.
    const bool percent = table.number(1, 2) && table.number(1, 2)->style == NumberStyle::Percent;
    EXPECT_NE(styles.find(percent ? "formatCode=\"0.000%\"" : "formatCode=\"0.000\""), std::string::npos);

    // The CSV: the same cells, numbers with "." as the decimal point.
    const std::string csv = path("table.csv");
    ASSERT_EQ(exportResults(table, csv, ExportFormat::Csv), "");
    const std::string text = readFile(csv);
    EXPECT_EQ(text, csvText(table));
    const auto records = parseCsv(text);
    ASSERT_EQ(static_cast<int>(records.size()), grid.rows());
    for (int row = 0; row < grid.rows(); ++row) {
        ASSERT_EQ(static_cast<int>(records[static_cast<std::size_t>(row)].size()), grid.cols());
        for (int col = 0; col < grid.cols(); ++col) {
            const std::string &cell = records[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
            std::string expected = grid.text(row, col);
            if (const std::optional<CellNumber> number = row > 0 ? table.number(row, col) : std::nullopt)
                expected = formatted(*number, ".");
            else if (col == table.benchmarksColumn() && !table.fdh() && row > 0)
                for (char &c : expected)
                    c = c == separator[0] ? '.' : c;
            EXPECT_EQ(cell, expected) << "cell " << row << ", " << col;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, ExportedTables,
                         testing::Values(ExportCase{"CRS_RAD_IN", "."}, ExportCase{"VRS_RAD_OUT", ","},
                                         ExportCase{"NDR_MAXAV_IN", "."}, ExportCase{"NIR_MINAV_NON", ","},
                                         ExportCase{"CRS_ADD_NON", "."}, ExportCase{"FDH_RAD_OUT", ","}),
                         [](const auto &item) { return std::string(item.param.model); });

TEST(XlsxExport, CutsATextLongerThanACellHoldsAtABlank)
{
    const BankRun run("FDH_RAD_IN", ".");
    ResultsTable &table = *run.table;
    std::string list;
    for (int d = 1; list.size() < 40000; ++d)
        list += "  " + std::to_string(d);
    table.grid().setText(1, 5, list);
    const std::string path = (std::filesystem::temp_directory_path() / "zelvar-long-cell.xlsx").string();
    ASSERT_EQ(saveResultsXlsx(table, path), "");
    OpenedTable opened = openWorkbookSheet(path, "Results");
    ASSERT_TRUE(opened.table) << opened.error;
    opened.table->moveFirst();
    const std::string cell = opened.table->value(5).text;
    std::filesystem::remove(path);
    EXPECT_LE(cell.size(), XlsxMaxCellText);
    EXPECT_GT(cell.size(), XlsxMaxCellText - 10);
    EXPECT_EQ(cell.substr(cell.size() - 3), "\u2026");
    const std::string kept = cell.substr(0, cell.size() - 3);
    EXPECT_EQ(list.substr(0, kept.size()), kept);
    EXPECT_EQ(list[kept.size()], ' ');
}

} // namespace
} // namespace zelvar
