#include "app/ViewerArgs.h"

#include <ostream>

namespace {

const char kUsage[] = "Usage: brevix [--session] [FILE|FOLDER]\n";

const char kHelpBody[] =
    "\n"
    "Shows SECS-II message files (.BIG) as a tree of lists and typed values. With\n"
    "a FOLDER, lists its message files; with a FILE, lists the file's folder and\n"
    "opens the file. A FILE that is not a message file (a text log, a pcap or\n"
    "pcapng capture) opens in the session window as a conversation: time,\n"
    "direction, replies and latencies, read in place with nothing written beside\n"
    "it. Without either, starts in the folder last browsed to. A FILE or FOLDER\n"
    "that does not exist is reported on standard error and the viewer starts as\n"
    "without it.\n"
    "\n"
    "  --session  open FILE or FOLDER in the session window, message files too\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "\n"
    "Qt's own options (such as -platform or -style) are accepted as well.\n"
    "Exit status: 0 when the window is closed, 2 wrong usage.\n";

bool IsOurOption(const std::string& a) {
    return a == "--help" || a == "-h" || a == "--version" || a == "--session";
}

}  // namespace

CViewerArgs ParseViewerArgs(const std::vector<std::string>& args) {
    CViewerArgs result;
    bool bOperandsOnly = false;
    for (const std::string& a : args) {
        if (!bOperandsOnly && a == "--") {
            bOperandsOnly = true;
            continue;
        }
        const bool bOption = !bOperandsOnly && a.size() > 1 && a[0] == '-';
        if (bOption && a == "--session") {
            result.m_bSession = true;
            continue;
        }
        if (bOption && IsOurOption(a)) {
            CViewerArgs answer;
            answer.m_eAction = a == "--version" ? EViewerAction::kVersion : EViewerAction::kHelp;
            return answer;
        }
        if (bOption || a.empty() || !result.m_strPath.empty()) {
            result.m_eAction = EViewerAction::kUsageError;
            result.m_strError = bOption     ? "unknown option '" + a + "'"
                                : a.empty() ? std::string("empty FILE name")
                                            : "only one FILE or FOLDER may be given";
            return result;
        }
        result.m_strPath = a;
    }
    return result;
}

bool MayHoldQtOptions(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a.size() > 1 && a[0] == '-' && !IsOurOption(a)) return true;
    }
    return false;
}

int AnswerWithoutViewer(const CViewerArgs& args, std::ostream& out, std::ostream& err) {
    switch (args.m_eAction) {
        case EViewerAction::kHelp:
            out << ViewerHelp();
            break;
        case EViewerAction::kVersion:
            out << "brevix " << BREVIX_VERSION << '\n';
            break;
        default:
            err << "brevix: " << args.m_strError << '\n' << kUsage;
            return 2;
    }
    return out.flush() ? 0 : 1;
}

const char* ViewerHelp() {
    static const std::string strHelp = std::string(kUsage) + kHelpBody;
    return strHelp.c_str();
}
