#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "io/SessionClock.h"
#include "io/SessionIndex.h"

// What a column's text is made from: the session, the zone times are shown
// in and the rows on show (the delta column looks at the row before).
struct SSessionView {
    const CSession* pSession = nullptr;
    const std::vector<std::uint32_t>* pRows = nullptr;
    SSessionZone zone;
    // Per message: what the session's dictionary names it ("S6F11 LotStarted"),
    // shown in the name column where not empty; null: none learned.
    const std::vector<std::string>* pSummaries = nullptr;
};

// One column of the message list: its title and how a cell's text is made.
struct SSessionColumn {
    const char* szTitle;
    QString (*fnText)(const SSessionView& view, std::size_t nRow, std::size_t nIndex);
    bool bRight;           // numbers are aligned right
    const char* szSample;  // the widest text usually seen: the starting width
};

// Every column, left to right.
const std::vector<SSessionColumn>& SessionColumns();
// The column the zone is named in ("Time (UTC+01:00)").
constexpr int kTimeColumn = 1;
constexpr int kDirectionColumn = 3;
