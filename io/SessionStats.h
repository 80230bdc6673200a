#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "io/SessionIndex.h"

// Reply latencies of one kind of primary, in µs; all -1 when none was answered.
struct SLatencySummary {
    std::int64_t nMin = -1;
    std::int64_t nMedian = -1;  // nearest rank: the lower middle of an even count
    std::int64_t nP95 = -1;     // nearest rank: the smallest value at or above 95 %
    std::int64_t nMax = -1;
    std::uint32_t nCount = 0;
};

// One row of the statistics: the messages of one SxFy, or of one HSMS
// control type (nSType != 0).
struct SSxFyStats {
    int nStream = 0;
    int nFunction = 0;
    int nSType = 0;
    std::uint32_t nCount = 0;
    std::uint32_t nUnanswered = 0;
    SLatencySummary latency;  // of the replies to these messages
};

struct SSessionStats {
    std::vector<SSxFyStats> rows;  // by control type, then stream, then function
    std::uint32_t nMessages = 0;
    std::uint32_t nUnanswered = 0;
    std::uint32_t nS9 = 0;
    std::uint32_t nDamaged = 0;
};

// Summary of the given latencies (any order; the vector is sorted in place).
SLatencySummary SummariseLatencies(std::vector<std::int64_t>& latencies);

// fnLatency(i): µs from message i's primary to message i, -1 when i is not
// a timed reply (CSession::LatencyMicros). Latencies count for the primary's SxFy.
using FLatency = std::function<std::int64_t(std::size_t)>;
SSessionStats ComputeSessionStats(const std::vector<SSessionMsg>& msgs, const FLatency& fnLatency);
