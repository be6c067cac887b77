#include "support/ResultsSupport.h"

#include "data/NumberText.h"
#include "data/TableSource.h"
#include "data/ZipArchive.h"
#include "engine/RunDriver.h"
#include "results/ResultsTable.h"
#include "results/TableExport.h"
#include "results/XlsxExport.h"
#include "session/DataCommands.h"
#include "session/ModelNames.h"
#include "session/Workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace zelvar {
namespace {

// The bank sample run as Start sets it up, DMU 7 outside the technology and
// DMU 3 named so that a CSV must quote it.
std::unique_ptr<ResultsTable> bankTable(Workspace &workspace, const std::string &model, const std::string &separator)
{
    test::RecordingFeedback feedback;
    EXPECT_TRUE(openDataFile(workspace, std::string(ZELVAR_EXAMPLES) + "/banks.txt", feedback));
    workspace.decimalSeparator = separator;
    workspace.format.DecScore = 3;
    workspace.data.DMUNames[3] = "    Mill \"Lane\", North";
    ModelDialogState &dialog = workspace.modelDialog();
    for (OptionButton button : buttonsForModelName(model).value_or(std::vector<OptionButton>{}))
        dialog.click(button);
    dialog.lstTech.select(7, false);
    PlannedRun run = dialog.cmdStart(feedback).runs.run(0);
    auto table = std::make_unique<ResultsTable>(workspace.data, workspace.options, workspace.format);
    RunDriver driver(workspace);
    NoProgress progress;
    EXPECT_NE(driver.RunModel(run.eval, run.tech, *table, progress, feedback), RunOutcome::NoData);
    return table;
}

std::string formatted(const CellNumber &number, const std::string &separator)
{
    if (number.style == NumberStyle::Whole)
        return std::to_string(static_cast<long long>(number.value));
    return number.style == NumberStyle::Percent ? formatPercent(number.value, number.decimals, separator)
                                                : formatFixed(number.value, number.decimals, separator);
}

// RFC 4180: fields joined by commas, records ended by CR LF, quotes doubled.
std::vector<std::vector<std::string>> parseCsv(const std::string &text)
{
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '"' && quoted && k + 1 < text.size() && text[k + 1] == '"')
            records.back().back() += text[++k];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            records.back().emplace_back();
        else if (c == '\r' && !quoted && text.compare(k, 2, "\r\n") == 0 && ++k)
            records.emplace_back(1);
        else
            records.back().back() += c;
    }
    EXPECT_EQ(records.back(), std::vector<std::string>(1)) << "the last record ends in CR LF";
    records.pop_back();
    return records;
}

struct ExportCase {
    const char *model;
    const char *separator;
};

class ExportedTables : public testing::TestWithParam<ExportCase> {};

