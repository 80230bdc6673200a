#include "io/SessionExport.h"

#include <filesystem>
#include <system_error>

#include "decode/MsgDocWalk.h"
#include "io/AtomicFile.h"
#include "render/JsonWriter.h"
#include "render/NumberText.h"
#include "render/SmlWriter.h"

namespace {

const char* DirectionWord(EMsgDirection eDirection) {
    static const char* const kWords[] = {"", "out", "in"};
    return kWords[static_cast<int>(eDirection) % 3];
}

std::string Padded(std::uint64_t n, std::size_t nWidth) {
    std::string str;
    AppendUnsigned(str, n);
    return str.size() < nWidth ? std::string(nWidth - str.size(), '0') + str : str;
}

std::string ExportFileName(std::size_t nSeq, const CSession& session, std::size_t nIndex) {
    return Padded(nSeq, 6) + "_" + session.MessageName(nIndex) + ".BIG";
}

std::string SystemText(std::uint32_t dwSystem) {
    std::string str;
    AppendHex(str, dwSystem, 8);
    return str;
}

// The import's index columns, numbered in export order; a reply names its
// primary only when that was exported too.
std::string ExportIndex(const CSession& session, const std::vector<std::uint32_t>& rows) {
    std::string str =
        "seq\ttime\tsource\tdestination\tmessage\twait\tsystem\treply_to\tlatency_ms\n";
    std::vector<std::size_t> seqOf(session.Messages().size(), 0);
    const SSessionZone utc = MakeSessionZone(true, session.TimesOfDay(), 0);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::size_t i = rows[k];
        seqOf[i] = k + 1;
        const SSessionMsg& m = session.Messages()[i];
        const SSessionFlow& flow = session.Flows()[m.nFlow];
        std::string strReply, strLatency;
        if (m.nReplyTo && seqOf[m.nReplyTo - 1]) {
            AppendUnsigned(strReply, seqOf[m.nReplyTo - 1]);
            const std::int64_t nDelta = session.LatencyMicros(i);
            if (nDelta >= 0) {
                AppendUnsigned(strLatency, static_cast<std::uint64_t>(nDelta / 1000));
                strLatency += "." + Padded(static_cast<std::uint64_t>(nDelta % 1000), 3);
            }
        }
        std::string strSeq;
        AppendUnsigned(strSeq, k + 1);
        str += strSeq + "\t" + SessionTimeText(m.nMicros, utc) + "\t" + flow.strFrom + "\t" +
               flow.strTo + "\t" + session.MessageName(i) + "\t" + (m.Wait() ? "1" : "0") + "\t" +
               SystemText(m.dwSystem).substr(2) + "\t" + strReply + "\t" + strLatency + "\n";
    }
    return str;
}

bool FolderIsEmptyOrNew(const std::string& strDir, std::string& strError) {
    std::error_code ec;
    if (!std::filesystem::exists(strDir, ec)) {
        if (std::filesystem::create_directories(strDir, ec)) return true;
        strError = strDir + ": " + ec.message();
        return false;
    }
    if (!std::filesystem::is_directory(strDir, ec)) {
        strError = strDir + ": not a folder";
        return false;
    }
    if (std::filesystem::directory_iterator(strDir, ec) != std::filesystem::directory_iterator()) {
        strError = strDir + ": the folder is not empty; choose an empty or a new one";
        return false;
    }
    return !ec;
}

}  // namespace

std::shared_ptr<const CMsgDoc> SessionMessageDoc(const CSession& session, std::size_t nIndex) {
    std::vector<unsigned char> scratch;
    const std::span<const unsigned char> view = session.Bytes(nIndex, scratch);
    return std::make_shared<const CMsgDoc>(
        DecodeMsgDoc(std::vector<unsigned char>(view.begin(), view.end())));
}

std::string SmlCommentLine(const CSession& session, std::size_t nIndex, const SSessionZone& zone) {
    const SSessionMsg& m = session.Messages()[nIndex];
    const SSessionFlow& flow = session.Flows()[m.nFlow];
    std::string str = "// " + SessionTimeText(m.nMicros, zone);
    if (m.nMicros != SSessionMsg::kNoTime) str += " " + ZoneText(zone);
    str += "  ";
    str += DirectionWord(flow.eDirection);
    if (!flow.strFrom.empty() || !flow.strTo.empty())
        str += " " + flow.strFrom + " -> " + flow.strTo;
    return str + "  system " + SystemText(m.dwSystem) + "\n";
}

std::string SessionToSml(const CSession& session, const std::vector<std::uint32_t>& rows,
                         const SSessionZone& zone) {
    std::string out;
    for (const std::uint32_t i : rows) {
        if (!out.empty()) out += '\n';
        out += SmlCommentLine(session, i, zone);
        out += MessageToSml(*SessionMessageDoc(session, i), ESmlDialect::kStandard);
    }
    return out;
}

std::string SessionToJsonLines(const CSession& session, const std::vector<std::uint32_t>& rows) {
    std::string out;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        out += MessageToJson(ExportFileName(k + 1, session, rows[k]),
                             *SessionMessageDoc(session, rows[k]));
    }
    return out;
}

bool WriteExportText(const std::string& strPath, const std::string& strText,
                     std::string& strError) {
    return WriteWholeFile(strPath, strText.data(), strText.size(), strError);
}

bool ExportSessionFolder(const CSession& session, const std::vector<std::uint32_t>& rows,
                         const std::string& strDir, std::string& strError) {
    if (!FolderIsEmptyOrNew(strDir, strError)) return false;
    std::vector<unsigned char> scratch;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::span<const unsigned char> bytes = session.Bytes(rows[k], scratch);
        const std::string strPath = strDir + "/" + ExportFileName(k + 1, session, rows[k]);
        if (!WriteNewFile(strPath, bytes.data(), bytes.size(), strError)) {
            strError = strPath + ": " + strError;
            return false;
        }
    }
    // The index last, and only after every message is on disk: a folder
    // without one is never taken for a finished export.
    if (!SyncFolder(strDir, strError)) return false;
    const std::string strIndex = ExportIndex(session, rows);
    return WriteNewFile(strDir + "/INDEX.tsv", strIndex.data(), strIndex.size(), strError) &&
           SyncFolder(strDir, strError);
}
