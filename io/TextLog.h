#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "io/SessionBuilder.h"

// Direction and endpoints a log line names: "SEND", "Recv", "In", "Out",
// ">", "<-", "H->E", "[10.0.0.1:5000 -> 10.0.0.2:40000]". nFlow is the
// builder's flow for them (connection 1: a log is one conversation).
std::uint16_t LogLineFlow(CSessionBuilder& builder, std::string_view strLine);

// LogLineFlow of the last few distinct lines: most lines of a log share a
// handful of labels ("SEND", "RECV").
class CFlowCache {
public:
    explicit CFlowCache(CSessionBuilder& builder) : m_builder(builder) {}
    std::uint16_t Of(std::string_view strLine);

private:
    static constexpr std::size_t kSize = 8;
    struct SEntry {
        std::string strLine;
        std::uint16_t nFlow;
    };
    CSessionBuilder& m_builder;
    std::vector<SEntry> m_entries;
};

// Indexes a hex log: every message of ReadHexText's blocks, framing
// stripped, times and directions from the lines. Runs shorter than a
// header are passed over and counted in a warning. Where a block's message
// does not decode cleanly, the other readings of its lines are tried (framing
// kept, an offset column, none) and the first whose every message decodes
// cleanly is taken, with a note; else the first reading stays. progress
// hears of the bytes read.
void IndexHexLog(CSessionBuilder& builder, std::string_view text,
                 const FSessionProgress& progress = {});
