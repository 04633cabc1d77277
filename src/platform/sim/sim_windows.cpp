#include "platform/sim/sim_windows.h"

#include <algorithm>
#include <limits>

namespace orvix::sim {
namespace {

constexpr WindowHandle kFirstWindow = 0x10010;

long long Overlap(const TRect& a, const TRect& b) {
  const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

// The distance between two rectangles along each axis, squared and summed:
// 0 when they touch or overlap.
long long Distance(const TRect& a, const TRect& b) {
  const long long dx = std::max({0, b.left - a.right, a.left - b.right});
  const long long dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
  return dx * dx + dy * dy;
}

}  // namespace

SimWindows::SimWindows() : monitors_{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}} {}

bool SimWindows::CreateNamedMutex(const std::wstring& name, bool* existed) {
  std::lock_guard lock(mutex_);
  const bool inserted = mutexes_.insert(name).second;
  if (existed != nullptr) *existed = !inserted;
  return true;
}

WindowHandle SimWindows::FindTopWindow(const std::wstring& className, const std::wstring& title) {
  std::lock_guard lock(mutex_);
  for (const Window& window : windows_) {
    if (window.className == className && window.title == title) return window.handle;
  }
  return 0;
}

bool SimWindows::PostToWindow(WindowHandle window, DWORD message, std::uintptr_t wParam, std::intptr_t lParam) {
  std::lock_guard lock(mutex_);
  if (window == 0) return false;
  messages_.push_back({window, message, wParam, lParam, {}});
  return true;
}

bool SimWindows::SendCopyData(WindowHandle window, std::uintptr_t dwData, const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(mutex_);
  if (window == 0) return false;
  messages_.push_back({window, WM_COPYDATA, dwData, 0, bytes});
  return true;
}

// The monitor the rectangle overlaps most, else the closest, else the primary.
TRect SimWindows::WorkAreaNearest(const TRect& rect) {
  std::lock_guard lock(mutex_);
  const SimMonitor* best = &monitors_.front();
  long long bestOverlap = 0;
  long long bestDistance = std::numeric_limits<long long>::max();
  for (const SimMonitor& monitor : monitors_) {
    const long long overlap = Overlap(rect, monitor.bounds);
    const long long distance = Distance(rect, monitor.bounds);
    if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
      best = &monitor;
      bestOverlap = overlap;
      bestDistance = distance;
    }
  }
  return best->workArea;
}

void SimWindows::AddMutex(const std::wstring& name) {
  std::lock_guard lock(mutex_);
  mutexes_.insert(name);
}

bool SimWindows::HasMutex(const std::wstring& name) const {
  std::lock_guard lock(mutex_);
  return mutexes_.contains(name);
}

WindowHandle SimWindows::AddWindow(const std::wstring& className, const std::wstring& title) {
  std::lock_guard lock(mutex_);
  const WindowHandle handle = kFirstWindow + windows_.size() * 4;
  windows_.push_back({handle, className, title});
  return handle;
}

void SimWindows::SetMonitors(std::vector<SimMonitor> monitors) {
  std::lock_guard lock(mutex_);
  if (!monitors.empty()) monitors_ = std::move(monitors);
}

std::vector<SimWindowMessage> SimWindows::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

}  // namespace orvix::sim
