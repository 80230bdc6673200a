#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/BrevixApp.h"
#include "app/ViewerArgs.h"
#include "session/SessionWindow.h"

namespace {

std::vector<std::string> ArgsAfterName(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file size limit (ulimit -f) a save then fails with "File too
    // large" and says so, instead of the signal ending the viewer.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help, version and wrong usage must be answered without a display, so
    // before Qt starts, unless Qt may yet take some arguments away.
    const std::vector<std::string> raw = ArgsAfterName(argc, argv);
    const CViewerArgs early = ParseViewerArgs(raw);
    const bool bFinal = early.m_eAction == EViewerAction::kHelp ||
                        early.m_eAction == EViewerAction::kVersion || !MayHoldQtOptions(raw);
    if (bFinal && early.m_eAction != EViewerAction::kRun)
        return AnswerWithoutViewer(early, std::cout, std::cerr);
    // Constructing the application takes Qt's own options (-platform, -style)
    // out of argv.
    CBrevixApp app(argc, argv);
    const CViewerArgs args = ParseViewerArgs(ArgsAfterName(argc, argv));
    if (args.m_eAction != EViewerAction::kRun)
        return AnswerWithoutViewer(args, std::cout, std::cerr);
    app.m_fnOpenSession = [](const std::string& strPath, QWidget* pOwner) {
        OpenSessionWindow(strPath, pOwner);
    };
    return app.InitInstance(args.m_strPath, args.m_bSession);
}
