#include <QFile>
#include <QFileInfo>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "decode/MsgDocWalk.h"
#include "inspect/CompareWindow.h"
#include "io/MsgFile.h"

// The message on show is compared as it was read: its document, not the
// file again, which may have changed since.
void CBrevixDlg::OnCompareWith() {
    if (!m_pDoc) return;
    const QString strFile = m_prompter.BrowseForFile(QStringLiteral("Compare With"), this);
    if (strFile.isEmpty()) return;
    std::vector<unsigned char> bytes;
    std::string strError;
    if (!ReadMessageFile(QFile::encodeName(strFile).toStdString(), bytes, strError)) {
        m_prompter.ShowMessage(this, QStringLiteral("Failed to read %1 !\n%2")
                                         .arg(strFile, QString::fromLocal8Bit(strError)));
        return;
    }
    auto* pWindow = new CCompareWindow(this);
    pWindow->Compare(m_pDoc,
                     QFileInfo(QString::fromStdString(m_strMessagePath)).fileName().toStdString(),
                     std::make_shared<const CMsgDoc>(DecodeMsgDoc(std::move(bytes))),
                     QFileInfo(strFile).fileName().toStdString(), m_nStyleFlag);
    pWindow->show();
}
