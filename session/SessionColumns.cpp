#include "session/SessionColumns.h"

#include "render/HeaderText.h"
#include "render/NumberText.h"

namespace {

QString FromUtf8(const std::string& str) { return QString::fromUtf8(str.data(), str.size()); }

const SSessionMsg& Msg(const SSessionView& v, std::size_t nIndex) {
    return v.pSession->Messages()[nIndex];
}

QString Number(const SSessionView&, std::size_t, std::size_t nIndex) {
    return QString::number(nIndex + 1);
}

QString Time(const SSessionView& v, std::size_t, std::size_t nIndex) {
    return FromUtf8(SessionTimeText(Msg(v, nIndex).nMicros, v.zone));
}

QString Delta(const SSessionView& v, std::size_t nRow, std::size_t nIndex) {
    if (nRow == 0) return {};
    const std::int64_t nNow = Msg(v, nIndex).nMicros;
    const std::int64_t nBefore = Msg(v, (*v.pRows)[nRow - 1]).nMicros;
    if (nNow == SSessionMsg::kNoTime || nBefore == SSessionMsg::kNoTime) return {};
    return FromUtf8(SecondsText(nNow - nBefore));
}

// The arrow points the way the message went, from the logging side's view
// where the source says which side that is.
QString Direction(const SSessionView& v, std::size_t, std::size_t nIndex) {
    const SSessionFlow& f = v.pSession->Flows()[Msg(v, nIndex).nFlow];
    switch (f.eDirection) {
        case EMsgDirection::kOut:
            return QStringLiteral("\u2192 ") + FromUtf8(f.strTo.empty() ? "out" : f.strTo);
        case EMsgDirection::kIn:
            return QStringLiteral("\u2190 ") + FromUtf8(f.strFrom.empty() ? "in" : f.strFrom);
        default:
            if (f.strFrom.empty() && f.strTo.empty()) return {};
            return FromUtf8(f.strFrom) + QStringLiteral(" \u2192 ") + FromUtf8(f.strTo);
    }
}

QString Message(const SSessionView& v, std::size_t, std::size_t nIndex) {
    return FromUtf8(v.pSession->MessageName(nIndex));
}

QString Name(const SSessionView& v, std::size_t, std::size_t nIndex) {
    const SSessionMsg& m = Msg(v, nIndex);
    if (v.pSummaries && nIndex < v.pSummaries->size() && !(*v.pSummaries)[nIndex].empty())
        return FromUtf8((*v.pSummaries)[nIndex]);
    return m.nSType != 0 ? QString() : FromUtf8(MessageNameText(m.nStream, m.nFunction));
}

QString System(const SSessionView& v, std::size_t, std::size_t nIndex) {
    std::string str;
    AppendHex(str, Msg(v, nIndex).dwSystem, 8);
    return FromUtf8(str);
}

QString Size(const SSessionView& v, std::size_t, std::size_t nIndex) {
    return QString::number(Msg(v, nIndex).nSize);
}

QString Latency(const SSessionView& v, std::size_t, std::size_t nIndex) {
    return FromUtf8(LatencyText(v.pSession->LatencyMicros(nIndex)));
}

// A message's status needs the whole source: none while it is read.
QString Status(const SSessionView& v, std::size_t, std::size_t nIndex) {
    if (v.pSession->Partial()) return {};
    return QString::fromLatin1(MsgStatusWord(Msg(v, nIndex).eStatus));
}

}  // namespace

const std::vector<SSessionColumn>& SessionColumns() {
    static const std::vector<SSessionColumn> kColumns = {
        {"No.", Number, true, "1000000"},
        {"Time", Time, false, "2026-12-07 10:00:00.000000"},
        {"Delta", Delta, true, "+120.000000"},
        {"Direction", Direction, false, "\u2192 10.0.0.1:40000"},
        {"Message", Message, false, "Linktest.req"},
        {"Name", Name, false, "Event Report Send (ERS)"},
        {"System", System, false, "0x00000000"},
        {"Size", Size, true, "1000000"},
        {"Latency", Latency, true, "12.345 ms"},
        {"Status", Status, false, "unanswered"},
    };
    return kColumns;
}
