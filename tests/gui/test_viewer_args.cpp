#include <gtest/gtest.h>

#include <QLabel>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "app/ViewerArgs.h"

namespace {

std::string Describe(const CViewerArgs& a) {
    static const char* const kActions[] = {"run", "help", "version", "usage"};
    std::string str = kActions[static_cast<int>(a.m_eAction)];
    if (a.m_eAction == EViewerAction::kUsageError) return a.m_strError.empty() ? "no reason" : str;
    if (a.m_bSession) str += " session";
    return a.m_strPath.empty() ? str : str + " " + a.m_strPath;
}

struct ArgsCase {
    const char* name;
    std::vector<std::string> args;
    const char* parsed;
    bool bQt;  // Qt may still take some of them away
};

const ArgsCase kArgsCases[] = {
    {"nothing", {}, "run", false},
    {"one file", {"dir/S6F11.BIG"}, "run dir/S6F11.BIG", false},
    {"as a session", {"--session", "dir"}, "run session dir", false},
    {"session after the name", {"dir", "--session"}, "run session dir", false},
    {"help", {"--help"}, "help", false},
    {"short help", {"-h"}, "help", false},
    {"version", {"--version"}, "version", false},
    {"help after a file", {"a", "--help"}, "help", false},
    {"help stops reading", {"--version", "a", "b", "-x"}, "version", true},
    {"second operand", {"a", "b"}, "usage", false},
    {"empty name", {""}, "usage", false},
    {"unknown option", {"--bogus"}, "usage", true},
    {"qt option", {"-platform", "offscreen", "a"}, "usage", true},
    {"dash is a name", {"-"}, "run -", false},
    {"double dash", {"--", "--help"}, "run --help", false},
    {"double dash ends options", {"--", "-x"}, "run -x", false},
    {"two after double dash", {"--", "a", "b"}, "usage", false},
};

TEST(ViewerArgs, Parse) {
    for (const ArgsCase& c : kArgsCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Describe(ParseViewerArgs(c.args)), c.parsed);
        EXPECT_EQ(MayHoldQtOptions(c.args), c.bQt);
    }
}

// The About box names the version that --version gives, in three parts.
TEST(ViewerArgs, AboutBoxNamesTheVersion) {
    std::ostringstream out, err;
    ASSERT_EQ(AnswerWithoutViewer(ParseViewerArgs({"--version"}), out, err), 0);
    const std::string strAnswer = out.str();
    ASSERT_EQ(strAnswer.substr(0, 7), "brevix ");
    const std::string strVersion = strAnswer.substr(7, strAnswer.size() - 8);
    EXPECT_EQ(std::count(strVersion.begin(), strVersion.end(), '.'), 2) << strVersion;
    const CAboutDlg dlg;
    QStringList texts;
    for (const QLabel* pLabel : dlg.findChildren<QLabel*>()) texts << pLabel->text();
    EXPECT_TRUE(texts.contains(QString::fromStdString("Brevix, Version " + strVersion)))
        << texts.join('|').toStdString();
}

}  // namespace
