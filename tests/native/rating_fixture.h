// Machines for the usage rating tests: times given as calendar dates, and
// UserAssist values written the way Windows writes them (ROT13 names,
// 16-byte data with the time at 8, or 72-byte data with the time at 60).
#pragma once

#include <string>

#include "inventory/rating_user_assist.h"
#include "native/sim_fixture.h"

namespace orvix::testing {

inline constexpr std::int64_t kDaysFrom1601To1899 = 109205;
inline constexpr FILETIME64 kTicksPerSecond = 10000000;

inline std::int64_t SecondsOfDay(int hour, int minute, int second) { return hour * 3600 + minute * 60 + second; }

// A UTC file time at a calendar date and time.
inline FILETIME64 FileTimeAt(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
  const auto days = static_cast<std::int64_t>(*EncodeDate(year, month, day)) + kDaysFrom1601To1899;
  return static_cast<FILETIME64>(days * 86400 + SecondsOfDay(hour, minute, second)) * kTicksPerSecond;
}

inline TDateTime DateAt(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
  return *EncodeDate(year, month, day) + static_cast<double>(SecondsOfDay(hour, minute, second)) / 86400;
}

// Data of one value of either layout with its last start at `time`; other
// fields hold what Windows keeps there (session, run count, focus time).
inline Bytes UserAssistData(int osKind, FILETIME64 time, std::size_t size = 0) {
  const bool newer = osKind == kOsKindNewer;
  Bytes data(size ? size : (newer ? 72 : 16), 0);
  const std::size_t at = newer ? 60 : 8;
  if (data.size() > 4) data[4] = 7;  // run count
  for (std::size_t i = 0; i < 8 && at + i < data.size(); ++i) data[at + i] = static_cast<std::uint8_t>(time >> (8 * i));
  return data;
}

// Writes one value into the first (key 0) or second UserAssist key of the
// layout, under the ROT13 form of `name`.
inline void PutUserAssist(sim::SimRegistry& registry, int osKind, int key, const std::wstring& name,
                          const Bytes& data) {
  registry.PutValue(L"HKCU\\" + UserAssistKeys(osKind)[key], Rot13(name), REG_BINARY, data);
}

inline void PutUserAssistStart(sim::SimRegistry& registry, int osKind, const std::wstring& name, FILETIME64 time) {
  PutUserAssist(registry, osKind, 0, name, UserAssistData(osKind, time));
}

}  // namespace orvix::testing
