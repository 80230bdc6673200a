#include "io/Importer.h"

#include <map>
#include <string_view>
#include <utility>

#include "io/AtomicFile.h"
#include "io/CaptureFile.h"
#include "io/HexText.h"

namespace {

std::string Padded(unsigned long long n, std::size_t nWidth) {
    std::string str = DecimalText(n);
    return str.size() < nWidth ? std::string(nWidth - str.size(), '0') + str : str;
}

unsigned int HeaderByte(const CFramedMsg& msg, std::size_t i) {
    return i < msg.m_bytes.size() ? msg.m_bytes[i] : 0;
}
bool IsControl(const CFramedMsg& msg) { return msg.m_eFraming == EFraming::kHsms && msg.m_nSType; }
int Stream(const CFramedMsg& msg) { return static_cast<int>(HeaderByte(msg, 2) & 0x7F); }
int Function(const CFramedMsg& msg) { return static_cast<int>(HeaderByte(msg, 3)); }
bool WaitBit(const CFramedMsg& msg) { return !IsControl(msg) && (HeaderByte(msg, 2) & 0x80); }
unsigned long SystemBytes(const CFramedMsg& msg) {
    unsigned long v = 0;
    for (std::size_t i = 6; i < 10; ++i) v = v << 8 | HeaderByte(msg, i);
    return v;
}

std::string MessageName(const CFramedMsg& msg) {
    if (IsControl(msg)) return HsmsControlName(msg.m_nSType);
    return "S" + DecimalText(static_cast<unsigned>(Stream(msg))) + "F" +
           DecimalText(static_cast<unsigned>(Function(msg))) + (WaitBit(msg) ? "W" : "");
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
std::string DateText(long long nDays) {
    nDays += 719468;
    const long long nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
    const long long nDoe = nDays - nEra * 146097;
    const long long nYoe = (nDoe - nDoe / 1460 + nDoe / 36524 - nDoe / 146096) / 365;
    const long long nDoy = nDoe - (365 * nYoe + nYoe / 4 - nYoe / 100);
    const long long nMp = (5 * nDoy + 2) / 153;
    const long long nDay = nDoy - (153 * nMp + 2) / 5 + 1;
    const long long nMonth = nMp < 10 ? nMp + 3 : nMp - 9;
    const long long nYear = nYoe + nEra * 400 + (nMonth <= 2);
    return Padded(static_cast<unsigned long long>(nYear), 4) + "-" +
           Padded(static_cast<unsigned long long>(nMonth), 2) + "-" +
           Padded(static_cast<unsigned long long>(nDay), 2);
}

// Capture time as UTC "2026-12-07 10:00:00.123456".
std::string CaptureTimeText(long long nMicros) {
    const long long nSeconds = nMicros / 1000000;
    const long long nDay = nSeconds / 86400;
    const long long nInDay = nSeconds % 86400;
    return DateText(nDay) + " " + Padded(static_cast<unsigned long long>(nInDay / 3600), 2) + ":" +
           Padded(static_cast<unsigned long long>(nInDay / 60 % 60), 2) + ":" +
           Padded(static_cast<unsigned long long>(nInDay % 60), 2) + "." +
           Padded(static_cast<unsigned long long>(nMicros % 1000000), 6);
}

// The time of day at the end of a log's time stamp, in µs; -1 without one.
long long TimeOfDayMicros(std::string_view str) {
    const std::size_t nColon = str.find(':');
    if (nColon == std::string_view::npos || nColon < 1) return -1;
    std::size_t i = nColon - 1;
    while (i > 0 && str[i - 1] >= '0' && str[i - 1] <= '9') --i;
    long long nParts[3] = {0, 0, 0};
    int nPart = 0;
    for (; i < str.size() && nPart < 3; ++i) {
        const char c = str[i];
        if (c == ':') {
            ++nPart;
        } else if (c >= '0' && c <= '9') {
            nParts[nPart] = nParts[nPart] * 10 + (c - '0');
        } else {
            break;
        }
    }
    long long nMicros = (nParts[0] * 3600 + nParts[1] * 60 + nParts[2]) * 1000000;
    if (i < str.size() && (str[i] == '.' || str[i] == ',')) {
        long long nScale = 100000;
        for (++i; i < str.size() && str[i] >= '0' && str[i] <= '9' && nScale; ++i, nScale /= 10)
            nMicros += (str[i] - '0') * nScale;
    }
    return nMicros;
}

void ImportText(std::string_view text, const CImportOptions& opts, CImportResult& result) {
    const CHexText hex = ReadHexText(text, false);
    const std::size_t nSession = ++result.m_nSessions;
    for (CFramedMsg& msg : MessagesFromHexText(hex)) {
        if (IsControl(msg) && !opts.m_bControl) continue;
        CFoundMsg found;
        found.m_strTime = hex.m_blocks[msg.m_nBlock].m_strTime;
        found.m_nMicros = TimeOfDayMicros(found.m_strTime);
        found.m_nSession = nSession;
        found.m_msg = std::move(msg);
        result.m_msgs.push_back(std::move(found));
    }
}

}  // namespace

bool ImportBytes(const unsigned char* p, std::size_t n, const CImportOptions& opts,
                 CImportResult& result, std::string& strError) {
    if (!IsCaptureFile(p, n)) {
        ImportText(std::string_view(reinterpret_cast<const char*>(p), n), opts, result);
        return true;
    }
    CTcpHsms tcp(opts.m_nPort);
    if (!ReadCapture(p, n, tcp, strError)) return false;
    tcp.Finish();
    const std::size_t nBase = result.m_nSessions;
    std::size_t nMaxSession = 0;
    for (CFoundMsg& found : tcp.m_msgs) {
        if (IsControl(found.m_msg) && !opts.m_bControl) continue;
        nMaxSession = std::max(nMaxSession, found.m_nSession);
        found.m_nSession += nBase;
        found.m_strTime = CaptureTimeText(found.m_nMicros);
        result.m_msgs.push_back(std::move(found));
    }
    result.m_nSessions += nMaxSession;
    for (std::string& str : tcp.m_warnings) result.m_warnings.push_back(std::move(str));
    return true;
}

std::string ImportFileName(std::size_t nSeq, const CFramedMsg& msg) {
    return Padded(nSeq, 6) + "_" + MessageName(msg) + ".BIG";
}

std::string ImportIndex(const std::vector<CFoundMsg>& msgs) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string str =
        "seq\ttime\tsource\tdestination\tmessage\twait\tsystem\treply_to\tlatency_ms\n";
    // Primaries that expect a reply, by session and system bytes.
    std::map<std::pair<std::size_t, unsigned long>, std::size_t> open;
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        const CFoundMsg& f = msgs[i];
        const CFramedMsg& msg = f.m_msg;
        const auto key = std::make_pair(f.m_nSession, SystemBytes(msg));
        std::string strReply, strLatency;
        const bool bPrimary =
            IsControl(msg) ? msg.m_nSType % 2 == 1 && msg.m_nSType != 7 : Function(msg) % 2;
        if (bPrimary) {
            if (IsControl(msg) || WaitBit(msg)) open[key] = i;
        } else if (auto it = open.find(key); it != open.end()) {
            const CFramedMsg& primary = msgs[it->second].m_msg;
            const bool bAnswers = IsControl(msg)
                                      ? IsControl(primary) && msg.m_nSType == primary.m_nSType + 1
                                      : !IsControl(primary) && Stream(msg) == Stream(primary);
            if (bAnswers) {
                strReply = DecimalText(it->second + 1);
                const long long nFrom = msgs[it->second].m_nMicros;
                if (nFrom >= 0 && f.m_nMicros >= nFrom) {
                    const long long nDelta = f.m_nMicros - nFrom;
                    strLatency = DecimalText(static_cast<unsigned long long>(nDelta / 1000)) + "." +
                                 Padded(static_cast<unsigned long long>(nDelta % 1000), 3);
                }
                open.erase(it);
            }
        }
        std::string strSystem(8, '0');
        unsigned long nSystem = SystemBytes(msg);
        for (int k = 7; k >= 0; --k, nSystem >>= 4)
            strSystem[static_cast<std::size_t>(k)] = kDigits[nSystem & 15];
        str += DecimalText(i + 1) + "\t" + f.m_strTime + "\t" + f.m_strSource + "\t" + f.m_strDest +
               "\t" + MessageName(msg) + "\t" + (WaitBit(msg) ? "1" : "0") + "\t" + strSystem +
               "\t" + strReply + "\t" + strLatency + "\n";
    }
    return str;
}

bool WriteImport(const std::string& strDir, const std::vector<CFoundMsg>& msgs,
                 CImportWrite& written) {
    written = CImportWrite();
    std::string strError;
    const auto Write = [&](const std::string& strPath, const void* p, std::size_t n) {
        if (WriteNewFile(strPath, p, n, strError)) return true;
        written.m_errors.push_back(strPath + ": " + strError);
        return false;
    };
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        const std::vector<unsigned char>& bytes = msgs[i].m_msg.m_bytes;
        if (Write(strDir + "/" + ImportFileName(i + 1, msgs[i].m_msg), bytes.data(), bytes.size()))
            ++written.m_nWritten;
    }
    const std::string strIndex = ImportIndex(msgs);
    Write(strDir + "/INDEX.tsv", strIndex.data(), strIndex.size());
    if (!SyncFolder(strDir, strError)) written.m_errors.push_back(strDir + ": " + strError);
    return written.m_errors.empty();
}
