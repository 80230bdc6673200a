#include "cli/DumpDiff.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/DumpRun.h"
#include "io/SessionFolder.h"
#include "render/DiffText.h"
#include "render/JsonWriter.h"
#include "render/MessageDiff.h"
#include "render/NumberText.h"
#include "render/SessionDiff.h"

namespace {

constexpr int kTrouble = 2;

bool IsFolder(const std::string& strPath) {
    std::error_code ec;
    return strPath != "-" && std::filesystem::is_directory(strPath, ec);
}

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
    const SMessageDiff diff = DiffMessages(DiffMessageOfBytes(bytes[0].data(), bytes[0].size()),
                                           DiffMessageOfBytes(bytes[1].data(), bytes[1].size()));
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

void AppendJsonName(std::string& out, const std::vector<SSessionMessage>& s, int n) {
    if (n < 0) {
        out += "null";
        return;
    }
    const std::string& str = s[static_cast<std::size_t>(n)].strName;
    AppendJsonString(out, reinterpret_cast<const unsigned char*>(str.data()), str.size());
}

// "changed S6F11W 000012_S6F11W.BIG | 000013_S6F11W.BIG", "only in A S1F1W NAME".
std::string PairText(const SSessionPair& p, const std::vector<SSessionMessage>& a,
                     const std::vector<SSessionMessage>& b, bool bJson) {
    const SSessionMessage& m =
        p.nA >= 0 ? a[static_cast<std::size_t>(p.nA)] : b[static_cast<std::size_t>(p.nB)];
    const SMatchName& name = kMatchNames[static_cast<int>(p.eMatch)];
    if (bJson) {
        std::string str = "{\"kind\":\"" + std::string(name.szJson) + "\",\"message\":\"" +
                          SessionKeyText(m) + "\",\"a\":";
        AppendJsonName(str, a, p.nA);
        str += ",\"b\":";
        AppendJsonName(str, b, p.nB);
        return str + (p.bUnreadable ? ",\"unreadable\":true}" : "}");
    }
    std::string str = std::string(name.szText) + ' ' + SessionKeyText(m) + ' ';
    if (p.nA >= 0) str += a[static_cast<std::size_t>(p.nA)].strName;
    if (p.nA >= 0 && p.nB >= 0) str += " | ";
    if (p.nB >= 0) str += b[static_cast<std::size_t>(p.nB)].strName;
    return p.bUnreadable ? str + " (could not be read)" : str;
}

int DiffFolders(const CDumpOptions& opts, std::ostream& out, std::ostream& err) {
    std::vector<SSessionMessage> sessions[2];
    int nStatus = 0;
    for (int i = 0; i < 2; ++i) {
        const std::string& strFolder = opts.m_files[static_cast<std::size_t>(i)];
        std::vector<std::string> errors;
        std::string strError;
        if (!ReadSessionFolder(strFolder, sessions[i], errors, strError)) {
            err << "brevix-dump: " << strFolder << ": " << strError << '\n';
            return kTrouble;
        }
        for (const std::string& e : errors) err << "brevix-dump: " << strFolder << "/" << e << '\n';
        if (!errors.empty()) nStatus = kTrouble;
    }
    const SSessionDiff diff = DiffSessions(sessions[0], sessions[1]);
    out << SummaryText(diff, opts.m_bDiffJson) << '\n';
    for (const SSessionPair& p : diff.pairs)
        if (p.eMatch != ESessionMatch::kEqual)
            out << PairText(p, sessions[0], sessions[1], opts.m_bDiffJson) << '\n';
    if (nStatus) return nStatus;
    return diff.pairs.size() == diff.nCount[static_cast<int>(ESessionMatch::kEqual)] ? 0 : 1;
}

}  // namespace

int RunDiff(const CDumpOptions& opts, std::ostream& out, std::ostream& err, std::istream& in) {
    const bool bFolderA = IsFolder(opts.m_files[0]), bFolderB = IsFolder(opts.m_files[1]);
    if (bFolderA != bFolderB) {
        err << "brevix-dump: --diff compares two files or two folders, not a file with a "
               "folder\n";
        return kTrouble;
    }
    return bFolderA ? DiffFolders(opts, out, err) : DiffFiles(opts, out, err, in);
}
