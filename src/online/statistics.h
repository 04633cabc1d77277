// The contract with the maker's usage-statistics library, a DLL that may lie
// in the installation folder: the product and version are told once, then
// numbered events are reported. Without the library every event is dropped.
#pragma once

#include <cstdint>
#include <string>

#include "platform/module_api.h"

namespace orvix {

class TStatistics {
 public:
  // Loads the library and looks up its exports; true once loaded. The
  // library stays loaded until the process ends.
  bool Load(const std::wstring& libraryPath);
  bool Loaded() const { return module_ != 0; }
  // SetStatParam("da3", the program's file version, "orvix", flag).
  void SetParams(std::int32_t flag);
  // DoStatistic("da3", event, a, 0, 0, 0); 0 when nothing is loaded.
  std::int32_t Report(const std::wstring& event, std::int32_t a);

 private:
  ModuleHandle module_ = 0;
  bool hasSetParam_ = false;
  bool hasDoStatistic_ = false;
};

// The process-wide instance behind the free functions.
TStatistics& ProcessStatistics();
bool LoadStatistics(const std::wstring& libraryPath);
void SetStatisticsParams(std::int32_t flag);
std::int32_t ReportEvent(const std::wstring& event, std::int32_t a);

}  // namespace orvix
