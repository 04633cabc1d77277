#include "platform/shell_link_file.h"

#include "platform/file_helpers.h"
#include "platform/platform.h"

namespace orvix {
namespace {

// Shortcuts are a few kilobytes; anything this large is not worth reading.
constexpr std::uint64_t kMaxShortcutSize = 1 << 20;

}  // namespace

std::optional<TShellLink> ReadShellLinkFile(const std::wstring& path) {
  Platform& platform = CurrentPlatform();
  FileAttributeData attributes;
  if (platform.Files().GetAttributes(path, &attributes) != ERROR_SUCCESS ||
      (attributes.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || attributes.size > kMaxShortcutSize)
    return std::nullopt;
  Bytes bytes;
  // The file may have grown since its size was asked.
  if (!ReadFileBytes(path, bytes, kMaxShortcutSize)) return std::nullopt;
  return ParseShellLink(bytes.data(), bytes.size(),
                        [&](std::string_view text) { return platform.Locale().FromAnsi(text); });
}

}  // namespace orvix
