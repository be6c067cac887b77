#include "app/AppTestSupport.h"

#include <QClipboard>
#include <QItemSelectionModel>

namespace zelvar::test {
namespace {

QString clipboard() { return QGuiApplication::clipboard()->text(); }

QString fileContents(const QString &name) { return QString::fromStdString(fileText(name.toStdString())); }

// six.txt under constant returns, input oriented: Loans per Staff over the best
// ratio 10 / 5 = 2 (A and C): A 4/2, B 4/4, C 10/5, D 4/8, E 6/4, F 5/5.
class ResultsExport : public AppTest {
protected:
    ResultsWindow &run()
    {
        loadSix();
        runModel();
        EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
        return *window().resultsWindows().at(0);
    }
};

TEST_F(ResultsExport, theViewShowsHeadersLabelsNamesScoresAndEfficientDmusInCyan)
{
    ResultsWindow &w = run();
    QAbstractItemModel *model = w.view()->model();
    QStringList headers, rows;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < model->rowCount(); ++r) {
        const bool cyan = model->index(r, 4).data(Qt::BackgroundRole).value<QBrush>().color() == QColor(0, 255, 255);
        rows << model->headerData(r, Qt::Vertical).toString() + cell(&w, r, 0) + " " + cell(&w, r, 1) + (cyan ? " cyan" : "");
    }
    EXPECT_EQ(headers.join("|"), "DMU|Score|{I}Staff{V}|{O}Loans{V}|Benchmarks|{S} {I}Staff|{S} {O}Loans");
    EXPECT_EQ(rows, QStringList({"1    A 100.00% cyan", "2    B 50.00%", "3    C 100.00% cyan", "4    D 25.00%",
                                 "5    E 75.00%", "6    F 50.00%"}));
}

TEST_F(ResultsExport, copyAllTakesTheWholeTableAndLeavesTheCurrentCell)
{
    ResultsWindow &w = run();
    trigger("mnuEditCopy"); // a run ends with the current cell at DMU 1's name
    EXPECT_EQ(clipboard(), "    A");
    w.grid().setCurrent(3, 2);
    trigger("mnuEditCopyAll");
    const QStringList rows = clipboard().split('\r');
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0], " \tDMU\tScore\t{I}Staff{V}\t{O}Loans{V}\tBenchmarks\t{S} {I}Staff\t{S} {O}Loans");
    // D (8 | 4): v = 1/8, u = v / 2 (A's and C's ratio 2), virtual output 4 / 16.
    EXPECT_EQ(rows[4].section('\t', 0, 4), "4\t    D\t25.00%\t1.00\t0.25");
    EXPECT_EQ(QList({w.grid().currentRow(), w.grid().currentCol(), w.grid().selectionRow(), w.grid().selectionCol()}),
              QList({3, 2, 3, 2}));
}

TEST_F(ResultsExport, copyTakesTheBlockTheUserSelectedAndThenOnlyItsFirstCell)
{
    ResultsWindow &w = run();
    QTableView *view = w.view();
    window().resize(900, 700);
    window().show();
    w.showMaximized();
    // From DMU 2's name to DMU 4's score.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      view->visualRect(view->model()->index(3, 1)).center());
    trigger("mnuEditCopy");
    EXPECT_EQ(clipboard(), QStringLiteral("    B\t50.00%\r    C\t100.00%\r    D\t25.00%"));
    EXPECT_EQ(QList({w.grid().selectionRow(), w.grid().selectionCol()}), QList({2, 1}));
    EXPECT_EQ(view->selectionModel()->selectedIndexes(), QModelIndexList{view->model()->index(1, 0)});
}

TEST_F(ResultsExport, saveWritesTheCopiedTextBesideTheDataFileUnderTheCaption)
{
    ResultsWindow &w = run();
    trigger("mnuEditCopyAll");
    w.grid().setCurrent(2, 2);
    trigger("mnuFileSave");
    EXPECT_EQ(fileContents(path("six.txt_CRS_RAD_IN.txt")), clipboard() + "\r\n");
    EXPECT_EQ(QList({w.grid().currentRow(), w.grid().currentCol()}), QList({0, 0}));
}

TEST_F(ResultsExport, saveAsWritesExactlyTheChosenNameWhereTheNextLoadStartsOrSaysWhyNot)
{
    ResultsWindow &w = run();
    trigger("mnuFileSaveAs"); // cancelled
    trigger("mnuFileSaveAs", path("res"));
    EXPECT_EQ(dialogs.starts.mid(1), QStringList({w.windowTitle(), w.windowTitle()}));
    EXPECT_EQ(dialogs.filters.at(2), QStringList{"Text (*.txt)"});
    EXPECT_EQ(fileContents(path("res")).left(11), " \tDMU\tScore");
    EXPECT_FALSE(QFile::exists(path("res.txt")));
    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs.starts.value(3), path("six.txt")); // Save As leaves the data file
    trigger("mnuFileSaveAs", path("no such folder/res.txt"));
    EXPECT_TRUE(dialogs.messages.value(0).startsWith("The results could not be saved to " + path("no such folder/res.txt")));
}

TEST_F(ResultsExport, scoresAndWeightsUseTheDecimalSeparatorOfTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ResultsWindow &w = run();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(cell(&w, 1, 1) + " " + cell(&w, 1, 2), "50,00% 1,00");
}

} // namespace
} // namespace zelvar::test
