// The summary pane, the tooltips, Show data, File > Export and Help > User's
// guide.

#include "app/AppTestSupport.h"

#include "app/DataWindow.h"
#include "results/TableExport.h"

#include <QClipboard>
#include <QLabel>

namespace zelvar::test {
namespace {

using ViewsAndExport = AppTest;

QString tip(ResultsWindow &w, int row, int col)
{
    const QAbstractItemModel *model = w.view()->model();
    if (row == 0)
        return model->headerData(col - 1, Qt::Horizontal, Qt::ToolTipRole).toString();
    return model->data(model->index(row - 1, col - 1), Qt::ToolTipRole).toString();
}

TEST_F(ViewsAndExport, ASummaryPaneUnderTheTableThatTheUserCanHide)
{
    loadSix();
    runModel();
    ResultsWindow &w = *window().resultsWindows()[0];
    // The core's figures for six.txt, worked by hand in its test.
    EXPECT_EQ(w.summary()->text(), "DMUs evaluated: 6    Efficient: 2    big: 0    Mean score: 66.67%    "
                                   "Median score: 62.50%    Minimum score: 25.00%");
    EXPECT_TRUE(w.summary()->isVisibleTo(&w));
    trigger("mnuEditCopyAll");
    EXPECT_FALSE(QGuiApplication::clipboard()->text().contains("DMUs evaluated"));

    trigger("mnuDEASummary");
    EXPECT_FALSE(w.summary()->isVisibleTo(&w));
    runModel();
    EXPECT_FALSE(window().resultsWindows()[1]->summary()->isVisibleTo(window().resultsWindows()[1]));
    trigger("mnuDEASummary");
    EXPECT_TRUE(w.summary()->isVisibleTo(&w));
    EXPECT_TRUE(window().resultsWindows()[1]->summary()->isVisibleTo(window().resultsWindows()[1]));
}

TEST_F(ViewsAndExport, PuzzlingCellsAndHeadersExplainThemselves)
{
    loadSix();
    // VRS input orientation: C (most loans) cannot be enveloped by the others.
    ModelDialog &vrs = modelDialog();
    click(vrs, "optVariable");
    click(vrs, "cmdStart");
    ResultsWindow &radial = *window().resultsWindows()[0];
    ASSERT_EQ(radial.grid().text(3, 2), "big");
    EXPECT_TRUE(tip(radial, 3, 2).startsWith("big: this DMU's linear program has no finite optimum"));
    const int benchmarks = radial.table().benchmarksColumn();
    EXPECT_TRUE(tip(radial, 2, benchmarks).startsWith("Benchmarks of an inefficient DMU")); // B
    EXPECT_TRUE(tip(radial, 1, benchmarks).startsWith("Reference count of an efficient DMU")); // A
    EXPECT_TRUE(tip(radial, 0, benchmarks).startsWith("Benchmarks\n\nBenchmarks: for an inefficient DMU"));
    EXPECT_EQ(tip(radial, 2, 1), "");

    // Output orientation: inefficient scores pass 100%; B outside the technology.
    ModelDialog &out = modelDialog();
    click(out, "optOutput");
    click(out, "optConstant");
    out.state().lstTech.select(2, false);
    click(out, "cmdStart");
    ResultsWindow &output = *window().resultsWindows()[1];
    ASSERT_EQ(output.grid().text(4, 2), "400.00%"); // D: 4 loans of 8 staff, the best make 16
    EXPECT_TRUE(tip(output, 4, 2).startsWith("Output orientation: the score is the factor"));
    ASSERT_EQ(output.grid().text(2, 1).rfind("{X}", 0), 0u);
    EXPECT_TRUE(tip(output, 2, 1).startsWith("{X}: this DMU was evaluated outside the technology"));

    ModelDialog &fdh = modelDialog();
    click(fdh, "optNonconvex");
    click(fdh, "cmdStart");
    ResultsWindow &hull = *window().resultsWindows()[2];
    EXPECT_TRUE(tip(hull, 0, 4).startsWith("No. Dominated\n\nNo. Dominated: how many technology DMUs dominate"));
    EXPECT_TRUE(tip(hull, 0, 7).startsWith("Dominating\n\nDominating: the evaluated DMUs this DMU dominates"));
}

TEST_F(ViewsAndExport, ShowDataListsTheLoadedTableReadOnly)
{
    trigger("mnuDEAShowData");
    EXPECT_EQ(dialogs.messages, QStringList{"Please load data."});
    QFile data(path("marked.txt"));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write("Unit,{I}Staff,{IN}Space,{O}Loans\nP,1.5,2e3,3\nQ,2,1,0.1\n");
    data.close();
    trigger("mnuFileOpen", path("marked.txt"));
    trigger("mnuDEAShowData");
    DataWindow *shown = window().dataWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle(), "Data: " + path("marked.txt"));
    const QAbstractItemModel *model = shown->view()->model();
    ASSERT_EQ(model->rowCount(), 2);
    ASSERT_EQ(model->columnCount(), 4);
    QStringList headers;
    for (int col = 0; col < 4; ++col)
        headers << model->headerData(col, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"DMU", "{I}Staff\ninput", "{IN}Space\ninput, non-discretionary",
                                    "{O}Loans\noutput"}));
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "P");
    EXPECT_EQ(model->data(model->index(0, 2)).toString(), "2000");
    EXPECT_TRUE(model->data(model->index(1, 2), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model->data(model->index(1, 1), Qt::BackgroundRole).isValid());
    EXPECT_EQ(shown->view()->editTriggers(), QAbstractItemView::NoEditTriggers);

    trigger("mnuDEAShowData");
    EXPECT_EQ(window().findChildren<DataWindow *>().size(), 1);
    loadSix();
    trigger("mnuDEAShowData");
    EXPECT_EQ(window().findChildren<DataWindow *>().size(), 2);
    EXPECT_EQ(window().dataWindow()->view()->model()->rowCount(), 6);
}

