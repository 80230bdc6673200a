#include "app/BrevixApp.h"

#include <QFile>
#include <QStringList>

#include "app/BrevixDlg.h"
#include "app/Prompter.h"
#include "app/Resources.h"

CBrevixApp::CBrevixApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Brevix"));
    setOrganizationName(QStringLiteral("KELMARON"));
    setWindowIcon(AppIcon());
}

int CBrevixApp::InitInstance() {
    CQtPrompter prompter;
    CBrevixDlg dlg(prompter);
    dlg.show();
    const QStringList args = arguments();
    if (args.size() > 1) dlg.OpenArgument(QFile::encodeName(args.at(1)).toStdString());
    dlg.exec();
    return 0;
}
