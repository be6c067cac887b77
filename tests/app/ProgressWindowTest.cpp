#include "app/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace zelvar::test {
namespace {

TEST(ProgressWindow, ShowsTheRunAndClosesAtItsEnd)
{
    ProgressWindow window;
    EXPECT_EQ(window.windowTitle(), "Zelvar");
    EXPECT_EQ(window.objectName(), "frmProgress");
    auto *label = window.findChild<QLabel *>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Computing DEA Scores...");
    EXPECT_EQ(window.statusLabel()->text(), "0% computed.");

    int refreshed = 0;
    window.setRefreshHook([&refreshed] { ++refreshed; });
    ProgressSink &sink = window.sink();
    sink.show(5);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window.bar()->maximum(), 5);
    EXPECT_GE(refreshed, 1);
    sink.setProgress(2, "40% completed.");
    EXPECT_EQ(window.bar()->value(), 2);
    EXPECT_EQ(window.statusLabel()->text(), "40% completed.");
    sink.repaint();
    sink.close();
    EXPECT_FALSE(window.isVisible());
}

TEST(ProgressWindow, CancelAsksTheRunToStop)
{
    ProgressWindow window;
    window.sink().show(3);
    EXPECT_FALSE(window.sink().cancelRequested());
    window.cancelButton()->click();
    EXPECT_TRUE(window.sink().cancelRequested());
    // Closing the window while the run lasts is a Cancel too; it stays up.
    window.resetCancel();
    window.close();
    EXPECT_TRUE(window.sink().cancelRequested());
    EXPECT_TRUE(window.isVisible());
    window.sink().close();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace zelvar::test
