#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Time stamps of logs in, ISO 8601 text out; no locale, no time zone
// database: a log's times are taken as UTC.

// "2026-12-07 10:00:00.123", "2026/12/07T10:00:00,5", "10:00:01": µs since
// the epoch when a date leads the time (bDate true), else since midnight.
// INT64_MIN when the text holds no time of day.
std::int64_t LogTimeMicros(std::string_view str, bool& bDate);

// "2026-12-07T10:00:00.123456Z" for µs since the epoch, "10:00:00.123456"
// for a time of day.
std::string IsoTimeText(std::int64_t nMicros, bool bTimeOfDay);

// The pieces of every time text the program writes: v as at least nWidth
// digits ('-' before a negative one); "2026-12-07" for days since
// 1970-01-01 (proleptic Gregorian, no time_t limits); "10:00:00.123456" for
// µs since midnight.
void AppendPadded(std::string& str, std::int64_t v, int nWidth);
void AppendCivilDate(std::string& str, std::int64_t nDays);
void AppendTimeOfDay(std::string& str, std::int64_t nMicros);
