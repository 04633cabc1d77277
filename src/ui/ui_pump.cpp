#include "ui/ui_pump.h"

#include <algorithm>

#include "ui/window.h"

namespace orvix::ui {
namespace {

std::vector<HWND>& BusyWindows() {
  static std::vector<HWND> windows;
  return windows;
}

}  // namespace

void UiPump::ProcessMessages() {
  if (!MessageLoop::RunPending()) quitting_ = true;
}

BusyScope::BusyScope(HWND window, HWND cancel) : window_(window) {
  BusyWindows().push_back(window);
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == cancel || !::IsWindowEnabled(child)) continue;
    ::EnableWindow(child, FALSE);
    disabled_.push_back(child);
  }
  if (cancel != nullptr) ::SetFocus(cancel);
}

BusyScope::~BusyScope() {
  for (HWND child : disabled_) {
    if (::IsWindow(child)) ::EnableWindow(child, TRUE);
  }
  auto& busy = BusyWindows();
  if (auto found = std::find(busy.begin(), busy.end(), window_); found != busy.end()) busy.erase(found);
}

bool BusyScope::IsBusy(HWND window) {
  const auto& busy = BusyWindows();
  return std::find(busy.begin(), busy.end(), window) != busy.end();
}

}  // namespace orvix::ui
