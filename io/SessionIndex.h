#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A session: an index over one source (a capture, a text log, a folder of
// message files, one message file) that stays where it is. Per message the
// index holds a small fixed record; the message's bytes are read from the
// source when asked, or from the session's own store where the source had to
// be reassembled (TCP segments) or converted (hex and SML text).

// What the message is in its conversation.
enum class EMsgStatus : std::uint8_t {
    kNone,           // a paired reply, or a primary that asks for none
    kAnswered,       // a primary whose reply came
    kOpen,           // a primary with the W-bit whose reply the source does not hold
                     // and whose T3 had not run out when the source ends
    kUnanswered,     // a primary with the W-bit, no reply within T3
    kOrphanReply,    // a reply without a primary
    kReplyToNoWait,  // a reply to a primary without the W-bit
    kS9Error,        // stream 9: the other side reports an error
    kDamaged,        // the bytes do not decode cleanly
    kControl,        // an HSMS control message (Select, Linktest, ...)
};

// The word --list and --filter use: "answered", "unanswered", "orphan", ...
const char* MsgStatusWord(EMsgStatus eStatus);
// False for a word that names no status.
bool FindMsgStatus(std::string_view strWord, EMsgStatus& eStatus);

enum class EMsgDirection : std::uint8_t {
    kUnknown,
    kOut,  // the logging side sends ("SEND", "Out", "H->E", ">")
    kIn,   // the logging side receives
};

// One direction of one conversation, interned: every message of it shares one.
struct SSessionFlow {
    std::string strFrom;  // "10.0.0.1:40000"; empty when the source does not say
    std::string strTo;
    EMsgDirection eDirection = EMsgDirection::kUnknown;
    std::uint32_t nConnection = 0;  // replies answer within one connection; 1, 2, ...
};

// Fixed-size record of one message: 48 bytes.
struct SSessionMsg {
    enum : std::uint8_t {
        kWait = 1,       // W-bit
        kPieces = 2,     // bytes in several pieces: nWhere is the index of the first
        kOwned = 4,      // bytes (all or some pieces) in the session's own store, not the source
        kHsms = 8,       // came in HSMS framing (nSType is meaningful)
        kSecsI = 16,     // came in SECS-I blocks
        kChecked = 32,   // the body was decoded for the damaged status
        kBadBody = 64,   // and found damaged
        kDoubtful = 128  // the framing note (nNote) holds a doubt, not only what was stripped
    };
    // Offset of the bytes in the source, or with the top bit set in the own
    // store; with kPieces the index of the first SSessionPiece.
    std::uint64_t nWhere = 0;
    std::int64_t nMicros = kNoTime;
    std::uint32_t nSize = 0;  // bytes of the message as a .BIG holds them: header and body
    std::uint32_t dwSystem = 0;
    std::uint32_t nReplyTo = 0;  // index + 1 of the message this one answers; 0 none
    std::uint32_t nReplyBy = 0;  // index + 1 of the message answering this one; 0 none
    std::uint32_t nNote = 0;     // index + 1 into CSession::Notes(); 0 none
    std::uint32_t nLine = 0;     // text sources: line of the first byte; 0 otherwise
    std::uint16_t nDevice = 0;   // bytes 0-1: device id (SECS-I, without the R-bit) or session id
    std::uint16_t nFlow = 0;     // index into CSession::Flows()
    std::uint8_t nStream = 0;
    std::uint8_t nFunction = 0;
    std::uint8_t nFlags = 0;
    std::uint8_t nSType : 4 = 0;  // HSMS session type (0 to 9); 0 a data message
    EMsgStatus eStatus : 4 = EMsgStatus::kNone;

    static constexpr std::int64_t kNoTime = INT64_MIN;
    bool Wait() const { return nFlags & kWait; }
};

// A part of a message's bytes (the messages with kPieces).
struct SSessionPiece {
    std::uint64_t nWhere = 0;  // top bit set: in the own store
    std::uint32_t nSize = 0;
};

// Something about the source rather than one message: skipped bytes, gaps,
// lines that did not read.
struct SSessionWarning {
    std::int64_t nMicros = SSessionMsg::kNoTime;  // when, where the source says
    std::uint32_t nLine = 0;                      // text sources: the line; 0 otherwise
    std::string strText;
};

enum class ESourceKind : std::uint8_t { kCapture, kPacketDump, kHexLog, kSmlLog, kFolder, kFile };

