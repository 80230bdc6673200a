#include "app/BrevixApp.h"

#include <iostream>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "app/Resources.h"

CBrevixApp::CBrevixApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevix"));
    setOrganizationName(QStringLiteral("KELMARON"));
    setWindowIcon(AppIcon());
    // Lets Wayland and the task bar find the menu entry, and with it the icon.
    setDesktopFileName(QStringLiteral("org.kelmaron.Brevix"));
}

int CBrevixApp::InitInstance(const std::string& strPath) {
    CQtPrompter prompter;
    CBrevixDlg dlg(prompter);
    dlg.show();
    std::string strError;
    if (!strPath.empty() && !dlg.OpenArgument(strPath, strError))
        std::cerr << "brevix: " << strError << '\n';
    dlg.exec();
    return 0;
}
