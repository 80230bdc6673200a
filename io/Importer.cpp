#include "io/Importer.h"

#include "io/AtomicFile.h"
#include "io/MsgFraming.h"
#include "io/TimeText.h"
#include "model/Bytes.h"

namespace {

std::string Padded(unsigned long long n, std::size_t nWidth) {
    std::string str = DecimalText(n);
    return str.size() < nWidth ? std::string(nWidth - str.size(), '0') + str : str;
}

bool Written(const SSessionMsg& m, bool bControl) {
    return bControl || !((m.nFlags & SSessionMsg::kHsms) && m.nSType);
}

// "2026-12-07 10:00:00.123456": the index's time, UTC.
std::string IndexTime(const CSession& session, const SSessionMsg& m) {
    if (m.nMicros == SSessionMsg::kNoTime) return {};
    std::string str = IsoTimeText(m.nMicros, session.TimesOfDay());
    if (!session.TimesOfDay()) {
        str[10] = ' ';
        str.pop_back();
    }
    return str;
}

// Calls f(session, index, seq) for every message written, seq from 1.
template <typename F>
void ForEachWritten(const std::vector<const CSession*>& sessions, bool bControl, F f) {
    std::size_t nSeq = 0;
    for (const CSession* pSession : sessions)
        for (std::size_t i = 0; i < pSession->Messages().size(); ++i)
            if (Written(pSession->Messages()[i], bControl)) f(*pSession, i, ++nSeq);
}

}  // namespace

std::string ImportFileName(std::size_t nSeq, const std::string& strMessageName) {
    return Padded(nSeq, 6) + "_" + strMessageName + ".BIG";
}

std::string ImportIndex(const std::vector<const CSession*>& sessions, bool bControl) {
    std::string str =
        "seq\ttime\tsource\tdestination\tmessage\twait\tsystem\treply_to\tlatency_ms\n";
    const CSession* pLast = nullptr;
    std::vector<std::size_t> seqOf;  // index in the session to sequence number
    ForEachWritten(sessions, bControl, [&](const CSession& s, std::size_t i, std::size_t nSeq) {
        if (&s != pLast) {
            seqOf.assign(s.Messages().size(), 0);
            pLast = &s;
        }
        seqOf[i] = nSeq;
        const SSessionMsg& m = s.Messages()[i];
        const SSessionFlow& flow = s.Flows()[m.nFlow];
        std::string strReply, strLatency;
        if (m.nReplyTo && seqOf[m.nReplyTo - 1]) {
            strReply = DecimalText(seqOf[m.nReplyTo - 1]);
            const std::int64_t nDelta = s.LatencyMicros(i);
            if (nDelta >= 0)
                strLatency = DecimalText(static_cast<unsigned long long>(nDelta / 1000)) + "." +
                             Padded(static_cast<unsigned long long>(nDelta % 1000), 3);
        }
        std::string strSystem;
        for (int nShift = 24; nShift >= 0; nShift -= 8)
            AppendHexByte(strSystem, static_cast<unsigned char>(m.dwSystem >> nShift));
        str += DecimalText(nSeq) + "\t" + IndexTime(s, m) + "\t" + flow.strFrom + "\t" +
               flow.strTo + "\t" + s.MessageName(i) + "\t" + (m.Wait() ? "1" : "0") + "\t" +
               strSystem + "\t" + strReply + "\t" + strLatency + "\n";
    });
    return str;
}

bool WriteImport(const std::string& strDir, const std::vector<const CSession*>& sessions,
                 bool bControl, CImportWrite& written) {
    written = CImportWrite();
    std::string strError;
    const auto Write = [&](const std::string& strPath, const void* p, std::size_t n) {
        if (WriteNewFile(strPath, p, n, strError)) return true;
        written.m_errors.push_back(strPath + ": " + strError);
        return false;
    };
    std::vector<unsigned char> scratch;
    ForEachWritten(sessions, bControl, [&](const CSession& s, std::size_t i, std::size_t nSeq) {
        ++written.m_nMessages;
        const std::span<const unsigned char> bytes = s.Bytes(i, scratch);
        if (Write(strDir + "/" + ImportFileName(nSeq, s.MessageName(i)), bytes.data(),
                  bytes.size()))
            ++written.m_nWritten;
    });
    if (!SyncFolder(strDir, strError)) written.m_errors.push_back(strDir + ": " + strError);
    if (!written.m_errors.empty()) return false;
    const std::string strIndex = ImportIndex(sessions, bControl);
    Write(strDir + "/INDEX.tsv", strIndex.data(), strIndex.size());
    if (!SyncFolder(strDir, strError)) written.m_errors.push_back(strDir + ": " + strError);
    return written.m_errors.empty();
}
