#include <QFile>
#include <QStandardPaths>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "io/ImportFolder.h"

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
