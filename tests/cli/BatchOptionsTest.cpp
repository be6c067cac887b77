#include "cli/BatchOptions.h"
#include "session/ModelNames.h"

#include <gtest/gtest.h>

#include <set>

namespace zelvar {
namespace {

TEST(DmuList, NumbersAndRangesAreMergedInDmuOrder)
{
    const DmuListResult result = parseDmuList("7,1-4,3", 10);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.dmus, (std::vector<int>{1, 2, 3, 4, 7}));
}

TEST(DmuList, PiecesOutsideTheDataSetAreRefusedByName)
{
    for (const char *list : {"0", "11", "3-12", "4-2", "x", "1,,2", "-3", ""}) {
        const DmuListResult result = parseDmuList(list, 10);
        EXPECT_FALSE(result.error.empty()) << list;
        EXPECT_TRUE(result.dmus.empty()) << list;
    }
    EXPECT_NE(parseDmuList("1,99", 10).error.find("\"99\""), std::string::npos);
}

TEST(WindowOption, TakesPeriodsAndWidth)
{
    EXPECT_EQ(parseWindow("4:2"), (std::pair{4, 2}));
    EXPECT_FALSE(parseWindow("4"));
    EXPECT_FALSE(parseWindow("0:1"));
    EXPECT_FALSE(parseWindow("4:x"));
}

TEST(ModelNames, EveryComposableNameMapsToButtonsAndNothingElseDoes)
{
    const std::vector<std::string> names = allModelNames();
    EXPECT_EQ(names.size(), 4u * 4u * 3u + 2u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    for (const std::string &name : names)
        EXPECT_TRUE(buttonsForModelName(name)) << name;
    for (const char *name : {"FDH_RAD_NON", "FDH_ADD_IN", "CRS_RAD", "crs_rad_in", "CRS_RAD_IN_", ""})
        EXPECT_FALSE(buttonsForModelName(name)) << name;
    EXPECT_EQ(*buttonsForModelName("NIR_MAXAV_OUT"),
              (std::vector{OptionButton::optConvex, OptionButton::optNir, OptionButton::optMaxaverage,
                           OptionButton::optOutput}));
}

} // namespace
} // namespace zelvar
