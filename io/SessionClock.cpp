#include "io/SessionClock.h"

#include <ctime>

#include "io/SessionIndex.h"
#include "io/TimeText.h"
#include "render/NumberText.h"

namespace {

constexpr std::int64_t kMicrosPerSecond = 1'000'000;
constexpr std::int64_t kMicrosPerDay = 86'400 * kMicrosPerSecond;

// Floor division: times before 1970 still fall into the right day and second.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

// nMicros / nUnit with nDecimals decimals, rounded half away from zero.
void AppendScaled(std::string& out, std::int64_t nMicros, std::int64_t nUnit, int nDecimals) {
    std::int64_t nScale = 1;
    for (int i = 0; i < nDecimals; ++i) nScale *= 10;
    const std::int64_t nStep = nUnit / nScale;
    const std::int64_t nRounded = (nMicros + nStep / 2) / nStep;
    AppendUnsigned(out, static_cast<std::uint64_t>(nRounded / nScale));
    if (nDecimals == 0) return;
    out += '.';
    AppendPadded(out, nRounded % nScale, nDecimals);
}

}  // namespace

SSessionZone MakeSessionZone(bool bUtc, bool bTimeOfDay, std::int64_t nMicros) {
    SSessionZone zone;
    zone.bUtc = bUtc;
    zone.bTimeOfDay = bTimeOfDay;
    if (bUtc || bTimeOfDay) return zone;
    const std::time_t t = nMicros == SSessionMsg::kNoTime
                              ? std::time(nullptr)
                              : static_cast<std::time_t>(FloorDiv(nMicros, kMicrosPerSecond));
    std::tm local{};
    if (localtime_r(&t, &local) != nullptr) zone.nOffsetMicros = local.tm_gmtoff * kMicrosPerSecond;
    return zone;
}

std::string ZoneText(const SSessionZone& zone) {
    if (zone.bTimeOfDay) return "time of day";
    std::string out = "UTC";
    if (zone.bUtc || zone.nOffsetMicros == 0) return out;
    const std::int64_t nMinutes = zone.nOffsetMicros / (60 * kMicrosPerSecond);
    out += nMinutes < 0 ? '-' : '+';
    const std::int64_t nAbs = nMinutes < 0 ? -nMinutes : nMinutes;
    AppendPadded(out, nAbs / 60, 2);
    out += ':';
    AppendPadded(out, nAbs % 60, 2);
    return out;
}

std::int64_t TimeOfDayMicros(std::int64_t nMicros, const SSessionZone& zone) {
    if (zone.bTimeOfDay) return nMicros;
    const std::int64_t nShown = nMicros + (zone.bUtc ? 0 : zone.nOffsetMicros);
    return nShown - FloorDiv(nShown, kMicrosPerDay) * kMicrosPerDay;
}

std::string SessionTimeText(std::int64_t nMicros, const SSessionZone& zone) {
    std::string out;
    if (nMicros == SSessionMsg::kNoTime) return out;
    if (!zone.bTimeOfDay) {
        const std::int64_t nShown = nMicros + (zone.bUtc ? 0 : zone.nOffsetMicros);
        AppendCivilDate(out, FloorDiv(nShown, kMicrosPerDay));
        out += ' ';
    }
    AppendTimeOfDay(out, TimeOfDayMicros(nMicros, zone));
    return out;
}

std::string SecondsText(std::int64_t nMicros) {
    std::string out(1, nMicros < 0 ? '-' : '+');
    const std::uint64_t nAbs =
        nMicros < 0 ? 0 - static_cast<std::uint64_t>(nMicros) : static_cast<std::uint64_t>(nMicros);
    AppendUnsigned(out, nAbs / kMicrosPerSecond);
    out += '.';
    AppendPadded(out, static_cast<std::int64_t>(nAbs % kMicrosPerSecond), 6);
    return out;
}

std::string LatencyText(std::int64_t nMicros) {
    std::string out;
    if (nMicros < 0) return out;
    if (nMicros < 1000) {
        AppendUnsigned(out, static_cast<std::uint64_t>(nMicros));
        return out + " \xC2\xB5s";
    }
    if (nMicros < 10 * kMicrosPerSecond) {
        AppendScaled(out, nMicros, 1000, 3);
        return out + " ms";
    }
    AppendScaled(out, nMicros, kMicrosPerSecond, 3);
    return out + " s";
}
