#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/SessionClock.h"
#include "io/SessionStats.h"

namespace {

// Nearest rank: the value at rank ceil(p/100 * n) of the sorted values.
TEST(SessionStats, LatencySummaryByNearestRank) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> latencies;
        SLatencySummary expected;  // min, median, p95, max, count
    };
    const Case kCases[] = {
        {"none", {}, {-1, -1, -1, -1, 0}},
        {"one", {7}, {7, 7, 7, 7, 1}},
        {"even count: lower middle", {40, 10, 30, 20}, {10, 20, 40, 40, 4}},
        {"twenty: p95 is the 19th",
         {20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
         {1, 10, 19, 20, 20}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int64_t> latencies = c.latencies;
        const SLatencySummary s = SummariseLatencies(latencies);
        EXPECT_EQ(std::vector<std::int64_t>({s.nMin, s.nMedian, s.nP95, s.nMax, s.nCount}),
                  std::vector<std::int64_t>({c.expected.nMin, c.expected.nMedian, c.expected.nP95,
                                             c.expected.nMax, c.expected.nCount}));
    }
}

TEST(SessionClock, TextsOfTimesAndSpans) {
    const SSessionZone utc = MakeSessionZone(true, false, 0);
    SSessionZone behind = utc;
    behind.bUtc = false;
    behind.nOffsetMicros = -5LL * 3600 * 1000000;  // UTC-05:00, set by hand: no TZ needed
    const SSessionZone ofDay = MakeSessionZone(true, true, 0);
    struct Case {
        const char* name;
        std::string text;
        const char* expected;
    };
    const Case kCases[] = {
        {"epoch", SessionTimeText(0, utc), "1970-01-01 00:00:00.000000"},
        {"before the epoch", SessionTimeText(-1, utc), "1969-12-31 23:59:59.999999"},
        {"leap day", SessionTimeText(951782400000000LL + 1, utc), "2000-02-29 00:00:00.000001"},
        {"local, day before", SessionTimeText(3600000000LL, behind), "1969-12-31 20:00:00.000000"},
        {"time of day", SessionTimeText(45296789012LL, ofDay), "12:34:56.789012"},
        {"zone name", ZoneText(behind), "UTC-05:00"},
        {"delta", SecondsText(250), "+0.000250"},
        {"negative delta", SecondsText(-1500000), "-1.500000"},
        {"latency in microseconds", LatencyText(999), "999 \xC2\xB5s"},
        {"latency in milliseconds", LatencyText(1234567), "1234.567 ms"},
        {"latency in seconds, half up", LatencyText(45000500), "45.001 s"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, c.expected);
    }
}

}  // namespace
