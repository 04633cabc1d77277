// Simulated icons: a test marks which files hold icons, and the program
// receives tokens that say which file, index and size they stand for. Every
// handed-out token stays alive until the program destroys it, so tests
// catch icons that leak.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "platform/icon_api.h"
#include "platform/sim/sim_file_system.h"
#include "platform/text.h"

namespace orvix::sim {

enum class IconKind { Large, Small, Shell };

// What a token stands for.
struct SimIcon {
  std::wstring path;
  int index = 0;
  IconKind kind = IconKind::Large;
};

class SimIcons : public IIconApi {
 public:
  // The shell has an icon for every path that exists in `files`.
  explicit SimIcons(SimFileSystem& files) : files_(files) {}

  IconPair ExtractIcons(const std::wstring& file, int index) override;
  IconHandle ShellIcon(const std::wstring& path) override;
  void DestroyIcon(IconHandle icon) override;

  // The file holds `count` icons (indexes 0 .. count - 1) and answers the
  // given resource ids (asked for as negative indexes).
  void AddIconFile(const std::wstring& path, int count = 1, std::set<int> resourceIds = {});
  // Answers nothing for a token never handed out or already destroyed.
  std::optional<SimIcon> Describe(IconHandle icon) const;
  std::size_t LiveCount() const;
  // Destroy calls on tokens that were not alive (destroyed twice, never issued).
  std::size_t BadDestroyCount() const;

 private:
  struct IconFile {
    int count = 0;
    std::set<int> resourceIds;
  };
  IconHandle Issue(SimIcon icon);

  SimFileSystem& files_;
  mutable std::mutex mutex_;
  std::map<std::wstring, IconFile, TextLess> iconFiles_;
  std::map<IconHandle, SimIcon> live_;
  IconHandle next_ = 0x1000;
  std::size_t badDestroys_ = 0;
};

}  // namespace orvix::sim
