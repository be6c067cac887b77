#include "session/FormatDialogState.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

std::string text(const DisplayFormat &f)
{
    return std::to_string(f.DecScore) + " " + std::to_string(f.DecWeights) + " " + std::to_string(f.DecIntensities) + " "
        + std::to_string(f.DecSlacks) + (f.VirtualWeights ? " virtual" : " pure");
}

constexpr int Keep = -100;

struct FormatCase {
    DisplayFormat settings;
    std::array<int, 4> choose; // the entries chosen in the four lists; Keep for none
    const char *clicks;        // p: pure weights, v: virtual inputs and outputs
    const char *shown;         // when the dialog opens: the four lists and the weights choice
    const char *after;         // the settings after OK
};

class FormatDialog : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDialog, ShowsTheSettingsAndOkWritesTheChoices)
{
    DisplayFormat settings = GetParam().settings;
    FormatDialogState dialog(settings);
    std::string shown;
    for (int k = 0; k < FormatDialogState::ListCount; ++k)
        shown += FormatDialogState::entryText(dialog.Combo1[k]) + " ";
    EXPECT_EQ(shown + (dialog.isVirtualSelected() ? "virtual" : "pure"), GetParam().shown);
    for (int k = 0; k < FormatDialogState::ListCount; ++k)
        dialog.Combo1[k] = GetParam().choose[k] == Keep ? dialog.Combo1[k] : GetParam().choose[k];
    for (const char *c = GetParam().clicks; *c; ++c)
        *c == 'p' ? dialog.clickPure() : dialog.clickVirtual();
    dialog.cmdOK(settings);
    EXPECT_EQ(text(settings), GetParam().after);
}

constexpr std::array<int, 4> Same = {Keep, Keep, Keep, Keep};

// Entry n - 1 reads n; a value outside 1..8, stored or chosen, is the nearest entry.
INSTANTIATE_TEST_SUITE_P(Table, FormatDialog,
                         testing::Values(FormatCase{{}, Same, "", "2 2 2 2 virtual", "2 2 2 2 virtual"},
                                         FormatCase{{5, 3, 8, 1, false}, Same, "", "5 3 8 1 pure", "5 3 8 1 pure"},
                                         FormatCase{{0, 12, -3, 9, true}, Same, "", "1 8 1 8 virtual", "1 8 1 8 virtual"},
                                         FormatCase{{}, {4, Keep, Keep, 6}, "p", "2 2 2 2 virtual", "5 2 2 7 pure"},
                                         FormatCase{{}, {Keep, -1, 20, Keep}, "", "2 2 2 2 virtual", "2 1 8 2 virtual"},
                                         FormatCase{{2, 2, 2, 2, false}, {0, 7, 3, 1}, "vpv", "2 2 2 2 pure", "1 8 4 2 virtual"}));

} // namespace
} // namespace zelvar
