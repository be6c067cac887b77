#include "DialogTestSupport.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

using namespace dialogtest;
using enum OptionButton;

class DMULists : public ::testing::Test {
protected:
    DMULists() { loadData(workspace, 6); }
    Workspace workspace;
};

TEST_F(DMULists, all_before_either_list_had_the_focus_fills_the_technology_list)
{
    workspace.discardModelDialog();
    ModelDialogState &d = workspace.modelDialog();
    d.cmdAll();
    EXPECT_EQ(d.lstTech.selectedCount(), 6);
    EXPECT_EQ(d.lstEval.selectedCount(), 0);
}

TEST_F(DMULists, all_and_clear_act_on_the_list_that_last_had_the_focus)
{
    ModelDialogState &d = freshDialog(workspace);
    d.focus(ListKind::Evaluation);
    d.cmdClear();
    EXPECT_EQ(d.lstEval.selectedCount(), 0);
    EXPECT_EQ(d.lstTech.selectedCount(), 6);

    d.focus(ListKind::Technology);
    d.cmdClear();
    EXPECT_EQ(d.lstTech.selectedCount(), 0);
    d.focus(ListKind::Evaluation);
    d.cmdAll();
    EXPECT_EQ(d.lstEval.selectedCount(), 6);
    EXPECT_EQ(d.lstTech.selectedCount(), 0);
}

TEST_F(DMULists, clear_and_all_still_work_while_a_dynamic_model_disables_the_lists)
{
    ModelDialogState &d = freshDialog(workspace);
    d.click(optWA);
    d.cmdClear(); // technology list, the one named by ActiveList

    RecordingFeedback feedback;
    const StartResult refused = d.cmdStart(feedback);
    EXPECT_FALSE(refused.started);
    EXPECT_EQ(feedback.messages, std::vector<std::string>{"Please select at least one DMU!"});
    EXPECT_TRUE(workspace.options.WindowAnalysis);

    d.cmdAll();
    feedback.messages.clear();
    EXPECT_TRUE(d.cmdStart(feedback).started);
    EXPECT_TRUE(feedback.messages.empty());
}

} // namespace
} // namespace zelvar
