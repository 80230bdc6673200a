#include "app/BrevixApp.h"

#include <QFile>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "app/Resources.h"
#include "io/ListingFile.h"

CBrevixApp::CBrevixApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevix"));
    setOrganizationName(QStringLiteral("KELMARON"));
    setWindowIcon(AppIcon());
    // Lets Wayland and the task bar find the menu entry, and with it the icon.
    setDesktopFileName(QStringLiteral("org.kelmaron.Brevix"));
}

bool OpensAsSession(const std::string& strPath, bool bSession) {
    std::error_code ec;
    if (strPath.empty() || !std::filesystem::exists(strPath, ec)) return false;
    if (bSession) return true;
    const std::filesystem::path path(strPath);
    return std::filesystem::is_regular_file(path, ec) && !HasBigExtension(path.filename().native());
}

// A modal dialog blocks every window but its own children: the session
// windows it opens are therefore its children, and close with it.
int CBrevixApp::InitInstance(const std::string& strPath, bool bSession) {
    if (m_fnOpenSession && OpensAsSession(strPath, bSession)) {
        m_fnOpenSession(strPath, nullptr);
        return exec();
    }
    CQtPrompter prompter;
    CBrevixDlg dlg(prompter);
    if (m_fnOpenSession)
        connect(&dlg, &CBrevixDlg::sessionRequested, this, [this, &dlg](const QString& strFile) {
            m_fnOpenSession(QFile::encodeName(strFile).toStdString(), &dlg);
        });
    dlg.show();
    std::string strError;
    if (!strPath.empty() && !dlg.OpenArgument(strPath, strError))
        std::cerr << "brevix: " << strError << '\n';
    dlg.exec();
    return 0;
}
