#include "io/SessionIndex.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <utility>

#include "decode/HeaderFields.h"
#include "decode/MsgDocWalk.h"
#include "io/MsgFraming.h"
#include "io/SessionSource.h"

static_assert(sizeof(SSessionMsg) <= 48, "the index promises at most 64 bytes a message");

namespace {

struct SStatusWord {
    EMsgStatus eStatus;
    const char* szWord;
};
constexpr SStatusWord kStatusWords[] = {
    {EMsgStatus::kNone, "ok"},
    {EMsgStatus::kAnswered, "answered"},
    {EMsgStatus::kOpen, "open"},
    {EMsgStatus::kUnanswered, "unanswered"},
    {EMsgStatus::kOrphanReply, "orphan"},
    {EMsgStatus::kReplyToNoWait, "no-wait"},
    {EMsgStatus::kS9Error, "s9"},
    {EMsgStatus::kDamaged, "damaged"},
    {EMsgStatus::kControl, "control"},
};

bool IsControl(const SSessionMsg& m) { return (m.nFlags & SSessionMsg::kHsms) && m.nSType != 0; }

// Select.req, Deselect.req and Linktest.req ask for a response of the next type.
bool IsControlRequest(int nSType) { return nSType == 1 || nSType == 3 || nSType == 5; }
bool IsControlResponse(int nSType) { return nSType == 2 || nSType == 4 || nSType == 6; }

// Function 0 (abort transaction) answers any primary of its stream.
bool IsReply(const SSessionMsg& m) {
    if (IsControl(m)) return IsControlResponse(m.nSType);
    return m.nFunction % 2 == 0;
}
bool IsPrimary(const SSessionMsg& m) {
    if (IsControl(m)) return IsControlRequest(m.nSType);
    return m.nFunction % 2 == 1;
}
bool Answers(const SSessionMsg& reply, const SSessionMsg& primary) {
    if (IsControl(reply) || IsControl(primary))
        return IsControl(reply) && IsControl(primary) && reply.nSType == primary.nSType + 1;
    return reply.nStream == primary.nStream &&
           (reply.nFunction == 0 || reply.nFunction == primary.nFunction + 1);
}

bool Known(std::int64_t n) { return n != SSessionMsg::kNoTime; }

}  // namespace

const char* MsgStatusWord(EMsgStatus eStatus) {
    for (const SStatusWord& w : kStatusWords)
        if (w.eStatus == eStatus) return w.szWord;
    return "";
}

bool FindMsgStatus(std::string_view strWord, EMsgStatus& eStatus) {
    for (const SStatusWord& w : kStatusWords) {
        if (strWord == w.szWord) {
            eStatus = w.eStatus;
            return true;
        }
    }
    return false;
}

CSession::CSession() = default;
CSession::~CSession() = default;
CSession::CSession(CSession&&) noexcept = default;
CSession& CSession::operator=(CSession&&) noexcept = default;

std::span<const unsigned char> CSession::Bytes(std::size_t nIndex,
                                               std::vector<unsigned char>& scratch) const {
    if (nIndex >= m_msgs.size() || m_bPartial) return {};
    const SSessionMsg& m = m_msgs[nIndex];
    const auto At = [this](std::uint64_t nWhere) {
        return nWhere & kOwnStoreBit ? m_own.data() + (nWhere & ~kOwnStoreBit)
                                     : m_pSource->Data() + nWhere;
    };
    if (!(m.nFlags & SSessionMsg::kPieces)) return {At(m.nWhere), m.nSize};
    scratch.clear();
    for (std::size_t k = m.nWhere; scratch.size() < m.nSize && k < m_pieces.size(); ++k) {
        const unsigned char* p = At(m_pieces[k].nWhere);
        scratch.insert(scratch.end(), p, p + m_pieces[k].nSize);
    }
    return scratch;
}

void CSession::Runs(std::size_t nIndex, std::vector<SByteRun>& runs) const {
    runs.clear();
    if (nIndex >= m_msgs.size() || m_bPartial) return;
    const std::span<const unsigned char> source(m_pSource->Data(), m_pSource->Size());
    const std::span<const unsigned char> own(m_own);
    const auto Run = [&](std::uint64_t nWhere, std::size_t nSize) {
        const bool bOwn = nWhere & kOwnStoreBit;
        const std::span<const unsigned char> store = bOwn ? own : source;
        runs.push_back({store.subspan(nWhere & ~kOwnStoreBit, nSize), store});
    };
    const SSessionMsg& m = m_msgs[nIndex];
    if (!(m.nFlags & SSessionMsg::kPieces)) return Run(m.nWhere, m.nSize);
    std::size_t nDone = 0;
    for (std::size_t k = m.nWhere; nDone < m.nSize && k < m_pieces.size(); ++k) {
        Run(m_pieces[k].nWhere, m_pieces[k].nSize);
        nDone += m_pieces[k].nSize;
    }
}

