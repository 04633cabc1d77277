// Icons of files, for the software list: the icons a file holds and the
// one the shell shows for it. Handles are opaque; whoever receives one
// destroys it (image lists keep copies of what is added to them).
#pragma once

#include <cstdint>
#include <string>

namespace orvix {

// An icon handle (HICON); 0 is none.
using IconHandle = std::uintptr_t;

struct IconPair {
  IconHandle large = 0;
  IconHandle small = 0;
};

class IIconApi {
 public:
  virtual ~IIconApi() = default;
  // ExtractIconExW for one icon of each size: `index` counts the file's
  // icons from 0, a negative index names a resource id. Either handle is 0
  // when the file has no such icon.
  virtual IconPair ExtractIcons(const std::wstring& file, int index) = 0;
  // SHGetFileInfoW with SHGFI_ICON | SHGFI_SYSICONINDEX | SHGFI_OPENICON:
  // the large icon the shell shows for a file or folder; 0 on failure.
  virtual IconHandle ShellIcon(const std::wstring& path) = 0;
  virtual void DestroyIcon(IconHandle icon) = 0;
};

}  // namespace orvix
