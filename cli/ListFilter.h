#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "io/SessionIndex.h"

// --filter EXPR: terms separated by blanks or commas. "S6F11", "S6F*",
// "S*F1", "S6" and a trailing "W" (wait bit required) name messages; status
// words ("unanswered", "damaged", ...) name statuses; "FROM..TO" is a time
// range (either side may be left out; times as a log writes them, UTC).
// Terms of one kind widen, kinds narrow: "S6F11 S1F* unanswered" is an S6F11
// or S1Fy that is unanswered.
class CListFilter {
public:
    // False with a reason for a term that is none of these.
    bool Parse(const std::string& strExpr, std::string& strError);
    bool Matches(const CSession& session, std::size_t nIndex) const;

private:
    struct SMsgPattern {
        int nStream = -1;  // -1: any
        int nFunction = -1;
        bool bWait = false;
    };
    std::vector<SMsgPattern> m_msgs;
    std::vector<EMsgStatus> m_statuses;
    bool m_bTime = false;
    std::int64_t m_nFrom = INT64_MIN;
    std::int64_t m_nTo = INT64_MAX;
    bool m_bTimeOfDay = false;  // the range gave no date: compared with the time of day
};
