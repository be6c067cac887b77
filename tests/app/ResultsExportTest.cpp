#include "app/AppTestSupport.h"

#include "app/Twips.h"

#include <QClipboard>
#include <QColor>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace zelvar::test {
namespace {

// six.txt: one input (Staff) and one output (Loans). Under constant returns
// to scale the input-oriented score of a unit is its Loans per Staff over
// the best ratio, 10 / 5 = 2 (units A and C):
//   A 4/2 = 2 -> 100%, B 4/4 = 1 -> 50%, C 10/5 = 2 -> 100%,
//   D 4/8 = 0.5 -> 25%, E 6/4 = 1.5 -> 75%, F 5/5 = 1 -> 50%.
const QStringList Scores{"100.00%", "50.00%", "100.00%", "25.00%", "75.00%", "50.00%"};

class ResultsExportTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        loadSix();
    }
    ResultsWindow &run()
    {
        runDefaultModel();
        EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
        if (results().isEmpty())
            throw std::runtime_error("no results window");
        return *results().back();
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
    static QString readFile(const QString &name)
    {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("<missing>");
        return QString::fromLatin1(file.readAll());
    }
};

TEST_F(ResultsExportTest, TheTableShowsHeadersScoresAndHighlightsEfficientUnits)
{
    ResultsWindow &w = run();
    QAbstractItemModel *model = w.view()->model();
    ASSERT_EQ(model->rowCount(), 6);
    ASSERT_EQ(model->columnCount(), 7); // DMU, Score, 2 weights, Benchmarks, 2 slacks
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"DMU", "Score", "{I}Staff{V}", "{O}Loans{V}", "Benchmarks",
                                    "{S} {I}Staff", "{S} {O}Loans"}));
    QStringList labels, names, scores;
    for (int r = 0; r < model->rowCount(); ++r) {
        labels << model->headerData(r, Qt::Vertical).toString();
        names << model->index(r, 0).data().toString().trimmed();
        scores << model->index(r, 1).data().toString();
    }
    EXPECT_EQ(labels, QStringList({"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(names, QStringList({"A", "B", "C", "D", "E", "F"}));
    EXPECT_EQ(scores, Scores);

    const QColor cyan(0, 255, 255);
    for (int r = 0; r < model->rowCount(); ++r) {
        const QVariant background = model->index(r, 1).data(Qt::BackgroundRole);
        const bool efficient = r == 0 || r == 2;
        EXPECT_EQ(background.isValid() && background.value<QBrush>().color() == cyan, efficient) << r;
    }
}

TEST_F(ResultsExportTest, ColumnWidthsAndHeaderHeightComeFromTheGridsTwips)
{
    ResultsWindow &w = run();
    const double dpi = window().logicalDpiX();
    QTableView *view = w.view();
    // The grid's widths are the least a column gets: Score with 2 decimals
    // 2 * 150 + 400 twips, weights 2 * 150 + 200, Benchmarks 3000. A column
    // grows where its numbers or a header word would be cut.
    EXPECT_GE(view->columnWidth(1), twipsToPixels(700, dpi));
    EXPECT_GE(view->columnWidth(2), twipsToPixels(500, dpi));
    EXPECT_EQ(view->columnWidth(4), twipsToPixels(3000, dpi));
    const QFontMetrics cells(view->font());
    EXPECT_GT(view->columnWidth(1), cells.horizontalAdvance("100.00%"));
    const QFontMetrics header(view->horizontalHeader()->font());
    EXPECT_GT(view->columnWidth(2), header.horizontalAdvance("{I}Staff{V}"));
    EXPECT_EQ(view->horizontalHeader()->height(), twipsToPixels(1000, window().logicalDpiY()));
    EXPECT_EQ(view->verticalHeader()->width(), twipsToPixels(500, dpi));
}

TEST_F(ResultsExportTest, AfterTheRunCopyTakesTheFirstDmusName)
{
    ResultsWindow &w = run();
    EXPECT_EQ(w.grid().currentRow(), 1);
    EXPECT_EQ(w.grid().currentCol(), 1);
    trigger("mnuEditCopy");
    EXPECT_EQ(clipboard(), "    A");
}

TEST_F(ResultsExportTest, CopyAllPutsTheWholeGridOnTheClipboardWithTabsAndCarriageReturns)
{
    ResultsWindow &w = run();
    w.grid().setCurrent(3, 2);
    trigger("mnuEditCopyAll");
    const QString text = clipboard();
    EXPECT_FALSE(text.contains('\n'));
    const QStringList rows = text.split('\r');
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0], " \tDMU\tScore\t{I}Staff{V}\t{O}Loans{V}\tBenchmarks\t{S} {I}Staff\t{S} {O}Loans");
    for (int r = 1; r <= 6; ++r) {
        const QStringList cells = rows[r].split('\t');
        ASSERT_EQ(cells.size(), 8) << r;
        EXPECT_EQ(cells[0], QString::number(r));
        EXPECT_EQ(cells[2], Scores[r - 1]);
    }
    // The current cell is where it was, and the selection only that cell.
    EXPECT_EQ(w.grid().currentRow(), 3);
    EXPECT_EQ(w.grid().currentCol(), 2);
    EXPECT_EQ(w.grid().selectionRow(), 3);
    EXPECT_EQ(w.grid().selectionCol(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ResultsExportTest, CopyTakesTheBlockTheUserSelected)
{
    ResultsWindow &w = run();
    QTableView *view = w.view();
    QAbstractItemModel *model = view->model();
    // Drag from DMU 2's name to DMU 4's score.
    const QRect from = view->visualRect(model->index(1, 0));
    const QRect to = view->visualRect(model->index(3, 1));
    window().resize(900, 700);
    window().show();
    w.showMaximized();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, from.center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, to.center());
    EXPECT_EQ(w.grid().currentRow(), 2);
    EXPECT_EQ(w.grid().currentCol(), 1);
    EXPECT_EQ(w.grid().selectionRow(), 4);
    EXPECT_EQ(w.grid().selectionCol(), 2);

    trigger("mnuEditCopy");
    EXPECT_EQ(clipboard(), QStringLiteral("    B\t50.00%\r    C\t100.00%\r    D\t25.00%"));
    // Afterwards the selection is only the current cell, in the view as well.
    EXPECT_EQ(w.grid().selectionRow(), 2);
    EXPECT_EQ(w.grid().selectionCol(), 1);
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0], model->index(1, 0));
}

