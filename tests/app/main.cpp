#include <QApplication>
#include <QLocale>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Test discovery runs this program outside ctest's environment, perhaps without a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Numbers in result tables follow the locale: the tests pin one.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Whatever a test does, the user's own settings and files stay untouched.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
