#pragma once
#include <cstdint>
#include <string>

// Times of a session as the session window shows them, in UTC or in the
// local zone, built without printf so that no locale changes a digit.

// The zone a session's times are shown in. Local time uses the offset the
// C library gives for the session's first message, so one session never
// shows two offsets when a clock change falls inside it.
struct SSessionZone {
    bool bUtc = true;
    bool bTimeOfDay = false;         // the source's times are µs since midnight: shown as they are
    std::int64_t nOffsetMicros = 0;  // local minus UTC
};

// The zone for times near nMicros (µs since the epoch; any value when bUtc).
SSessionZone MakeSessionZone(bool bUtc, bool bTimeOfDay, std::int64_t nMicros);

// "UTC", "UTC+01:00", "UTC-05:30"; "time of day" when the source gave no dates.
std::string ZoneText(const SSessionZone& zone);

// "2026-12-07 10:00:00.123456" in the zone, "10:00:00.123456" for a time of
// day; empty for SSessionMsg::kNoTime.
std::string SessionTimeText(std::int64_t nMicros, const SSessionZone& zone);

// Seconds with six decimals and a sign: "+0.000250", "-1.500000".
std::string SecondsText(std::int64_t nMicros);

// A latency: "250 µs" below a millisecond, "12.345 ms" below ten seconds,
// "45.000 s" above.
std::string LatencyText(std::int64_t nMicros);

// The time of day (µs since midnight, 0 .. 86,399,999,999) of nMicros in the zone.
std::int64_t TimeOfDayMicros(std::int64_t nMicros, const SSessionZone& zone);