TEST_F(ResultsExportTest, KeyboardSelectionMovesTheGridsSelectionEnd)
{
    ResultsWindow &w = run();
    window().show();
    QTableView *view = w.view();
    view->setFocus();
    // The run leaves the current cell at DMU 1's name.
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(w.grid().currentRow(), 1);
    EXPECT_EQ(w.grid().currentCol(), 1);
    EXPECT_EQ(w.grid().selectionRow(), 2);
    EXPECT_EQ(w.grid().selectionCol(), 2);
    trigger("mnuEditCopy");
    EXPECT_EQ(clipboard(), QStringLiteral("    A\t100.00%\r    B\t50.00%"));
}

TEST_F(ResultsExportTest, CtrlCInTheTableCopiesThroughTheEditMenu)
{
    ResultsWindow &w = run();
    window().show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QCoreApplication::processEvents();
    QTableView *view = w.view();
    view->setFocus();
    int copies = 0;
    QObject::connect(action("mnuEditCopy"), &QAction::triggered, [&copies] { ++copies; });
    view->selectionModel()->select(view->model()->index(0, 1), QItemSelectionModel::ClearAndSelect);
    view->selectionModel()->setCurrentIndex(view->model()->index(0, 1), QItemSelectionModel::NoUpdate);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(clipboard(), "100.00%");
    int all = 0;
    QObject::connect(action("mnuEditCopyAll"), &QAction::triggered, [&all] { ++all; });
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(all, 1);
    EXPECT_EQ(clipboard().count('\r'), 6);
    // Ctrl+W loads weight restrictions; it does not close the results window.
    QTest::keyClick(view, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(dialogs.openRequests.size(), 2u);
    EXPECT_EQ(results().size(), 1);
}

TEST_F(ResultsExportTest, CopyWithoutAResultsWindowCopiesNothing)
{
    QGuiApplication::clipboard()->setText("before");
    trigger("mnuEditCopy");
    trigger("mnuEditCopyAll");
    EXPECT_EQ(dialogs.messages, QStringList({"There's nothing to copy.", "There's nothing to copy."}));
    EXPECT_EQ(clipboard(), "before");
}

TEST_F(ResultsExportTest, SaveWritesBesideTheDataFileUnderTheCaption)
{
    ResultsWindow &w = run();
    trigger("mnuEditCopyAll");
    const QString copied = clipboard();
    w.grid().setCurrent(2, 2);
    trigger("mnuFileSave");
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    const QString saved = readFile(path("six.txt_CRS_RAD_IN.txt"));
    EXPECT_EQ(saved, copied + "\r\n");
    EXPECT_EQ(w.grid().currentRow(), 0);
    EXPECT_EQ(w.grid().currentCol(), 0);
}

TEST_F(ResultsExportTest, SaveAsWritesExactlyTheChosenNameAndRemembersIt)
{
    ResultsWindow &w = run();
    const QString chosen = path("res"); // typed without an extension
    dialogs.saveAnswers.push_back(chosen);
    trigger("mnuFileSaveAs");
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].start, w.windowTitle());
    EXPECT_EQ(dialogs.saveRequests[0].filters, QStringList{"Text (*.txt)"});
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(readFile(chosen).startsWith(" \tDMU\tScore"));
    EXPECT_TRUE(readFile(chosen).endsWith("\r\n"));
    EXPECT_FALSE(QFile::exists(chosen + ".txt"));
    EXPECT_EQ(window().workspace().data.DataFileName, path("six.txt").toStdString());

    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs.openRequests.back().start, path("six.txt"));
}

