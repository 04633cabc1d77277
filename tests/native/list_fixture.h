// Entries and a clock for the software list tests: a few lines build the
// Items of an inventory and set "now" on the simulated machine.
#pragma once

#include <memory>
#include <string>

#include "inventory/list_model.h"
#include "platform/date_time.h"
#include "platform/sim/sim_clock.h"

namespace orvix::testing {

inline TDateTime DateOf(int year, int month, int day, double hours = 0) {
  return *EncodeDate(year, month, day) + hours / 24;
}

// Sets the simulated clock (UTC offset 0) to a local date and hour.
inline void SetNow(sim::SimClock& clock, TDateTime now) {
  constexpr double kDaysFrom1601To1899 = 109205;
  constexpr double kTicksPerDay = 864000000000.0;
  clock.SetUtcOffsetMinutes(0);
  clock.SetNowUtc(static_cast<FILETIME64>((now + kDaysFrom1601To1899) * kTicksPerDay + 0.5));
}

// An entry as the enumeration leaves it, with the placeholders filled.
inline TSoftInfo Entry(const std::wstring& name) {
  TSoftInfo entry;
  entry.DisplayName = name;
  entry.HelpLink = L"-";
  entry.Publisher = L" ";
  entry.DisplayVersion = L"-";
  entry.RootName = L"HKEY_LOCAL_MACHINE";
  entry.KeyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
  entry.UninstallString = L"C:\\Program Files\\" + name + L"\\uninst.exe";
  return entry;
}

inline void Add(TSoftList& items, TSoftInfo entry) { items.push_back(std::make_unique<TSoftInfo>(std::move(entry))); }

}  // namespace orvix::testing
