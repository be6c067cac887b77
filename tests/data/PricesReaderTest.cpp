// The prices reader on small files: what it loads, and every refusal naming
// the file (and the record and column of a bad cell).

#include "data/PricesReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvar {
namespace {

std::string fixture(const std::string &name) { return std::string(ZELVAR_FIXTURES) + "/prices/" + name; }

// The fixtures price 2 inputs and 2 outputs of 3 DMUs.
PricesReadResult read(const std::string &path, int inputs = 2, int outputs = 2, int dmus = 3)
{
    return readPricesFile(path, inputs, outputs, dmus);
}

std::vector<double> column(const Matrix &prices, int k)
{
    std::vector<double> values;
    for (int c = 1; c <= prices.rows(); ++c)
        values.push_back(prices(c, k));
    return values;
}

TEST(PricesReader, ReadsOneRowForEveryDmu)
{
    const PricesReadResult result = read(fixture("one-row.txt"));
    ASSERT_EQ(result.outcome, PricesReadResult::Outcome::Loaded) << result.message;
    EXPECT_EQ(result.PricesName, "one-row");
    ASSERT_EQ(result.Prices.cols(), 1);
    EXPECT_EQ(column(result.Prices, 1), (std::vector<double>{2, 1.5, 0.5, 0}));
}

TEST(PricesReader, ReadsOneRowPerDmuLaidOutByTheSchemaWithEmptyCellsAsZero)
{
    const PricesReadResult result = read(fixture("per-dmu.txt"));
    ASSERT_EQ(result.outcome, PricesReadResult::Outcome::Loaded) << result.message;
    ASSERT_EQ(result.Prices.cols(), 3);
    EXPECT_EQ(column(result.Prices, 1), (std::vector<double>{2, 1, 3, 4}));
    EXPECT_EQ(column(result.Prices, 2), (std::vector<double>{2.5, 0, 3, 4}));
    EXPECT_EQ(column(result.Prices, 3), (std::vector<double>{3, 1.25, 3.5, 0}));
}

TEST(PricesReader, TheSampleWorkbookHoldsTheSamplePrices)
{
    const std::string examples = ZELVAR_EXAMPLES;
    const PricesReadResult text = read(examples + "/banks-prices.txt", 2, 2, 20);
    const PricesReadResult workbook = read(examples + "/banks-prices.xls", 2, 2, 20);
    ASSERT_EQ(text.outcome, PricesReadResult::Outcome::Loaded) << text.message;
    ASSERT_EQ(workbook.outcome, PricesReadResult::Outcome::Loaded) << workbook.message;
    EXPECT_EQ(workbook.Prices, text.Prices);
    EXPECT_EQ(workbook.PricesName, "banks-prices");
}

struct Refusal {
    const char *name;
    std::string path;
    std::vector<std::string> says; // besides the path
    int dmus = 3;
};

class PricesRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(PricesRefusal, NamesTheFileAndWhy)
{
    const Refusal &c = GetParam();
    const PricesReadResult result = read(c.path, 2, 2, c.dmus);
    EXPECT_EQ(result.outcome, PricesReadResult::Outcome::Failed);
    EXPECT_NE(result.message.find(c.path), std::string::npos) << result.message;
    for (const std::string &part : c.says)
        EXPECT_NE(result.message.find(part), std::string::npos) << "missing \"" << part << "\" in " << result.message;
    EXPECT_EQ(result.Prices.cols(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, PricesRefusal,
    ::testing::Values(
        Refusal{"Negative", fixture("negative.txt"), {"record 2", "column y1", "-0.5", "0 or more"}},
        Refusal{"Text", fixture("text-cell.txt"), {"record 1", "column x2", "\"n/a\"", "not a number"}},
        Refusal{"FewColumns", fixture("few-columns.txt"), {"3 price columns", "2 inputs and 2 outputs", "(4)"}},
        Refusal{"ManyColumns", fixture("many-columns.txt"), {"5 price columns"}},
        Refusal{"RowsNeitherOneNorPerDmu", fixture("two-rows.txt"), {"2 rows", "3 DMUs", "one row per DMU"}},
        Refusal{"NoRows", fixture("header-only.txt"), {"0 rows"}},
        Refusal{"PerDmuRowsOfAnotherDataSet", fixture("per-dmu.txt"), {"3 rows", "4 DMUs"}, 4},
        Refusal{"UnknownSuffix", fixture("prices.csv"), {"Unknown prices format"}},
        Refusal{"Missing", fixture("missing.txt"), {}},
        Refusal{"WorkbookWithoutPricesSheet", std::string(ZELVAR_EXAMPLES) + "/banks-weights.xls", {"Prices"}}),
    [](const auto &item) { return std::string(item.param.name); });

} // namespace
} // namespace zelvar
