#include "SplashWindow.h"

#include "AppIcon.h"
#include "AppInfo.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace zelvar {

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(AppInfo::title());

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);

    auto *picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("imgLogo"));
    picture->setPixmap(AppIcon::pixmap(128));

    auto *product = new QLabel(AppInfo::title(), frame);
    product->setObjectName(QStringLiteral("lblProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.4);
    big.setBold(true);
    product->setFont(big);

    auto *version = new QLabel(AppInfo::shortVersion(), frame);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto *description = new QLabel(
        QStringLiteral("Data Envelopment Analysis\nand free disposal hull"), frame);
    description->setObjectName(QStringLiteral("lblDescription"));

    auto *texts = new QVBoxLayout;
    texts->addStretch(1);
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addSpacing(12);
    texts->addWidget(description);
    texts->addStretch(1);
    auto *inner = new QHBoxLayout(frame);
    inner->setContentsMargins(24, 24, 32, 24);
    inner->addWidget(picture);
    inner->addSpacing(24);
    inner->addLayout(texts);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

} // namespace zelvar