void CSession::AppendFound(SSessionFound found) {
    m_bPartial = true;
    m_bTimesOfDay = found.bTimesOfDay;
    m_msgs.insert(m_msgs.end(), found.msgs.begin(), found.msgs.end());
    for (SSessionFlow& flow : found.flows) m_flows.push_back(std::move(flow));
    for (std::string& str : found.notes) m_notes.push_back(std::move(str));
}

std::int64_t CSession::LatencyMicros(std::size_t nIndex) const {
    if (nIndex >= m_msgs.size() || !m_msgs[nIndex].nReplyTo) return -1;
    const std::int64_t nFrom = m_msgs[m_msgs[nIndex].nReplyTo - 1].nMicros;
    const std::int64_t nTo = m_msgs[nIndex].nMicros;
    if (!Known(nFrom) || !Known(nTo) || nTo < nFrom) return -1;
    return nTo - nFrom;
}

std::string CSession::MessageName(std::size_t nIndex) const {
    if (nIndex >= m_msgs.size()) return {};
    const SSessionMsg& m = m_msgs[nIndex];
    if (IsControl(m)) {
        const char* szName = HsmsSTypeName(m.nSType);
        return szName ? szName : "SType " + DecimalText(m.nSType);
    }
    return "S" + DecimalText(m.nStream) + "F" + DecimalText(m.nFunction) + (m.Wait() ? "W" : "");
}

// One pass in source order: a primary waits under its connection and system
// bytes until a reply of its stream answers it; a later primary with the same
// key takes its place (the earlier one stays unanswered).
void CSession::SetT3(std::int64_t nT3Micros) {
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> open;
    std::map<std::uint32_t, std::int64_t> lastTime;  // per connection: when the source ends
    for (SSessionMsg& m : m_msgs) {
        m.nReplyTo = m.nReplyBy = 0;
        const std::uint32_t nConn = m_flows.empty() ? 0 : m_flows[m.nFlow].nConnection;
        if (Known(m.nMicros)) lastTime[nConn] = std::max(lastTime[nConn], m.nMicros);
    }
    for (std::uint32_t i = 0; i < m_msgs.size(); ++i) {
        SSessionMsg& m = m_msgs[i];
        const std::uint32_t nConn = m_flows.empty() ? 0 : m_flows[m.nFlow].nConnection;
        const auto key = std::make_pair(nConn, m.dwSystem);
        if (IsPrimary(m)) {
            open[key] = i;
        } else if (IsReply(m)) {
            auto it = open.find(key);
            if (it != open.end() && Answers(m, m_msgs[it->second])) {
                m.nReplyTo = it->second + 1;
                m_msgs[it->second].nReplyBy = i + 1;
                open.erase(it);
            }
        }
    }
    for (std::size_t i = 0; i < m_msgs.size(); ++i) {
        SSessionMsg& m = m_msgs[i];
        const std::uint32_t nConn = m_flows.empty() ? 0 : m_flows[m.nFlow].nConnection;
        if (m.nFlags & SSessionMsg::kBadBody) {
            m.eStatus = EMsgStatus::kDamaged;
        } else if (IsControl(m)) {
            m.eStatus = EMsgStatus::kControl;
        } else if (m.nStream == 9) {
            m.eStatus = EMsgStatus::kS9Error;
        } else if (m.nReplyTo) {
            m.eStatus =
                m_msgs[m.nReplyTo - 1].Wait() ? EMsgStatus::kNone : EMsgStatus::kReplyToNoWait;
        } else if (m.nReplyBy) {
            const std::int64_t nLatency = LatencyMicros(m.nReplyBy - 1);
            m.eStatus =
                m.Wait() && nLatency > nT3Micros ? EMsgStatus::kUnanswered : EMsgStatus::kAnswered;
        } else if (IsReply(m)) {
            m.eStatus = EMsgStatus::kOrphanReply;
        } else if (m.Wait()) {
            const bool bExpired = Known(m.nMicros) && lastTime[nConn] - m.nMicros > nT3Micros;
            m.eStatus = bExpired ? EMsgStatus::kUnanswered : EMsgStatus::kOpen;
        } else {
            m.eStatus = EMsgStatus::kNone;
        }
    }
}

// Today's decoder: findings beyond the header make the message damaged.
bool IsDamagedBody(const unsigned char* pData, std::size_t nSize) {
    if (nSize < 10 || nSize > UINT_MAX) return true;
    return !IsCleanDoc(DecodeMsgDoc(std::vector<unsigned char>(pData, pData + nSize)));
}