// Records handed over while a source is read, so that they can be shown
// before the index is finished. The records are final as to what the
// message is (time, flow, SxFy, W-bit, system bytes, size, framing), not as
// to where it ends up or how it stands: the finished index may sort a
// capture's messages by time, and it alone pairs replies and sets statuses.
struct SSessionFound {
    std::vector<SSessionMsg> msgs;    // found since the last hand-over, in the order found
    std::vector<SSessionFlow> flows;  // flows and notes new since the last hand-over
    std::vector<std::string> notes;
    bool bTimesOfDay = false;
};
// Called on the reading thread with copies, which the receiver may keep.
using FSessionFound = std::function<void(SSessionFound found)>;

struct CSessionOptions {
    int nPort = -1;  // captures: only TCP streams with this port; -1 any stream that frames as HSMS
    std::int64_t nT3Micros = 45'000'000;  // reply timeout for kUnanswered
    bool bCheckBodies = true;             // decode every body once for kDamaged
    FSessionFound fnFound;  // when set: records handed over whenever progress is reported
};

// Called now and then while a source is read: bytes done of bytes in all.
// Returning false cancels; the open then fails with "cancelled".
using FSessionProgress = std::function<bool(std::uint64_t nDone, std::uint64_t nTotal)>;

class CSession {
public:
    CSession();
    ~CSession();
    CSession(CSession&&) noexcept;
    CSession& operator=(CSession&&) noexcept;

    // In source order; a capture's in time order.
    const std::vector<SSessionMsg>& Messages() const { return m_msgs; }
    const std::vector<SSessionFlow>& Flows() const { return m_flows; }
    const std::vector<std::string>& Notes() const { return m_notes; }
    const std::vector<SSessionWarning>& Warnings() const { return m_warnings; }
    ESourceKind Kind() const { return m_eKind; }
    // True when the times are times of day (a log without dates): µs since midnight.
    bool TimesOfDay() const { return m_bTimesOfDay; }

    // The message's bytes: a view into the source or the own store when they
    // lie in one run, else gathered into scratch. Empty for a bad index.
    std::span<const unsigned char> Bytes(std::size_t nIndex,
                                         std::vector<unsigned char>& scratch) const;
    // The runs the message's bytes lie in, in order (one unless kPieces),
    // each with the whole store it lies in: the source or the own store.
    struct SByteRun {
        std::span<const unsigned char> bytes;
        std::span<const unsigned char> store;
    };
    void Runs(std::size_t nIndex, std::vector<SByteRun>& runs) const;
    // µs from the primary to this reply; -1 when not a reply or a time is unknown.
    std::int64_t LatencyMicros(std::size_t nIndex) const;
    // "S1F1W" or "Select.req".
    std::string MessageName(std::size_t nIndex) const;

    // Pairs replies with primaries and sets every status again, with this T3.
    void SetT3(std::int64_t nT3Micros);

    // A session shown while its source is read: the records handed over so
    // far, without bytes (Bytes and Runs give none), replies or statuses.
    bool Partial() const { return m_bPartial; }
    void AppendFound(SSessionFound found);

private:
    friend class CSessionBuilder;
    struct CSource;
    std::unique_ptr<CSource> m_pSource;  // the mapped file, or bytes handed over
    std::vector<unsigned char> m_own;
    std::vector<SSessionPiece> m_pieces;
    std::vector<SSessionMsg> m_msgs;
    std::vector<SSessionFlow> m_flows;
    std::vector<std::string> m_notes;
    std::vector<SSessionWarning> m_warnings;
    ESourceKind m_eKind = ESourceKind::kFile;
    bool m_bTimesOfDay = false;
    bool m_bPartial = false;
};

// Opens strPath as a session: a pcap or pcapng capture, a folder of .BIG
// files, a text log (hex in any layout ReadHexText knows, packet dumps of
// tcpdump -X/-XX and tshark -x, SML logs) or one message file; told apart
// by content. False with a short reason when nothing can be read; a source
// that reads at all gives a session, perhaps empty, with its warnings.
bool OpenSession(const std::string& strPath, const CSessionOptions& opts, CSession& session,
                 std::string& strError, const FSessionProgress& progress = {});

// True when bytes named strName would open as a capture or a text log
// rather than as one message file (a name ending in .BIG is a message file).
bool IsSessionSource(const std::string& strName, const unsigned char* p, std::size_t n);

// The same for bytes already in memory, which the session takes over.
bool SessionFromBytes(std::vector<unsigned char> bytes, const CSessionOptions& opts,
                      CSession& session, std::string& strError,
                      const FSessionProgress& progress = {});

// True when the decoder finds the message damaged. The one place that asks
// the decoder for the session's kDamaged status.
bool IsDamagedBody(const unsigned char* pData, std::size_t nSize);