TEST_F(ViewsAndExport, ExportWritesWorkbooksAndCsvBesideTheChosenName)
{
    trigger("mnuFileExportXlsx");
    EXPECT_EQ(dialogs.messages, QStringList{"There's nothing to export."});
    dialogs.messages.clear();
    loadSix();
    runModel();
    ResultsWindow &w = *window().resultsWindows()[0];
    ASSERT_TRUE(QDir(path("")).mkpath(QStringLiteral("out")));
    dialogs.answers = {path("out/scores"), path("out/scores.CSV")};
    trigger("mnuFileExportXlsx");
    trigger("mnuFileExportCsv");
    ASSERT_EQ(dialogs.starts.size(), 3); // the load, then the two exports
    EXPECT_EQ(dialogs.starts[1], w.windowTitle() + ".xlsx");
    EXPECT_EQ(dialogs.filters[1], QStringList{"Excel workbook (*.xlsx)"});
    // The second export starts in the folder of the first.
    EXPECT_EQ(dialogs.starts[2], path("out/six.txt_CRS_RAD_IN.csv"));
    EXPECT_EQ(dialogs.filters[2], QStringList{"CSV (*.csv)"});
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();

    // The core's tests read the files back cell for cell.
    EXPECT_TRUE(QFile::exists(path("out/scores.xlsx")));
    QFile csv(path("out/scores.CSV"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().toStdString(), csvText(w.table()));
    // Export leaves the data file and the table's selection alone.
    EXPECT_EQ(window().workspace().data.DataFileName, path("six.txt").toStdString());
    EXPECT_EQ(w.grid().currentRow(), 1);
}

TEST_F(ViewsAndExport, HelpOpensTheUsersGuideOrSaysWhereItIs)
{
    QStringList opened;
    window().setDocumentOpener([&opened](const QString &file) {
        opened << file;
        return true;
    });
    // The build makes the guide; Help finds it there.
    ASSERT_TRUE(window().guideFile().endsWith("/Zelvar.PDF"));
    trigger("mnuHelpGuide");
    EXPECT_EQ(opened, QStringList{window().guideFile()});
    EXPECT_EQ(window().findChild<QAction *>(QStringLiteral("mnuHelpGuide"))->shortcut(), QKeySequence(Qt::Key_F1));

    window().setGuideFile(path("missing.PDF"));
    trigger("mnuHelpGuide");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("The user's guide Zelvar.PDF was not found."));
}

} // namespace
} // namespace zelvar::test
