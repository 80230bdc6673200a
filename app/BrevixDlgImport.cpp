#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "app/BrevixDlg.h"
#include "app/DroppedFile.h"
#include "app/Prompter.h"
#include "io/ImportFolder.h"
#include "io/ListingFile.h"

// A log or capture is read into a folder of messages, which is then listed
// like any folder: beside the file, or under the cache when that is closed.
void CBrevixDlg::ImportAndList(const std::string& strFile) {
    const std::string strCache =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
            .toStdString();
    std::string strFolder, strSummary, strError;
    if (!ImportIntoFolder(strFile, strCache, strFolder, strSummary, strError)) {
        m_prompter.ShowMessage(this,
                               QStringLiteral("Failed to import !\n%1")
                                   .arg(QFile::decodeName(QByteArray::fromStdString(strError))));
        if (strFolder.empty()) return;
    }
    ClearFilesAndTree();
    m_szFolder = strFolder;
    m_strFolder = strFolder;
    ShowFolder();
    FillFileList(strFolder);
}

void CBrevixDlg::OnImportLogOrCapture() {
    const QString strFile = m_prompter.BrowseForFile(QStringLiteral("Import Log or Capture"), this);
    if (!strFile.isEmpty()) ImportAndList(QFile::encodeName(strFile).toStdString());
}

void CBrevixDlg::OnOpenSession() {
    const QString strFile = m_prompter.BrowseForFile(QStringLiteral("Open Session"), this);
    if (!strFile.isEmpty()) emit sessionRequested(strFile);
}

void CBrevixDlg::OpenDropped(const std::string& strPath) {
    std::error_code ec;
    const std::filesystem::path path(strPath);
    if (std::filesystem::is_regular_file(path, ec) && !HasBigExtension(path.filename().native())) {
        emit sessionRequested(QFile::decodeName(QByteArray::fromStdString(strPath)));
        return;
    }
    std::string strError;
    OpenArgument(strPath, strError);
}

void CBrevixDlg::dragEnterEvent(QDragEnterEvent* pEvent) {
    QString strPath;
    if (DroppedLocalFile(pEvent->mimeData(), strPath)) pEvent->acceptProposedAction();
}

void CBrevixDlg::dropEvent(QDropEvent* pEvent) {
    QString strPath;
    if (!DroppedLocalFile(pEvent->mimeData(), strPath)) return;
    pEvent->acceptProposedAction();
    OpenDropped(QFile::encodeName(strPath).toStdString());
}
