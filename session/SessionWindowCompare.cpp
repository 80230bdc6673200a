#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>

#include "inspect/CompareWindow.h"
#include "io/MsgFraming.h"
#include "session/SessionCompare.h"
#include "session/SessionWindow.h"

namespace {

std::string MessageLabel(const CSession& session, std::size_t nIndex) {
    return "message " + DecimalText(nIndex + 1) + " (" + session.MessageName(nIndex) + ")";
}

std::string FileName(const std::string& strPath) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(strPath)))
        .fileName()
        .toStdString();
}

}  // namespace

CCompareWindow* CSessionWindow::CompareSelected() {
    const std::vector<std::uint32_t> rows = ChosenRows(false);
    if (!m_pSession || rows.size() != 2) {
        statusBar()->showMessage(QStringLiteral("Select two messages to compare"));
        return nullptr;
    }
    return CompareSessionMessages(this, *m_pSession, rows[0], MessageLabel(*m_pSession, rows[0]),
                                  *m_pSession, rows[1], MessageLabel(*m_pSession, rows[1]));
}

// Both sources are read afresh into sessions the list owns, so that it
// outlives whatever this window opens next; bodies are compared when asked.
CSessionCompareList* CSessionWindow::CompareWithSession(const std::string& strPath) {
    if (m_strPath.empty()) return nullptr;
    CSessionOptions opts;
    opts.bCheckBodies = false;
    auto pA = std::make_unique<CSession>();
    auto pB = std::make_unique<CSession>();
    std::string strError;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool bOk =
        OpenSession(m_strPath, opts, *pA, strError) && OpenSession(strPath, opts, *pB, strError);
    QApplication::restoreOverrideCursor();
    if (!bOk) {
        statusBar()->showMessage(
            QStringLiteral("Cannot compare: %1").arg(QString::fromLocal8Bit(strError.c_str())));
        return nullptr;
    }
    auto* pList = new CSessionCompareList(std::move(pA), FileName(m_strPath), std::move(pB),
                                          FileName(strPath), this);
    pList->show();
    return pList;
}

void CSessionWindow::OnCompareWithSession(bool bFolder) {
    if (m_strPath.empty()) return;
    const auto options = QFileDialog::DontUseNativeDialog;
    const QString strPath =
        bFolder
            ? QFileDialog::getExistingDirectory(this, QStringLiteral("Compare With Session Folder"),
                                                QString(), options | QFileDialog::ShowDirsOnly)
            : QFileDialog::getOpenFileName(this, QStringLiteral("Compare With Session"), QString(),
                                           QStringLiteral("Logs and captures (*)"), nullptr,
                                           options);
    if (!strPath.isEmpty()) CompareWithSession(QFile::encodeName(strPath).toStdString());
}
