#include "data/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelvar {
namespace {

// Worked by hand: rounded half away from zero as written (2.675 is stored as
// 2.67499999999999982 yet shows 2.68), never "-0", the separator given. A
// text ending in % is formatPercent's.
struct Formatted {
    double value;
    int decimals;
    const char *text;
    const char *separator = ".";
};

class NumberFormatting : public testing::TestWithParam<Formatted> {};

TEST_P(NumberFormatting, WritesTheRoundedValueWithTheSeparator)
{
    const auto [value, decimals, text, separator] = GetParam();
    const auto format = std::string(text).ends_with('%') ? formatPercent : formatFixed;
    EXPECT_EQ(format(value, decimals, separator), text) << value << " with " << decimals << " decimals";
}

constexpr double Inf = std::numeric_limits<double>::infinity();
using F = Formatted;

INSTANTIATE_TEST_SUITE_P(
    Table, NumberFormatting,
    testing::Values(F{0.0, 2, "0.00"}, F{1.0, 2, "1.00"}, F{0.5, 0, "1."}, F{3.0, 0, "3."}, F{-2.5, 0, "-3."},
                    F{0.125, 2, "0.13"}, F{-0.125, 2, "-0.13"}, F{2.675, 2, "2.68"}, F{1.005, 2, "1.01"}, F{1.15, 1, "1.2"},
                    F{-1.15, 1, "-1.2"}, F{0.1 + 0.2, 2, "0.30"}, F{0.835, 2, "0.84"}, F{0.0049, 2, "0.00"}, F{0.005, 2, "0.01"},
                    F{9.995, 2, "10.00"}, F{99.96, 1, "100.0"}, F{0.0004, 3, "0.000"}, F{1e-9, 8, "0.00000000"},
                    F{123456.789, 1, "123456.8"}, F{0.87654321, 8, "0.87654321"}, F{1e20, 2, "100000000000000000000.00"},
                    F{-0.001, 2, "0.00"}, F{-0.0, 2, "0.00"}, F{-1e-12, 8, "0.00000000"}, F{-0.00001, 2, "0.00%"},
                    F{0.835, 0, "84.%"}, F{1.0, 2, "100.00%"}, F{0.12345, 2, "12.35%"},
                    F{std::nan(""), 2, "NaN"}, F{Inf, 2, "Infinity"}, F{-Inf, 2, "-Infinity"},
                    // A comma, and a separator of two bytes (U+066B), as locales give them.
                    F{2.675, 2, "2,68", ","}, F{-1234.5, 1, "-1234,5", ","}, F{7.0, 0, "7,", ","}, F{0.8125, 1, "81,3%", ","},
                    F{1.5, 1, "1\xD9\xAB" "5", "\xD9\xAB"}));

TEST(NumberFormatting, RoundingAgreesWithWhatIsShown)
{
    EXPECT_EQ(std::vector({roundDecimals(2.675, 2), roundDecimals(0.99999999, 6), roundDecimals(-1e-9, 6)}),
              std::vector({2.68, 1.0, 0.0}));
    EXPECT_TRUE(std::isnan(roundDecimals(std::nan(""), 2)));
    for (double v : {0.1, 0.835, 1.005, 12.3456789, -7.77777, -0.125})
        for (int decimals = 0; decimals <= 8; ++decimals)
            EXPECT_EQ(formatFixed(roundDecimals(v, decimals), decimals), formatFixed(v, decimals));
}

class NumberReading : public testing::TestWithParam<std::tuple<const char *, char, std::optional<double>>> {};

TEST_P(NumberReading, ReadsNumbersAndRefusesEverythingElse)
{
    const auto [text, decimalSymbol, value] = GetParam();
    EXPECT_EQ(parseNumber(text, decimalSymbol), value) << '"' << text << '"';
}

using P = std::tuple<const char *, char, std::optional<double>>;
constexpr std::nullopt_t No = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Table, NumberReading,
    testing::Values(P{"12", '.', 12.0}, P{" 12.5 ", '.', 12.5}, P{"\t-3\t", '.', -3.0}, P{"+4", '.', 4.0},
                    P{".5", '.', 0.5}, P{"5.", '.', 5.0}, P{"1e3", '.', 1000.0}, P{"-2.5E-2", '.', -0.025},
                    P{"1e+2", '.', 100.0}, P{"4.6e13", '.', 4.6e13}, P{"12,5", ',', 12.5}, P{"-3,5e2", ',', -350.0},
                    P{"", '.', No}, P{"   ", '.', No}, P{"n/a", '.', No}, P{"12,5", '.', No}, P{"12.5", ',', No},
                    P{"1.2.3", '.', No}, P{"1 000", '.', No}, P{"-", '.', No}, P{"+-1", '.', No}, P{"--1", '.', No},
                    P{"1-", '.', No}, P{"1e", '.', No}, P{"e5", '.', No}, P{"1e+-5", '.', No}, P{"1e5.5", '.', No},
                    P{"0x10", '.', No}, P{"inf", '.', No}, P{"nan", '.', No},
                    // Beyond the range of a double, either way.
                    P{"1e999", '.', No}, P{"-1e400", '.', No}, P{"1e-400", '.', No}));

} // namespace
} // namespace zelvar
