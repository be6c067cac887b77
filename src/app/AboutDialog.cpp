#include "AboutDialog.h"

#include "AppIcon.h"
#include "AppInfo.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace zelvar {

namespace {

QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(AppInfo::title() + QStringLiteral("-Info"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(AppIcon::pixmap(64));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QLabel *product = label("lblTitle", AppInfo::title(), this);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 7, 1);
    layout->addWidget(product, 0, 1);
    layout->addWidget(label("lblVersion", AppInfo::longVersion(), this), 1, 1);
    layout->addWidget(label("lblDescription",
                            QStringLiteral("Efficiency measurement by Data Envelopment Analysis "
                                           "and the free disposal hull."),
                            this),
                      2, 1);
    layout->addWidget(
        label("lblHelp", QStringLiteral("For help please read first the documentation Zelvar.PDF."), this),
        3, 1);
    layout->addWidget(label("lblSolver", AppInfo::solverLine(), this), 4, 1);
    layout->addWidget(label("lblContact",
                            QStringLiteral("Questions and reports: see the README that comes "
                                           "with the program."),
                            this),
                      5, 1);
    layout->addWidget(label("lblDisclaimer",
                            QStringLiteral("This program is provided as is, without warranty of any "
                                           "kind. The results are yours to check."),
                            this),
                      6, 1);
    layout->addWidget(buttons, 7, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(420);
}

} // namespace zelvar