TEST_P(ExportedTables, ReadBackCellForCellAsTheTableShowsThem)
{
    Workspace workspace;
    const auto table = bankTable(workspace, GetParam().model, GetParam().separator);
    const TextGrid &grid = table->grid();
    const std::string separator = GetParam().separator;
    const auto folder = std::filesystem::temp_directory_path() / ("zelvar-export-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string xlsx = (folder / "table.xlsx").string();
    const std::string csv = (folder / "table.csv").string();
    ASSERT_EQ(exportResults(*table, xlsx, ExportFormat::Xlsx), "");
    ASSERT_EQ(exportResults(*table, csv, ExportFormat::Csv), "");

    // The workbook, read with the program's own reader: numbers are the
    // values behind the texts, to the digits a workbook keeps.
    OpenedTable opened = openWorkbookSheet(xlsx, "Results");
    ASSERT_TRUE(opened.table) << opened.error;
    TableSource &sheet = *opened.table;
    ASSERT_EQ(sheet.fieldCount(), grid.cols());
    ASSERT_EQ(sheet.recordCount(), grid.rows() - 1);
    // The CSV: the same cells with "." as the decimal point.
    const std::string text = test::fileText(csv);
    EXPECT_EQ(text, csvText(*table));
    const auto records = parseCsv(text);
    ASSERT_EQ(static_cast<int>(records.size()), grid.rows());
    int numbers = 0;
    sheet.moveFirst();
    for (int row = 0; row < grid.rows(); ++row) {
        ASSERT_EQ(static_cast<int>(records[static_cast<std::size_t>(row)].size()), grid.cols());
        for (int col = 0; col < grid.cols(); ++col) {
            SCOPED_TRACE("cell " + std::to_string(row) + ", " + std::to_string(col) + ": " + grid.text(row, col));
            const std::string &shown = grid.text(row, col);
            const std::string &cell = records[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
            const std::optional<CellNumber> number = row > 0 ? table->number(row, col) : std::nullopt;
            if (row == 0) {
                EXPECT_EQ(sheet.fieldName(col), shown);
                EXPECT_EQ(cell, shown);
                continue;
            }
            const FieldValue value = sheet.value(col);
            if (number) {
                ++numbers;
                ASSERT_EQ(value.kind, FieldValue::Kind::Number);
                EXPECT_NEAR(value.number, number->value, 1e-14 * std::max(1.0, std::fabs(number->value)));
                EXPECT_EQ(formatted({value.number, number->style, number->decimals}, separator), shown);
                EXPECT_EQ(cell, formatted(*number, "."));
            } else {
                EXPECT_EQ(value.kind, shown.empty() ? FieldValue::Kind::Null : FieldValue::Kind::Text);
                EXPECT_EQ(value.text, shown);
                std::string expected = shown;
                if (col == table->benchmarksColumn() && !table->fdh())
                    std::replace(expected.begin(), expected.end(), separator[0], '.');
                EXPECT_EQ(cell, expected);
            }
        }
        if (row > 0)
            sheet.moveNext();
    }
    EXPECT_GT(numbers, 2 * (grid.rows() - 1)); // row numbers, scores, counts and more

    // Bold headers, the header row and DMU columns frozen, efficient rows cyan.
    std::string reason;
    std::string sheetXml;
    std::string styles;
    const auto archive = ZipArchive::open(xlsx, reason);
    ASSERT_TRUE(archive && archive->readAll("xl/worksheets/sheet1.xml", 1 << 24, sheetXml, reason)
                && archive->readAll("xl/styles.xml", 1 << 20, styles, reason))
        << reason;
    std::filesystem::remove_all(folder);
    EXPECT_NE(sheetXml.find("<pane xSplit=\"2\" ySplit=\"1\" topLeftCell=\"C2\" activePane=\"bottomRight\" "
                            "state=\"frozen\"/>"),
              std::string::npos);
    EXPECT_NE(styles.find("<b/>"), std::string::npos);
    EXPECT_NE(styles.find("FF00FFFF"), std::string::npos);
    const bool percent = table->number(1, 2) && table->number(1, 2)->style == NumberStyle::Percent;
    EXPECT_NE(styles.find(percent ? "formatCode=\"0.000%\"" : "formatCode=\"0.000\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Models, ExportedTables,
                         testing::Values(ExportCase{"CRS_RAD_IN", "."}, ExportCase{"VRS_RAD_OUT", ","},
                                         ExportCase{"NDR_MAXAV_IN", "."}, ExportCase{"NIR_MINAV_NON", ","},
                                         ExportCase{"CRS_ADD_NON", "."}, ExportCase{"FDH_RAD_OUT", ","}),
                         [](const auto &item) { return std::string(item.param.model); });

TEST(XlsxExport, CutsATextLongerThanACellHoldsAtABlank)
{
    Workspace workspace;
    const auto table = bankTable(workspace, "FDH_RAD_IN", ".");
    std::string list;
    for (int d = 1; list.size() < 40000; ++d)
        list += "  " + std::to_string(d);
    table->grid().setText(1, 1, list);
    const std::string path = (std::filesystem::temp_directory_path() / "zelvar-long-cell.xlsx").string();
    ASSERT_EQ(saveResultsXlsx(*table, path), "");
    OpenedTable opened = openWorkbookSheet(path, "Results");
    ASSERT_TRUE(opened.table) << opened.error;
    opened.table->moveFirst();
    const std::string cell = opened.table->value(1).text;
    std::filesystem::remove(path);
    ASSERT_LE(cell.size(), XlsxMaxCellText);
    EXPECT_GT(cell.size(), XlsxMaxCellText - 10);
    const std::string kept = cell.substr(0, cell.size() - 3);
    EXPECT_EQ(cell.substr(kept.size()), "\u2026");
    EXPECT_EQ(list.substr(0, kept.size() + 1), kept + " ");
}

} // namespace
} // namespace zelvar
