#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "io/SessionIndex.h"

// What a reader knows of one message besides its bytes.
struct SFoundFacts {
    std::int64_t nMicros = SSessionMsg::kNoTime;
    std::uint16_t nFlow = 0;
    std::uint8_t nFraming = 0;  // SSessionMsg::kHsms or kSecsI, else 0
    std::uint32_t nLine = 0;
    std::string_view strNote;  // stripped framing, doubts; empty for none
    bool bDoubtful = false;    // the note holds a doubt
};

// Fills a CSession while a reader walks its source. Bytes are named by
// pointers into the source or the own store; the builder turns them into
// offsets. The own store must not grow while pointers into it are held:
// readers convert all text first (Keep), then index.
class CSessionBuilder {
public:
    CSessionBuilder(CSession& session, ESourceKind eKind);

    // The source: a mapped file or bytes handed over; the session keeps it.
    void SetSource(std::vector<unsigned char> bytes);
    bool MapSource(const std::string& strPath, std::string& strError);
    const unsigned char* Data() const;
    std::size_t Size() const;

    void SetKind(ESourceKind eKind) { m_session.m_eKind = eKind; }
    void SetTimesOfDay(bool b) { m_session.m_bTimesOfDay = b; }
    std::vector<unsigned char>& Own() { return m_session.m_own; }
    // Room for this many records and pieces, so that they never move.
    void Reserve(std::size_t nMsgs, std::size_t nPieces);

    std::uint16_t Flow(const std::string& strFrom, const std::string& strTo, EMsgDirection eDir,
                       std::uint32_t nConnection);
    void Add(std::span<const std::span<const unsigned char>> pieces, const SFoundFacts& facts);
    void Add(std::span<const unsigned char> bytes, const SFoundFacts& facts);
    void Warn(std::string strText, std::int64_t nMicros = SSessionMsg::kNoTime,
              std::uint32_t nLine = 0);

    // Hands fnFound copies of what was added since the last call; nothing
    // when nothing was.
    void Publish(const FSessionFound& fnFound);

    // Pairs replies, sets every status, and checks bodies when asked.
    void Finish(const CSessionOptions& opts);

private:
    std::uint64_t Where(const unsigned char* p) const;
    void Fill(SSessionMsg& msg, const unsigned char* pHead, std::size_t nHead,
              const SFoundFacts& facts);

    CSession& m_session;
    std::unordered_map<std::string, std::uint16_t> m_flowIndex;
    std::unordered_map<std::string, std::uint32_t> m_noteIndex;
    std::size_t m_nMsgsPublished = 0;
    std::size_t m_nFlowsPublished = 0;
    std::size_t m_nNotesPublished = 0;
};
