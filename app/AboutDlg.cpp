#include "app/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "app/DialogUnits.h"
#include "app/Resources.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(QStringLiteral("About Brevix"));
    setFont(DialogFont(8));
    const CDialogUnits units(font());
    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(AppIcon().pixmap(32, 32));
    pIcon->setGeometry(units.ToPixels(11, 17, 20, 20));
    // The version is the project's, as --version gives it.
    auto* pName = new QLabel(QStringLiteral("Brevix, Version " BREVIX_VERSION), this);
    pName->setGeometry(units.ToPixels(40, 10, 119, 8));
    auto* pWhat = new QLabel(QStringLiteral("SECS-II message viewer"), this);
    pWhat->setGeometry(units.ToPixels(40, 25, 119, 8));
    auto* pOK = new QPushButton(QStringLiteral("OK"), this);
    pOK->setObjectName(QStringLiteral("btnOK"));
    pOK->setGeometry(units.ToPixels(178, 7, 50, 16));
    pOK->setDefault(true);
    connect(pOK, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(units.ToPixels(235, 55));
}
