#include "app/AppTestSupport.h"

#include "app/FormatDialog.h"
#include "app/Twips.h"

#include <QComboBox>
#include <QSettings>

namespace zelvar::test {
namespace {

class SettingsTest : public AppTest {
protected:
    void writeIni(const QString &text)
    {
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }
    QString stored(const char *key)
    {
        QSettings ini(settingsPath(), QSettings::IniFormat);
        return ini.value(QStringLiteral("Settings/") + QLatin1String(key), QStringLiteral("<none>"))
            .toString();
    }
    MainSettings readBack(const QString &ini)
    {
        writeIni(ini);
        MainSettings settings;
        SettingsStore::iniFile(settingsPath()).read(settings);
        return settings;
    }
};

TEST_F(SettingsTest, AnEmptyStoreGivesTheDefaults)
{
    MainWindow &w = window();
    const double dpiX = w.logicalDpiX();
    const double dpiY = w.logicalDpiY();
    EXPECT_EQ(w.geometry(), QRect(twipsToPixels(1000, dpiX), twipsToPixels(1000, dpiY),
                                  twipsToPixels(6500, dpiX), twipsToPixels(6500, dpiY)));
    EXPECT_EQ(w.workspace().format, DisplayFormat{});
    EXPECT_TRUE(w.workspace().format.VirtualWeights);
    EXPECT_EQ(w.workspace().data.DataFileName, "");
}

TEST_F(SettingsTest, ShutDownWritesTheTenKeysAsText)
{
    MainWindow &w = window();
    w.workspace().format.DecScore = 5;
    w.workspace().format.VirtualWeights = false;
    w.workspace().data.DataFileName = "/data/firms.xls";
    const double dpi = w.logicalDpiX();
    w.setGeometry(twipsToPixels(1500, dpi), twipsToPixels(750, w.logicalDpiY()),
                  twipsToPixels(9000, dpi), twipsToPixels(6000, w.logicalDpiY()));
    const QRect placed = w.geometry();
    closeWindow();

    EXPECT_EQ(stored("MainLeft"), QString::number(pixelsToTwips(placed.x(), dpi)));
    EXPECT_EQ(stored("MainWidth"), QString::number(pixelsToTwips(placed.width(), dpi)));
    EXPECT_EQ(stored("Decscore"), "5");
    EXPECT_EQ(stored("Decweights"), "2");
    EXPECT_EQ(stored("Decintens"), "2");
    EXPECT_EQ(stored("Decslacks"), "2");
    EXPECT_EQ(stored("Virtual"), "False");
    EXPECT_EQ(stored("Sfile"), "/data/firms.xls");
    QSettings ini(settingsPath(), QSettings::IniFormat);
    ini.beginGroup("Settings");
    EXPECT_EQ(ini.childKeys().size(), 10);

    // The next start reads them back.
    MainWindow &next = window();
    EXPECT_EQ(next.geometry(), placed);
    EXPECT_EQ(next.workspace().format.DecScore, 5);
    EXPECT_FALSE(next.workspace().format.VirtualWeights);
    EXPECT_EQ(next.workspace().data.DataFileName, "/data/firms.xls");
}

TEST_F(SettingsTest, AMinimizedShutDownWritesNothing)
{
    MainWindow &w = window();
    w.show();
    w.workspace().format.DecScore = 7;
    w.showMinimized();
    ASSERT_TRUE(w.isMinimized());
    closeWindow();
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(SettingsTest, TheFormatChosenInTheDialogSurvivesARestart)
{
    trigger("mnuDEAFormat");
    FormatDialog *dialog = window().formatDialog();
    ASSERT_NE(dialog, nullptr);
    auto *slacks = dialog->list(FormatDialogState::Slacks);
    slacks->setCurrentIndex(6);
    emit slacks->activated(6);
    click(*dialog, "cmdOK");
    closeWindow();
    EXPECT_EQ(stored("Decslacks"), "7");
    EXPECT_EQ(window().workspace().format.DecSlacks, 7);
}

TEST_F(SettingsTest, AnUnreadableValueLeavesItsTargetAsItWas)
{
    const MainSettings s = readBack("[Settings]\nMainLeft=abc\nMainTop=2000\nDecscore=many\n"
                                    "Virtual=perhaps\nSfile=/x/y.txt\n");
    EXPECT_EQ(s.left, 1000);
    EXPECT_EQ(s.top, 2000);
    EXPECT_EQ(s.format.DecScore, 2);
    EXPECT_TRUE(s.format.VirtualWeights);
    EXPECT_EQ(s.dataFileName, "/x/y.txt");
}

struct StoredDecimals {
    const char *text;
    int expected;
};

class DecimalsOutOfRange : public SettingsTest, public ::testing::WithParamInterface<StoredDecimals> {};

TEST_P(DecimalsOutOfRange, AreBroughtToTheNearerOfOneAndEight)
{
    const MainSettings s = readBack(QStringLiteral("[Settings]\nDecweights=%1\n").arg(GetParam().text));
    EXPECT_EQ(s.format.DecWeights, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Stored, DecimalsOutOfRange,
                         ::testing::Values(StoredDecimals{"0", 1}, StoredDecimals{"-3", 1},
                                           StoredDecimals{"9", 8}, StoredDecimals{"40000", 8},
                                           StoredDecimals{"4", 4}, StoredDecimals{"x", 2}));

TEST_F(SettingsTest, VirtualIsReadAsATruthValue)
{
    EXPECT_FALSE(readBack("[Settings]\nVirtual=False\n").format.VirtualWeights);
    EXPECT_TRUE(readBack("[Settings]\nVirtual=True\n").format.VirtualWeights);
    EXPECT_FALSE(readBack("[Settings]\nVirtual=0\n").format.VirtualWeights);
}

TEST_F(SettingsTest, TheStoredDataFileStartsTheOpenDialog)
{
    writeIni(QStringLiteral("[Settings]\nSfile=%1\n").arg(path("six.txt")));
    trigger("mnuFileOpen");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].start, path("six.txt"));
}

} // namespace
} // namespace zelvar::test