TEST_F(ResultsExportTest, SaveAsCancelledWritesNothing)
{
    run();
    trigger("mnuFileSaveAs");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(window().workspace().data.DataFileName, path("six.txt").toStdString());
}

TEST_F(ResultsExportTest, SaveWithoutAResultsWindowSaysSo)
{
    trigger("mnuFileSave");
    trigger("mnuFileSaveAs");
    EXPECT_EQ(dialogs.messages, QStringList({"There's nothing to save.", "Error: Save As"}));
    EXPECT_TRUE(dialogs.saveRequests.empty());
}

TEST_F(ResultsExportTest, AFailedSaveIsReportedNotHidden)
{
    run();
    dialogs.saveAnswers.push_back(path("no such folder/res.txt"));
    trigger("mnuFileSaveAs");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("The results could not be saved to " +
                                               path("no such folder/res.txt")))
        << dialogs.messages[0].toStdString();
}

TEST_F(ResultsExportTest, CopyAndSaveBeforeDataAskForData)
{
    closeWindow();
    trigger("mnuEditCopy");
    trigger("mnuEditCopyAll");
    EXPECT_EQ(dialogs.messages, QStringList({"Please load data.", "Please load data."}));
}

class CommaLocale : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override
    {
        AppTest::TearDown();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

TEST_F(CommaLocale, ScoresUseTheLocalesDecimalSeparator)
{
    EXPECT_EQ(window().workspace().decimalSeparator, ",");
    loadSix();
    runDefaultModel();
    ASSERT_EQ(results().size(), 1);
    EXPECT_EQ(results()[0]->view()->model()->index(1, 1).data().toString(), "50,00%");
}

} // namespace
} // namespace zelvar::test
