// Reader of Windows shortcut files (.lnk, the shell link binary format):
// the header, the target's item-id list (skipped), LinkInfo with the local
// or network path of the target, the string data and the environment
// block's target. Bytes in, fields out: every size and offset is checked
// against the data, so truncated or hostile files give partial or no
// results, never a read outside the buffer or an allocation beyond the
// file's own size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvix {

// LinkFlags of the header.
inline constexpr std::uint32_t kLinkHasTargetIdList = 0x1;
inline constexpr std::uint32_t kLinkHasLinkInfo = 0x2;
inline constexpr std::uint32_t kLinkHasName = 0x4;
inline constexpr std::uint32_t kLinkHasRelativePath = 0x8;
inline constexpr std::uint32_t kLinkHasWorkingDir = 0x10;
inline constexpr std::uint32_t kLinkHasArguments = 0x20;
inline constexpr std::uint32_t kLinkHasIconLocation = 0x40;
inline constexpr std::uint32_t kLinkIsUnicode = 0x80;
inline constexpr std::uint32_t kLinkHasExpString = 0x200;

// LinkInfoFlags.
inline constexpr std::uint32_t kLinkInfoLocalPath = 0x1;    // VolumeID and LocalBasePath
inline constexpr std::uint32_t kLinkInfoNetworkPath = 0x2;  // CommonNetworkRelativeLink

inline constexpr std::uint32_t kShellLinkHeaderSize = 76;

struct TShellLink {
  std::uint32_t LinkFlags = 0;
  std::uint32_t FileAttributes = 0;
  std::int32_t IconIndex = 0;
  std::uint32_t LinkInfoFlags = 0;  // 0 without a (readable) LinkInfo
  // From LinkInfo, the Unicode forms where the file has them.
  std::wstring LocalBasePath;
  std::wstring NetworkName;  // "\\server\share"
  std::wstring CommonPathSuffix;
  // The string data, in the file's order.
  std::wstring Name;
  std::wstring RelativePath;  // relative to the shortcut's folder
  std::wstring WorkingDir;
  std::wstring Arguments;
  std::wstring IconLocation;
  // The environment block's target, unexpanded ("%ProgramFiles%\Foo\foo.exe").
  std::wstring EnvironmentTarget;
  // False when a structure the flags announce is cut short or inconsistent.
  // LinkInfo whose inside is damaged is skipped by its size (no target);
  // any other damage ends the reading, keeping what was read before it.
  bool Intact = true;

  // The target that LinkInfo names: the local base path followed by the
  // common suffix, else the network name, a backslash and the suffix.
  // Empty when LinkInfo names none.
  std::wstring TargetPath() const;
};

// Turns 8-bit text of the file into text, in the code page of the system
// that wrote it (in practice the ANSI code page of this one).
using AnsiDecoder = std::function<std::wstring(std::string_view)>;

// Nothing when the data does not start with a shell link header (too short,
// or a header size other than 76).
std::optional<TShellLink> ParseShellLink(const std::uint8_t* data, std::size_t size, const AnsiDecoder& ansi);
// The same with Windows-1252 as code page.
std::optional<TShellLink> ParseShellLink(const std::uint8_t* data, std::size_t size);

}  // namespace orvix
