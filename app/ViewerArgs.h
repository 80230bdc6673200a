#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// What the viewer's command line asks for.
enum class EViewerAction { kRun, kHelp, kVersion, kUsageError };

struct CViewerArgs {
    EViewerAction m_eAction = EViewerAction::kRun;
    std::string m_strPath;    // the FILE or FOLDER operand; empty: none given
    bool m_bSession = false;  // --session: open it in the session window, whatever it is
    std::string m_strError;   // one line, for kUsageError
};

// Parses the arguments after the program name, once Qt has taken its own
// options out. --help and --version stop parsing; an unknown option, an
// empty name or a second operand is wrong usage. Touches no file.
CViewerArgs ParseViewerArgs(const std::vector<std::string>& args);

// True when an argument before "--" looks like an option that is not ours,
// one that Qt may take out when the application starts: only then can a
// reading before Qt differ from the one after.
bool MayHoldQtOptions(const std::vector<std::string>& args);

// Answers whatever needs no window: help and version on out (exit code 0),
// wrong usage on err (exit code 2).
int AnswerWithoutViewer(const CViewerArgs& args, std::ostream& out, std::ostream& err);

// Usage plus a short description of every option, for --help.
const char* ViewerHelp();
