#include "io/SessionStats.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

// Nearest rank: the value at rank ceil(p * n), ranks counted from 1.
std::int64_t NearestRank(const std::vector<std::int64_t>& sorted, int nPercent) {
    const std::size_t nRank = (sorted.size() * static_cast<std::size_t>(nPercent) + 99) / 100;
    return sorted[std::max<std::size_t>(nRank, 1) - 1];
}

using FKey = std::tuple<int, int, int>;  // control type, stream, function

FKey KeyOf(const SSessionMsg& m) {
    return m.nSType != 0 ? FKey{m.nSType, 0, 0} : FKey{0, m.nStream, m.nFunction};
}

}  // namespace

SLatencySummary SummariseLatencies(std::vector<std::int64_t>& latencies) {
    SLatencySummary s;
    if (latencies.empty()) return s;
    std::sort(latencies.begin(), latencies.end());
    s.nMin = latencies.front();
    s.nMax = latencies.back();
    s.nMedian = NearestRank(latencies, 50);
    s.nP95 = NearestRank(latencies, 95);
    s.nCount = static_cast<std::uint32_t>(latencies.size());
    return s;
}

SSessionStats ComputeSessionStats(const std::vector<SSessionMsg>& msgs, const FLatency& fnLatency) {
    SSessionStats stats;
    std::map<FKey, std::pair<SSxFyStats, std::vector<std::int64_t>>> groups;
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        const SSessionMsg& m = msgs[i];
        auto& [row, latencies] = groups[KeyOf(m)];
        ++row.nCount;
        row.nSType = m.nSType;
        row.nStream = m.nSType != 0 ? 0 : m.nStream;
        row.nFunction = m.nSType != 0 ? 0 : m.nFunction;
        if (m.eStatus == EMsgStatus::kUnanswered) ++row.nUnanswered, ++stats.nUnanswered;
        if (m.eStatus == EMsgStatus::kS9Error) ++stats.nS9;
        if (m.eStatus == EMsgStatus::kDamaged) ++stats.nDamaged;
        const std::int64_t nLatency = fnLatency(i);
        if (nLatency < 0 || m.nReplyTo == 0 || m.nReplyTo > msgs.size()) continue;
        groups[KeyOf(msgs[m.nReplyTo - 1])].second.push_back(nLatency);
    }
    stats.nMessages = static_cast<std::uint32_t>(msgs.size());
    for (auto& [key, group] : groups) {
        group.first.latency = SummariseLatencies(group.second);
        stats.rows.push_back(group.first);
    }
    return stats;
}
