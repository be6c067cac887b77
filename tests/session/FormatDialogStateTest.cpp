#include "session/FormatDialogState.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using List = FormatDialogState::List;

// The decimals each list shows: the text of its selected entry.
std::array<std::string, 4> shownDecimals(const FormatDialogState &dialog)
{
    std::array<std::string, 4> shown;
    for (int k = 0; k < FormatDialogState::ListCount; ++k)
        shown[k] = FormatDialogState::entryText(dialog.Combo1[k]);
    return shown;
}

TEST(FormatDialog, the_lists_offer_one_to_eight_decimals)
{
    EXPECT_EQ(FormatDialogState::EntryCount, 8);
    EXPECT_EQ(FormatDialogState::entryText(0), "1");
    EXPECT_EQ(FormatDialogState::entryText(7), "8");
}

TEST(FormatDialog, with_default_settings_it_shows_two_decimals_everywhere_and_virtual_weights)
{
    const FormatDialogState dialog{DisplayFormat{}};
    EXPECT_EQ(shownDecimals(dialog), (std::array<std::string, 4>{"2", "2", "2", "2"}));
    EXPECT_TRUE(dialog.isVirtualSelected());
    EXPECT_FALSE(dialog.isPureSelected());
}

TEST(FormatDialog, each_list_shows_its_own_setting)
{
    DisplayFormat format;
    format.DecScore = 5;
    format.DecWeights = 3;
    format.DecIntensities = 8;
    format.DecSlacks = 1;
    format.VirtualWeights = false;
    const FormatDialogState dialog{format};
    EXPECT_EQ(shownDecimals(dialog), (std::array<std::string, 4>{"5", "3", "8", "1"}));
    EXPECT_TRUE(dialog.isPureSelected());
}

TEST(FormatDialog, a_stored_value_outside_one_to_eight_shows_the_nearest_entry)
{
    DisplayFormat format;
    format.DecScore = 0;
    format.DecWeights = 12;
    format.DecIntensities = -3;
    format.DecSlacks = 9;
    FormatDialogState dialog{format};
    EXPECT_EQ(shownDecimals(dialog), (std::array<std::string, 4>{"1", "8", "1", "8"}));

    dialog.cmdOK(format);
    EXPECT_EQ(format.DecScore, 1);
    EXPECT_EQ(format.DecWeights, 8);
    EXPECT_EQ(format.DecIntensities, 1);
    EXPECT_EQ(format.DecSlacks, 8);
}

TEST(FormatDialog, ok_writes_the_chosen_decimals_and_weights_display)
{
    DisplayFormat format;
    FormatDialogState dialog{format};
    dialog.Combo1[List::Score] = 4; // "5"
    dialog.Combo1[List::Slacks] = 6; // "7"
    dialog.clickPure();
    dialog.cmdOK(format);
    EXPECT_EQ(format.DecScore, 5);
    EXPECT_EQ(format.DecWeights, 2);
    EXPECT_EQ(format.DecIntensities, 2);
    EXPECT_EQ(format.DecSlacks, 7);
    EXPECT_FALSE(format.VirtualWeights);
}

TEST(FormatDialog, the_last_weights_click_before_ok_counts)
{
    DisplayFormat format;
    format.VirtualWeights = false;
    FormatDialogState dialog{format};
    dialog.clickVirtual();
    dialog.clickPure();
    dialog.clickVirtual();
    EXPECT_TRUE(dialog.isVirtualSelected());
    dialog.cmdOK(format);
    EXPECT_TRUE(format.VirtualWeights);
}

TEST(FormatDialog, cancel_keeps_the_settings_but_the_next_showing_has_the_abandoned_choices)
{
    DisplayFormat format;
    // One dialog for the whole session, only hidden between showings.
    FormatDialogState dialog{format};
    dialog.Combo1[List::Score] = 5; // "6"
    dialog.clickPure();
    dialog.cmdCancel();
    EXPECT_EQ(format, DisplayFormat{});

    EXPECT_EQ(FormatDialogState::entryText(dialog.Combo1[List::Score]), "6");
    EXPECT_TRUE(dialog.isPureSelected());
    dialog.cmdOK(format);
    EXPECT_EQ(format.DecScore, 6);
    EXPECT_FALSE(format.VirtualWeights);
}

TEST(FormatDialog, a_list_left_without_a_selection_gives_the_nearest_entry_on_ok)
{
    DisplayFormat format;
    FormatDialogState dialog{format};
    dialog.Combo1[List::Weights] = -1;
    dialog.Combo1[List::Intensities] = 20;
    dialog.cmdOK(format);
    EXPECT_EQ(format.DecWeights, 1);
    EXPECT_EQ(format.DecIntensities, 8);
}

} // namespace
} // namespace zelvar
