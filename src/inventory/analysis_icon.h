// Which icon stands for a program, and loading it.
#pragma once

#include <cstdint>
#include <string>

#include "inventory/soft_info.h"
#include "platform/icon_api.h"

namespace orvix {

// A file and the index of an icon in it; `file` is empty when the program
// has no icon to show.
struct TIconSource {
  std::wstring file;
  std::int32_t index = 0;
};

// The product code "{12345678-9ABC-DEF0-1234-56789ABCDEF0}" in the packed
// form Windows Installer keys its product data by: the first three groups
// reversed, the remaining eight bytes with their two digits swapped, no
// braces or dashes. Empty when the text is no braced GUID.
std::wstring PackedProductCode(const std::wstring& productCode);

// The "ProductIcon" Windows Installer registered for the product code that
// ends the entry's key path, with folder macros expanded; empty when none.
std::wstring InstallerProductIcon(const TSoftInfo& entry);

// The entry's icon: its "DisplayIcon" ("file,index"), else the installer's
// product icon, else an executable in its folder named like the program,
// else its uninstaller; always an existing file, or no icon.
TIconSource FindIconSource(const TSoftInfo& entry);

// Icon handles that are destroyed with their holder. `large` and `small`
// may be one handle, which is destroyed once.
class TOwnedIcons {
 public:
  TOwnedIcons() = default;
  explicit TOwnedIcons(IconPair icons) : icons_(icons) {}
  ~TOwnedIcons() { Reset(); }
  TOwnedIcons(TOwnedIcons&& other) noexcept : icons_(other.icons_) { other.icons_ = {}; }
  TOwnedIcons& operator=(TOwnedIcons&& other) noexcept;

  IconHandle Large() const { return icons_.large; }
  IconHandle Small() const { return icons_.small; }
  bool Complete() const { return icons_.large != 0 && icons_.small != 0; }
  void Reset();

 private:
  IconPair icons_;
};

// The source's large and small icon; when the file holds no such icon, the
// shell's icon of the file for both sizes. Empty for no source.
TOwnedIcons LoadIcons(const TIconSource& source);

}  // namespace orvix
