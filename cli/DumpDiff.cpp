#include "cli/DumpDiff.h"

#include <ostream>
#include <string>
#include <vector>

#include "cli/DumpRun.h"
#include "io/SessionIndex.h"
#include "io/SessionMessages.h"
#include "io/TimeText.h"
#include "render/DiffIgnore.h"
#include "render/DiffText.h"
#include "render/JsonWriter.h"
#include "render/MessageDiff.h"
#include "render/NumberText.h"
#include "render/SessionDiff.h"

namespace {

constexpr int kTrouble = 2;

int DiffFiles(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in) {
    std::vector<unsigned char> bytes[2];
    for (int i = 0; i < 2; ++i) {
        std::string strError;
        if (!ReadInput(opts.m_files[static_cast<std::size_t>(i)], in, bytes[i], strError)) {
            err << "brevix-dump: " << opts.m_files[static_cast<std::size_t>(i)] << ": " << strError
                << '\n';
            return kTrouble;
        }
    }
    const SMessageDiff diff =
        DiffMessages(DiffMessageIgnoring(bytes[0].data(), bytes[0].size(), opts.m_ignoreRoles),
                     DiffMessageIgnoring(bytes[1].data(), bytes[1].size(), opts.m_ignoreRoles));
    if (!opts.m_bIgnoreHeader)
        for (const SHeaderDiff& h : diff.header)
            out << (opts.m_bDiffJson ? HeaderDiffJson(h) : HeaderDiffText(h)) << '\n';
    for (const SItemDiff& d : diff.items)
        out << (opts.m_bDiffJson ? ItemDiffJson(d) : ItemDiffText(d)) << '\n';
    return diff.items.empty() ? 0 : 1;
}

struct SMatchName {
    const char* szText;
    const char* szJson;
};
// In the order of ESessionMatch.
constexpr SMatchName kMatchNames[] = {
    {"equal", "equal"}, {"changed", "changed"}, {"only in A", "only_a"}, {"only in B", "only_b"}};

std::string SummaryText(const SSessionDiff& diff, bool bJson) {
    std::string str = bJson ? "{\"kind\":\"summary\"" : "";
    for (int i = 0; i < 4; ++i) {
        if (bJson) {
            str += ",\"" + std::string(kMatchNames[i].szJson) + "\":";
        } else {
            if (i) str += ", ";
            str += kMatchNames[i].szText;
            str += ' ';
        }
        AppendUnsigned(str, diff.nCount[i]);
    }
    return bJson ? str + '}' : str;
}

// A side of a session line: "A 12 2026-12-07T10:00:00.000250Z", numbered as --list numbers.
std::string SideText(char cSide, const SSessionMessage& m, bool bTimesOfDay) {
    std::string str(1, cSide);
    str += ' ';
    AppendUnsigned(str, m.nIndex + 1);
    str += ' ';
    return str + (m.nMicros == INT64_MIN ? "-" : IsoTimeText(m.nMicros, bTimesOfDay));
}

void AppendJsonSide(std::string& out, const SSessionMessage* pMsg, bool bTimesOfDay) {
    if (!pMsg) {
        out += "null";
        return;
    }
    out += "{\"number\":";
    AppendUnsigned(out, pMsg->nIndex + 1);
    out += ",\"time\":";
    if (pMsg->nMicros == INT64_MIN) {
        out += "null}";
        return;
    }
    const std::string strTime = IsoTimeText(pMsg->nMicros, bTimesOfDay);
    AppendJsonString(out, reinterpret_cast<const unsigned char*>(strTime.data()), strTime.size());
    out += '}';
}

struct SSessionSide {
    CSession session;
    std::vector<SSessionMessage> messages;
    const SSessionMessage* At(int n) const {
        return n < 0 ? nullptr : &messages[static_cast<std::size_t>(n)];
    }
};

// "changed S6F11W A 3 10:00:00.000000 | B 4 10:00:05.000000", "only in B S5F1W B 4 -".
std::string PairText(const SSessionPair& p, const SSessionSide& a, const SSessionSide& b,
                     bool bJson) {
    const SSessionMessage* pA = a.At(p.nA);
    const SSessionMessage* pB = b.At(p.nB);
    const std::string& strKey = (pA ? pA : pB)->strName;
    const SMatchName& name = kMatchNames[static_cast<int>(p.eMatch)];
    if (bJson) {
        std::string str =
            "{\"kind\":\"" + std::string(name.szJson) + "\",\"message\":\"" + strKey + "\",\"a\":";
        AppendJsonSide(str, pA, a.session.TimesOfDay());
        str += ",\"b\":";
        AppendJsonSide(str, pB, b.session.TimesOfDay());
        return str + (p.bUnreadable ? ",\"unreadable\":true}" : "}");
    }
    std::string str = std::string(name.szText) + ' ' + strKey + ' ';
    if (pA) str += SideText('A', *pA, a.session.TimesOfDay());
    if (pA && pB) str += " | ";
    if (pB) str += SideText('B', *pB, b.session.TimesOfDay());
    return p.bUnreadable ? str + " (could not be read)" : str;
}

int DiffSessionSources(const CDumpOptions& opts, SSessionSide (&sides)[2], std::ostream& out,
                       std::ostream& err) {
    int nStatus = 0;
    for (int i = 0; i < 2; ++i) {
        const CSession& session = sides[i].session;
        for (const SSessionWarning& w : session.Warnings())
            err << "brevix-dump: " << opts.m_files[static_cast<std::size_t>(i)] << ": " << w.strText
                << '\n';
        // A folder's file that could not be read leaves the comparison incomplete.
        if (session.Kind() == ESourceKind::kFolder && !session.Warnings().empty())
            nStatus = kTrouble;
        sides[i].messages = SessionMessagesOf(session);
    }
    const SSessionDiff diff =
        DiffSessions(sides[0].messages, sides[1].messages, opts.m_ignoreRoles);
    out << SummaryText(diff, opts.m_bDiffJson) << '\n';
    for (const SSessionPair& p : diff.pairs)
        if (p.eMatch != ESessionMatch::kEqual)
            out << PairText(p, sides[0], sides[1], opts.m_bDiffJson) << '\n';
    if (nStatus) return nStatus;
    return diff.pairs.size() == diff.nCount[static_cast<int>(ESessionMatch::kEqual)] ? 0 : 1;
}

}  // namespace

int RunDiff(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in) {
    // Standard input can only be a message file; anything else is opened as
    // a session, where one message file is a session of kind kFile. What does
    // not open is left to the message file reader, which says why.
    SSessionSide sides[2];
    bool bSession[2] = {false, false};
    CSessionOptions sessionOpts;
    sessionOpts.bCheckBodies = false;  // bodies are read when partners are compared
    for (int i = 0; i < 2; ++i) {
        const std::string& strPath = opts.m_files[static_cast<std::size_t>(i)];
        std::string strError;
        bSession[i] = strPath != "-" &&
                      OpenSession(strPath, sessionOpts, sides[i].session, strError) &&
                      sides[i].session.Kind() != ESourceKind::kFile;
    }
    if (bSession[0] != bSession[1]) {
        err << "brevix-dump: --diff compares two message files or two sessions (logs, captures, "
               "folders), not a message file with a session\n";
        return kTrouble;
    }
    return bSession[0] ? DiffSessionSources(opts, sides, out, err) : DiffFiles(opts, out, err, in);
}
