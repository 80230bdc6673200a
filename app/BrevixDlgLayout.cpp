#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

#include "app/BrevixDlg.h"
#include "app/DialogUnits.h"
#include "app/MessageTreeModel.h"
#include "ui/MacButton.h"

namespace {

CMacButton* MakeButton(QWidget* pParent, const char* szName, const char* szCaption,
                       const QRect& rect) {
    auto* pButton = new CMacButton(QString::fromLatin1(szCaption), pParent);
    pButton->setObjectName(QString::fromLatin1(szName));
    pButton->setGeometry(rect);
    return pButton;
}

}  // namespace

// Controls are made in template order, which Qt's focus chain keeps as the
// tab order; the rectangles are the template's, in dialog units.
void CBrevixDlg::CreateControls() {
    const CDialogUnits units(font());

    m_treeMessage = new QTreeView(this);
    m_treeMessage->setObjectName(QStringLiteral("treeMessage"));
    m_treeMessage->setGeometry(units.ToPixels(135, 44, 273, 377));
    m_treeMessage->setHeaderHidden(true);
    m_treeMessage->setRootIsDecorated(true);
    m_treeMessage->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_treeMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_treeMessage->setTextElideMode(Qt::ElideNone);
    // One column as wide as the widest row laid out, so long labels scroll
    // sideways instead of being cut.
    m_treeMessage->header()->setStretchLastSection(false);
    m_treeMessage->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTreeModel = new CMessageTreeModel(this);
    m_treeMessage->setModel(m_pTreeModel);

    m_listFiles = new QListWidget(this);
    m_listFiles->setObjectName(QStringLiteral("listFiles"));
    m_listFiles->setGeometry(units.ToPixels(7, 43, 125, 359));
    m_listFiles->setSortingEnabled(false);

    m_btnOpenFolder =
        MakeButton(this, "btnOpenFolder", "Open Folder", units.ToPixels(7, 7, 125, 18));
    m_btnSaveText =
        MakeButton(this, "btnSaveText", "Save As Text File", units.ToPixels(135, 7, 273, 18));
    m_btnHexToSecs =
        MakeButton(this, "btnHexToSecs", "HEX TO SECS Message", units.ToPixels(7, 405, 125, 17));

    m_editFolder = new QLineEdit(this);
    m_editFolder->setObjectName(QStringLiteral("editFolder"));
    m_editFolder->setGeometry(units.ToPixels(7, 425, 401, 14));
    m_editFolder->setReadOnly(true);

    // The template's 246 units include the dropped-down list; closed, the
    // box is as tall as the "Open" button beside it.
    m_comboFolders = new QComboBox(this);
    m_comboFolders->setObjectName(QStringLiteral("comboFolders"));
    m_comboFolders->setGeometry(units.ToPixels(7, 27, 371, 13));
    m_comboFolders->setInsertPolicy(QComboBox::InsertAtBottom);

    m_btnOpen = MakeButton(this, "btnOpen", "Open", units.ToPixels(380, 27, 28, 13));

    setFixedSize(units.ToPixels(415, 446));
}
