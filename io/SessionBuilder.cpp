#include "io/SessionBuilder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "decode/HeaderFields.h"
#include "io/SessionSource.h"

namespace {

constexpr std::size_t kHeaderSize = 10;

}  // namespace

CSessionBuilder::CSessionBuilder(CSession& session, ESourceKind eKind) : m_session(session) {
    m_session = CSession();
    m_session.m_pSource = std::make_unique<CSession::CSource>();
    m_session.m_eKind = eKind;
    Flow("", "", EMsgDirection::kUnknown, 1);  // flow 0: a source that does not say
}

void CSessionBuilder::SetSource(std::vector<unsigned char> bytes) {
    m_session.m_pSource->m_bytes = std::move(bytes);
}

// Only a regular file is mapped, and never more than fstat says it holds.
bool CSessionBuilder::MapSource(const std::string& strPath, std::string& strError) {
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        strError = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        strError = S_ISDIR(st.st_mode) ? "Is a directory" : "not a regular file";
        ::close(fd);
        return false;
    }
    const std::size_t nSize = static_cast<std::size_t>(st.st_size);
    if (nSize) {
        void* p = ::mmap(nullptr, nSize, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p == MAP_FAILED) {
            strError = std::strerror(errno);
            ::close(fd);
            return false;
        }
        ::madvise(p, nSize, MADV_SEQUENTIAL);
        m_session.m_pSource->m_pMap = p;
        m_session.m_pSource->m_nMap = nSize;
    }
    ::close(fd);
    return true;
}

// Untouched reserved pages cost no memory; growing a vector of a million
// records would briefly hold it twice.
void CSessionBuilder::Reserve(std::size_t nMsgs, std::size_t nPieces) {
    m_session.m_msgs.reserve(nMsgs);
    m_session.m_pieces.reserve(nPieces);
}

const unsigned char* CSessionBuilder::Data() const { return m_session.m_pSource->Data(); }
std::size_t CSessionBuilder::Size() const { return m_session.m_pSource->Size(); }

std::uint16_t CSessionBuilder::Flow(const std::string& strFrom, const std::string& strTo,
                                    EMsgDirection eDir, std::uint32_t nConnection) {
    std::string strKey = strFrom + '\n' + strTo + '\n';
    strKey += static_cast<char>(eDir);
    strKey.append(reinterpret_cast<const char*>(&nConnection), sizeof nConnection);
    auto [it, bNew] = m_flowIndex.try_emplace(strKey, 0);
    if (bNew) {
        // More flows than the record can name share the last one.
        if (m_session.m_flows.size() >= 0xFFFF) return it->second = 0xFFFF - 1;
        it->second = static_cast<std::uint16_t>(m_session.m_flows.size());
        m_session.m_flows.push_back({strFrom, strTo, eDir, nConnection});
    }
    return it->second;
}

std::uint64_t CSessionBuilder::Where(const unsigned char* p) const {
    const std::vector<unsigned char>& own = m_session.m_own;
    if (!own.empty() && p >= own.data() && p <= own.data() + own.size())
        return kOwnStoreBit | static_cast<std::uint64_t>(p - own.data());
    return static_cast<std::uint64_t>(p - Data());
}

void CSessionBuilder::Fill(SSessionMsg& m, const unsigned char* pHead, std::size_t nHead,
                           const SFoundFacts& facts) {
    const SHeaderFields h = ReadHeaderFields(pHead, nHead);
    const bool bHsms = facts.nFraming & SSessionMsg::kHsms;
    m.nMicros = facts.nMicros;
    m.nFlow = facts.nFlow;
    m.nLine = facts.nLine;
    m.dwSystem = h.dwSystemBytes;
    m.nDevice = static_cast<std::uint16_t>(bHsms ? h.nSessionId : h.nDeviceId);
    m.nStream = static_cast<std::uint8_t>(h.nStream);
    m.nFunction = static_cast<std::uint8_t>(h.nFunction);
    m.nSType = static_cast<std::uint8_t>(bHsms ? h.nSType & 0x0F : 0) & 0x0F;
    m.nFlags |= facts.nFraming;
    if (facts.bDoubtful) m.nFlags |= SSessionMsg::kDoubtful;
    if (h.bWBit && !(bHsms && h.nSType)) m.nFlags |= SSessionMsg::kWait;
    if (!facts.strNote.empty()) {
        auto [it, bNew] = m_noteIndex.try_emplace(std::string(facts.strNote), 0);
        if (bNew) {
            m_session.m_notes.emplace_back(facts.strNote);
            it->second = static_cast<std::uint32_t>(m_session.m_notes.size());
        }
        m.nNote = it->second;
    }
    m_session.m_msgs.push_back(m);
}

