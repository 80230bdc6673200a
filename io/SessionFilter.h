#pragma once
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "io/SessionClock.h"
#include "io/SessionIndex.h"

// The filter of the session window and of brevix-dump --list: terms
// separated by blanks or commas.
//   S6F11  S1F*  S*F1  S9  S6F11W   messages by stream and function (W: wait bit set)
//   unanswered  damaged  control    statuses, the words of MsgStatusWord
//   10:00..10:05:30  2026-12-07T10:00..   a time range in the zone shown, its sides
//                                   written as a log writes times; a side may be empty
//   "LOT1"                          these bytes somewhere in the message
//   Linktest  ERS  "Event Report"   any other word: a part of the message's name
//   CEID=4001  RPTID=10  ALID=7     an item of that role and id (SVID, VID, ECID, CEID,
//                                   RPTID, ALID, PPID), as the message's structure places it
// Terms of one kind widen, kinds narrow: "S6F11 S1F* unanswered" keeps the
// S6F11 and S1Fy messages that are unanswered. Names and texts are one kind:
// a quoted "Event Report" finds that name or those bytes.
class CSessionFilter {
public:
    // False with a one-line reason for a term that reads as none of these.
    bool Parse(const std::string& strExpr, const SSessionZone& zone, std::string& strError);
    bool Empty() const { return m_nKinds == 0; }

    // fnBytes gives the message's bytes; called only when a text term needs them.
    using FBytes = std::function<std::span<const unsigned char>()>;
    bool Matches(const SSessionMsg& msg, const FBytes& fnBytes) const;
    // The same with the text terms answered by fnHolds: true when the message
    // holds one of Texts(); fnBytes still serves the role terms.
    using FHolds = std::function<bool()>;
    bool MatchesHolding(const SSessionMsg& msg, const FHolds& fnHolds, const FBytes& fnBytes) const;
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    enum : unsigned { kMessage = 1, kStatus = 2, kTime = 4, kText = 8, kName = 16, kRole = 32 };
    struct SMsgPattern {
        int nStream = -1;  // -1: any
        int nFunction = -1;
        bool bWait = false;
    };
    struct STimeRange {
        std::int64_t nFrom = INT64_MIN;
        std::int64_t nTo = INT64_MAX;
        bool bOfDay = false;  // no date given: compared with the time of day
    };
    bool ParseTerm(const std::string& strTerm, bool bQuoted, std::string& strError);
    bool ParseTime(const std::string& strTerm, std::string& strError);
    bool AddName(const std::string& strWord);
    bool MatchesMessage(const SSessionMsg& msg) const;
    bool MatchesTime(const SSessionMsg& msg) const;
    bool MatchesName(const SSessionMsg& msg) const;
    bool MatchesText(std::span<const unsigned char> bytes) const;
    // CEID=4001: kind and id.
    struct SRoleTerm {
        std::string strRole;  // "CEID", as structures name the item
        std::string strId;    // as ItemIdText writes the item's value
    };
    bool ParseRole(const std::string& strTerm, std::string& strError);
    bool MatchesRole(const SSessionMsg& msg, std::span<const unsigned char> bytes) const;
    std::vector<SRoleTerm> m_roleTerms;

    unsigned m_nKinds = 0;
    SSessionZone m_zone;
    std::vector<SMsgPattern> m_msgs;
    std::bitset<16> m_statuses;
    std::vector<STimeRange> m_times;
    std::vector<std::string> m_texts;
    // Names matched, resolved once: data messages by stream * 256 + function,
    // control messages by session type.
    std::vector<bool> m_dataNames = std::vector<bool>(128 * 256);
    std::bitset<256> m_controlNames;
};

// Indexes of the session's messages the filter keeps, in order.
std::vector<std::uint32_t> FilterSession(const CSession& session, const CSessionFilter& filter);
