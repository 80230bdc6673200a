#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "io/SessionBuilder.h"

// Direction and endpoints a log line names: "SEND", "Recv", "In", "Out",
// ">", "<-", "H->E", "[10.0.0.1:5000 -> 10.0.0.2:40000]". nFlow is the
// builder's flow for them (connection 1: a log is one conversation).
std::uint16_t LogLineFlow(CSessionBuilder& builder, std::string_view strLine);

// What LogLineFlow reads from a line, as views into it or into fixed text.
struct SLineFlow {
    std::string_view strFrom;
    std::string_view strTo;
    EMsgDirection eDirection = EMsgDirection::kUnknown;
};
SLineFlow LineFlowOf(std::string_view strLine);

// LogLineFlow with the builder's flows of the last few lines kept: most lines
// of a log share a handful of labels ("SEND", "RECV") and directions. Of
// looks a label up as it is; OfLine reads the line, then looks its flow up.
class CFlowCache {
public:
    explicit CFlowCache(CSessionBuilder& builder) : m_builder(builder) {}
    std::uint16_t Of(std::string_view strLine);
    std::uint16_t OfLine(std::string_view strLine);

private:
    static constexpr std::size_t kSize = 8;
    struct SLabel {
        std::string strLine;
        std::uint16_t nFlow;
    };
    struct SEntry {
        std::string strFrom;
        std::string strTo;
        EMsgDirection eDirection;
        std::uint16_t nFlow;
    };
    CSessionBuilder& m_builder;
    std::vector<SLabel> m_entries;
    std::vector<SEntry> m_flows;
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
