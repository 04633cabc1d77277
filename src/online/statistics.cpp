#include "online/statistics.h"

#include "platform/platform.h"
#include "platform/system_info.h"

namespace orvix {
namespace {

constexpr const wchar_t* kProductCode = L"da3";
constexpr const wchar_t* kProductName = L"orvix";
constexpr const char* kSetParam = "SetStatParam";
constexpr const char* kDoStatistic = "DoStatistic";

}  // namespace

bool TStatistics::Load(const std::wstring& libraryPath) {
  IModuleApi& modules = CurrentPlatform().Modules();
  const ModuleHandle module = modules.LoadLibrary(libraryPath);
  if (module == 0) return false;
  module_ = module;
  hasSetParam_ = modules.HasExport(module, kSetParam);
  hasDoStatistic_ = modules.HasExport(module, kDoStatistic);
  return true;
}

void TStatistics::SetParams(std::int32_t flag) {
  if (!Loaded() || !hasSetParam_) return;
  const std::wstring version = FileVersionText(CurrentPlatform().Shell().GetModuleFileName());
  CurrentPlatform().Modules().CallExport(module_, kSetParam,
                                         {std::wstring(kProductCode), version, std::wstring(kProductName), flag});
}

std::int32_t TStatistics::Report(const std::wstring& event, std::int32_t a) {
  if (!Loaded() || !hasDoStatistic_) return 0;
  return CurrentPlatform().Modules().CallExport(module_, kDoStatistic,
                                                {std::wstring(kProductCode), event, a, 0, 0, 0});
}

TStatistics& ProcessStatistics() {
  static TStatistics statistics;
  return statistics;
}

bool LoadStatistics(const std::wstring& libraryPath) { return ProcessStatistics().Load(libraryPath); }
void SetStatisticsParams(std::int32_t flag) { ProcessStatistics().SetParams(flag); }
std::int32_t ReportEvent(const std::wstring& event, std::int32_t a) { return ProcessStatistics().Report(event, a); }

}  // namespace orvix
