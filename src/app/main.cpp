#include "AppIcon.h"
#include "AppInfo.h"
#include "MainWindow.h"
#include "QtUserDialogs.h"
#include "SettingsStore.h"
#include "SplashWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

using namespace zelvar;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    QApplication::setOrganizationName(AppInfo::title());
    QApplication::setWindowIcon(AppIcon::icon());

    // The splash stays a little over one second, measured on a monotonic
    // clock, and keeps being painted meanwhile.
    QElapsedTimer shown;
    shown.start();
    SplashWindow splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();
    while (shown.elapsed() <= 1000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(15);
    }

    QtUserDialogs dialogs;
    MainWindow window(dialogs, SettingsStore::userStore());
    dialogs.setParentWidget(&window);
    splash.close();
    window.show();
    return QApplication::exec();
}