void CSessionBuilder::Add(std::span<const unsigned char> bytes, const SFoundFacts& facts) {
    SSessionMsg m;
    m.nWhere = Where(bytes.data());
    m.nSize = static_cast<std::uint32_t>(bytes.size());
    if (m.nWhere & kOwnStoreBit) m.nFlags = SSessionMsg::kOwned;
    Fill(m, bytes.data(), bytes.size(), facts);
}

void CSessionBuilder::Add(std::span<const std::span<const unsigned char>> pieces,
                          const SFoundFacts& facts) {
    if (pieces.size() == 1) return Add(pieces.front(), facts);
    SSessionMsg m;
    m.nFlags = SSessionMsg::kPieces;
    m.nWhere = m_session.m_pieces.size();
    unsigned char head[kHeaderSize] = {};
    std::size_t nHead = 0;
    for (const std::span<const unsigned char>& piece : pieces) {
        for (std::size_t k = 0; k < piece.size() && nHead < kHeaderSize; ++k)
            head[nHead++] = piece[k];
        const std::uint64_t nWhere = Where(piece.data());
        if (nWhere & kOwnStoreBit) m.nFlags |= SSessionMsg::kOwned;
        m_session.m_pieces.push_back({nWhere, static_cast<std::uint32_t>(piece.size())});
        m.nSize += static_cast<std::uint32_t>(piece.size());
    }
    Fill(m, head, nHead, facts);
}

void CSessionBuilder::Warn(std::string strText, std::int64_t nMicros, std::uint32_t nLine) {
    m_session.m_warnings.push_back({nMicros, nLine, std::move(strText)});
}

void CSessionBuilder::Publish(const FSessionFound& fnFound) {
    const CSession& s = m_session;
    if (s.m_msgs.size() == m_nMsgsPublished && s.m_flows.size() == m_nFlowsPublished &&
        s.m_notes.size() == m_nNotesPublished)
        return;
    SSessionFound found;
    found.msgs.assign(s.m_msgs.begin() + static_cast<std::ptrdiff_t>(m_nMsgsPublished),
                      s.m_msgs.end());
    found.flows.assign(s.m_flows.begin() + static_cast<std::ptrdiff_t>(m_nFlowsPublished),
                       s.m_flows.end());
    found.notes.assign(s.m_notes.begin() + static_cast<std::ptrdiff_t>(m_nNotesPublished),
                       s.m_notes.end());
    found.bTimesOfDay = s.m_bTimesOfDay;
    m_nMsgsPublished = s.m_msgs.size();
    m_nFlowsPublished = s.m_flows.size();
    m_nNotesPublished = s.m_notes.size();
    fnFound(std::move(found));
}

void CSessionBuilder::Finish(const CSessionOptions& opts) {
    // A stream found only at the end of a capture, or across a gap, gives its
    // messages late: the index is in time order.
    std::vector<SSessionMsg>& msgs = m_session.m_msgs;
    const auto Earlier = [](const SSessionMsg& a, const SSessionMsg& b) {
        return a.nMicros < b.nMicros;
    };
    const bool bPackets =
        m_session.m_eKind == ESourceKind::kCapture || m_session.m_eKind == ESourceKind::kPacketDump;
    if (bPackets && !std::is_sorted(msgs.begin(), msgs.end(), Earlier))
        std::stable_sort(msgs.begin(), msgs.end(), Earlier);
    if (opts.bCheckBodies) {
        std::vector<unsigned char> scratch;
        for (std::size_t i = 0; i < m_session.m_msgs.size(); ++i) {
            SSessionMsg& m = m_session.m_msgs[i];
            m.nFlags |= SSessionMsg::kChecked;
            if ((m.nFlags & SSessionMsg::kHsms) && m.nSType) continue;  // no body
            const std::span<const unsigned char> bytes = m_session.Bytes(i, scratch);
            if (IsDamagedBody(bytes.data(), bytes.size())) m.nFlags |= SSessionMsg::kBadBody;
        }
    }
    m_session.SetT3(opts.nT3Micros);
}
