#include "cli/DumpSession.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "io/Importer.h"
#include "io/MsgFraming.h"
#include "io/SessionFilter.h"
#include "io/SessionIndex.h"
#include "io/SessionMeaning.h"
#include "io/TimeText.h"
#include "model/Bytes.h"
#include "render/MessageNames.h"
#include "render/NumberText.h"

namespace {

void ReportError(std::ostream& err, const std::string& strName, const std::string& strReason) {
    err << "brevix-dump: " << strName << ": " << strReason << '\n';
}

CSessionOptions SessionOptions(const CDumpOptions& opts) {
    CSessionOptions sessionOpts;
    sessionOpts.nPort = opts.m_nPort;
    if (opts.m_nT3Micros >= 0) sessionOpts.nT3Micros = opts.m_nT3Micros;
    return sessionOpts;
}

// With the time where the source gives one: what was skipped, and when.
void ReportWarnings(std::ostream& err, const std::string& strPath, const CSession& session) {
    for (const SSessionWarning& w : session.Warnings()) {
        const bool bTime = w.nMicros != SSessionMsg::kNoTime && !w.nLine;
        ReportError(
            err, strPath,
            bTime ? IsoTimeText(w.nMicros, session.TimesOfDay()) + ": " + w.strText : w.strText);
    }
}

// "10.0.0.1:40000 -> 10.0.0.2:5000", "out", "H -> E", or "-".
std::string DirectionText(const SSessionFlow& flow) {
    if (!flow.strFrom.empty() || !flow.strTo.empty()) return flow.strFrom + " -> " + flow.strTo;
    if (flow.eDirection == EMsgDirection::kOut) return "out";
    if (flow.eDirection == EMsgDirection::kIn) return "in";
    return "-";
}

std::string LatencyText(std::int64_t nMicros) {
    std::string str = DecimalText(static_cast<unsigned long long>(nMicros / 1000000)) + ".";
    const std::string strFraction = DecimalText(static_cast<unsigned long long>(nMicros % 1000000));
    return str + std::string(6 - strFraction.size(), '0') + strFraction;
}

const char* NameOf(const SSessionMsg& m) {
    if ((m.nFlags & SSessionMsg::kHsms) && m.nSType) return "";
    const SMessageName* pName = FindMessageName(m.nStream, m.nFunction);
    return pName ? pName->szName : "";
}

void AppendJsonString(std::string& str, const std::string& strValue) {
    str += '"';
    for (char c : strValue) {
        if (c == '"' || c == '\\') {
            str += '\\';
            str += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            str += "\\u00";
            AppendHexByte(str, static_cast<unsigned char>(c));
        } else {
            str += c;
        }
    }
    str += '"';
}

// Number, time, direction, SxFy, name, system bytes, size, reply-to number,
// latency in seconds, status; "-" for what is not known.
void AppendLine(std::string& str, const CSession& s, std::size_t i, std::size_t nBase,
                const std::string& strSummary) {
    const SSessionMsg& m = s.Messages()[i];
    str += DecimalText(nBase + i + 1);
    str += ' ';
    str += m.nMicros == SSessionMsg::kNoTime ? "-" : IsoTimeText(m.nMicros, s.TimesOfDay());
    str += ' ';
    str += DirectionText(s.Flows()[m.nFlow]);
    str += ' ';
    str += s.MessageName(i);
    str += ' ';
    const char* szName = NameOf(m);
    str += !strSummary.empty() ? strSummary.c_str() : *szName ? szName : "-";
    str += ' ';
    for (int nShift = 24; nShift >= 0; nShift -= 8)
        AppendHexByte(str, static_cast<unsigned char>(m.dwSystem >> nShift));
    str += ' ';
    str += DecimalText(m.nSize);
    str += ' ';
    str += m.nReplyTo ? DecimalText(nBase + m.nReplyTo) : "-";
    str += ' ';
    const std::int64_t nLatency = s.LatencyMicros(i);
    str += nLatency >= 0 ? LatencyText(nLatency) : "-";
    str += ' ';
    str += MsgStatusWord(m.eStatus);
    str += '\n';
}

// One record of docs/brevix-dump-list.schema.json.
void AppendJson(std::string& str, const CSession& s, std::size_t i, std::size_t nBase,
                const std::string& strSummary) {
    const SSessionMsg& m = s.Messages()[i];
    const SSessionFlow& flow = s.Flows()[m.nFlow];
    str += "{\"number\":" + DecimalText(nBase + i + 1) + ",\"time\":";
    if (m.nMicros == SSessionMsg::kNoTime)
        str += "null";
    else
        AppendJsonString(str, IsoTimeText(m.nMicros, s.TimesOfDay()));
    str += ",\"from\":";
    AppendJsonString(str, flow.strFrom);
    str += ",\"to\":";
    AppendJsonString(str, flow.strTo);
    str += ",\"direction\":";
    AppendJsonString(str, flow.eDirection == EMsgDirection::kOut  ? "out"
                          : flow.eDirection == EMsgDirection::kIn ? "in"
                                                                  : "");
    str += ",\"message\":";
    AppendJsonString(str, s.MessageName(i));
    str += ",\"stream\":" + DecimalText(m.nStream) + ",\"function\":" + DecimalText(m.nFunction);
    str += m.Wait() ? ",\"wait\":true" : ",\"wait\":false";
    str += ",\"stype\":" + DecimalText(m.nSType) + ",\"device\":" + DecimalText(m.nDevice);
    str += ",\"name\":";
    AppendJsonString(str, NameOf(m));
    if (!strSummary.empty()) {
        str += ",\"summary\":";
        AppendJsonString(str, strSummary);
    }
    str += ",\"system\":" + DecimalText(m.dwSystem) + ",\"size\":" + DecimalText(m.nSize);
    str += ",\"reply_to\":" + (m.nReplyTo ? DecimalText(nBase + m.nReplyTo) : "null");
    const std::int64_t nLatency = s.LatencyMicros(i);
    str += ",\"latency_us\":" +
           (nLatency >= 0 ? DecimalText(static_cast<unsigned long long>(nLatency)) : "null");
    str += ",\"status\":";
    AppendJsonString(str, MsgStatusWord(m.eStatus));
    if (m.nNote) {
        str += ",\"note\":";
        AppendJsonString(str, s.Notes()[m.nNote - 1]);
    }
    str += "}\n";
}

// mkdir -p: every missing folder on the way is made.
bool MakeFolders(const std::string& strDir, std::string& strError) {
    for (std::size_t i = 1; i <= strDir.size(); ++i) {
        if (i < strDir.size() && strDir[i] != '/') continue;
        const std::string strPart = strDir.substr(0, i);
        if (::mkdir(strPart.c_str(), 0777) != 0 && errno != EEXIST) {
            strError = std::strerror(errno);
            return false;
        }
    }
    struct stat st {};
    if (::stat(strDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        strError = "Not a directory";
        return false;
    }
    return true;
}

}  // namespace

int RunList(const CDumpOptions& opts, const CDictionary& dict, std::ostream& out,
            std::ostream& err) {
    // Times in the filter are UTC, as --list writes them.
    CSessionFilter filter;
    std::string strError;
    if (!filter.Parse(opts.m_strFilter, SSessionZone(), strError)) {
        err << "brevix-dump: --filter: " << strError << '\n';
        return 2;
    }
    int nStatus = 0;
    std::size_t nBase = 0;
    std::string str;
    for (const std::string& strPath : opts.m_files) {
        CSession session;
        if (!OpenSession(strPath, SessionOptions(opts), session, strError)) {
            ReportError(err, strPath, strError);
            nStatus = 1;
            continue;
        }
        ReportWarnings(err, strPath, session);
        CDictionary learned = dict;
        LearnSession(session, learned);
        const std::vector<std::string> summaries = SessionSummaries(session, learned);
        static const std::string kNoSummary;
        for (const std::uint32_t i : FilterSession(session, filter)) {
            const std::string& strSummary = i < summaries.size() ? summaries[i] : kNoSummary;
            if (opts.m_bJson)
                AppendJson(str, session, i, nBase, strSummary);
            else
                AppendLine(str, session, i, nBase, strSummary);
            if (str.size() >= (1u << 16)) {
                out << str;
                str.clear();
            }
        }
        nBase += session.Messages().size();
    }
    out << str;
    return nStatus;
}

int RunImport(const CDumpOptions& opts, std::ostream& err) {
    std::string strError;
    if (!MakeFolders(opts.m_strOutDir, strError)) {
        ReportError(err, opts.m_strOutDir, strError);
        return 1;
    }
    int nStatus = 0;
    std::vector<CSession> sessions;
    sessions.reserve(opts.m_files.size());
    std::size_t nWarnings = 0;
    const CSessionOptions sessionOpts = SessionOptions(opts);
    for (const std::string& strPath : opts.m_files) {
        CSession session;
        if (!OpenSession(strPath, sessionOpts, session, strError)) {
            ReportError(err, strPath, strError);
            nStatus = 1;
            continue;
        }
        for (std::size_t i = 0; i < session.Messages().size(); ++i) {
            const SSessionMsg& m = session.Messages()[i];
            // Text sources name damaged messages by line among their warnings.
            const bool bDamaged = m.eStatus == EMsgStatus::kDamaged && !m.nLine;
            if (!(m.nFlags & SSessionMsg::kDoubtful) && !bDamaged) continue;
            ReportError(err, strPath,
                        "message " + DecimalText(i + 1) + ", " + session.MessageName(i) + ": " +
                            (bDamaged ? "does not decode cleanly" : session.Notes()[m.nNote - 1]));
            ++nWarnings;
        }
        ReportWarnings(err, strPath, session);
        nWarnings += session.Warnings().size();
        sessions.push_back(std::move(session));
    }
    std::vector<const CSession*> pointers;
    for (const CSession& s : sessions) pointers.push_back(&s);
    CImportWrite written;
    if (!WriteImport(opts.m_strOutDir, pointers, opts.m_bControl, written)) nStatus = 1;
    for (const std::string& strFailure : written.m_errors)
        err << "brevix-dump: " << strFailure << '\n';
    err << "brevix-dump: " << CountText(written.m_nMessages, "message") << " found, "
        << CountText(written.m_nWritten, "file") << " written, " << CountText(nWarnings, "warning")
        << '\n';
    if (!written.m_errors.empty() && written.m_nWritten)
        err << "brevix-dump: " << opts.m_strOutDir
            << ": import incomplete, INDEX.tsv not written\n";
    return nStatus;
}
