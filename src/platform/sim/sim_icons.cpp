#include "platform/sim/sim_icons.h"

namespace orvix::sim {

IconPair SimIcons::ExtractIcons(const std::wstring& file, int index) {
  std::lock_guard lock(mutex_);
  const auto found = iconFiles_.find(file);
  if (found == iconFiles_.end() || !files_.Exists(file)) return {};
  const IconFile& icons = found->second;
  const bool present = index >= 0 ? index < icons.count : icons.resourceIds.contains(-index);
  if (!present) return {};
  return {Issue({file, index, IconKind::Large}), Issue({file, index, IconKind::Small})};
}

IconHandle SimIcons::ShellIcon(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  return files_.Exists(path) ? Issue({path, 0, IconKind::Shell}) : 0;
}

void SimIcons::DestroyIcon(IconHandle icon) {
  std::lock_guard lock(mutex_);
  if (live_.erase(icon) == 0) ++badDestroys_;
}

void SimIcons::AddIconFile(const std::wstring& path, int count, std::set<int> resourceIds) {
  std::lock_guard lock(mutex_);
  iconFiles_[path] = IconFile{count, std::move(resourceIds)};
}

std::optional<SimIcon> SimIcons::Describe(IconHandle icon) const {
  std::lock_guard lock(mutex_);
  const auto found = live_.find(icon);
  if (found == live_.end()) return std::nullopt;
  return found->second;
}

std::size_t SimIcons::LiveCount() const {
  std::lock_guard lock(mutex_);
  return live_.size();
}

std::size_t SimIcons::BadDestroyCount() const {
  std::lock_guard lock(mutex_);
  return badDestroys_;
}

IconHandle SimIcons::Issue(SimIcon icon) {
  const IconHandle handle = next_++;
  live_.emplace(handle, std::move(icon));
  return handle;
}

}  // namespace orvix::sim
