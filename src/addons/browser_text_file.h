// Text files that browsers write for themselves (Firefox's profiles.ini,
// extensions.ini and pluginreg.dat, Opera's operaprefs.ini), read in the
// encoding they were written in and written back in that same encoding, so
// that a switch-off leaves the file in the form the browser itself writes.
// The Firefox and Opera cleaners use these; every write goes through the
// replace helper.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvix {

enum class TBrowserTextEncoding { Utf8, Utf8Bom, Utf16LeBom, Ansi };

struct TBrowserTextFile {
  std::wstring text;
  // A byte-order mark decides; without one the text is UTF-8 (what Mozilla
  // and Opera write) unless its bytes are not valid UTF-8, then ANSI.
  TBrowserTextEncoding encoding = TBrowserTextEncoding::Utf8;
};

// Browser text files are small; anything larger is not one of them.
constexpr std::uint64_t kBrowserTextFileMax = 16u << 20;

// False when the file is missing, unreadable or larger than the cap.
bool ReadBrowserTextFile(const std::wstring& path, TBrowserTextFile& file);
// Replaces the file whole in the file's encoding; false when that failed
// (the old file is then as it was).
bool WriteBrowserTextFile(const std::wstring& path, const TBrowserTextFile& file);

}  // namespace orvix
