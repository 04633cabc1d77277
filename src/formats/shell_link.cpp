#include "formats/shell_link.h"

#include "formats/text_codec.h"
#include "formats/windows_1252.h"

namespace orvix {
namespace {

constexpr std::size_t kLinkFlagsAt = 20;
constexpr std::size_t kFileAttributesAt = 24;
constexpr std::size_t kIconIndexAt = 56;

// LinkInfo header fields, relative to its start.
constexpr std::uint32_t kLinkInfoMinHeader = 0x1C;
constexpr std::uint32_t kLinkInfoUnicodeHeader = 0x24;  // adds the two Unicode offsets
constexpr std::size_t kLinkInfoHeaderSizeAt = 4;
constexpr std::size_t kLinkInfoFlagsAt = 8;
constexpr std::size_t kLocalBasePathAt = 16;
constexpr std::size_t kNetworkLinkAt = 20;
constexpr std::size_t kPathSuffixAt = 24;
constexpr std::size_t kLocalBasePathUnicodeAt = 28;
constexpr std::size_t kPathSuffixUnicodeAt = 32;

// CommonNetworkRelativeLink fields, relative to its start.
constexpr std::uint32_t kNetworkLinkMinSize = 0x14;
constexpr std::size_t kNetNameAt = 8;
constexpr std::size_t kNetNameUnicodeAt = 0x14;  // present when the NetName offset is above 0x14

// The environment block: its target in 260 ANSI bytes, then in 260 UTF-16 units.
constexpr std::uint32_t kEnvironmentBlockSignature = 0xA0000001;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;
constexpr std::size_t kEnvironmentAnsiAt = 8;
constexpr std::size_t kEnvironmentUnicodeAt = 268;
constexpr std::size_t kEnvironmentFieldBytes = 520;
constexpr std::size_t kEnvironmentAnsiBytes = 260;
constexpr std::uint32_t kTerminalBlockBelow = 4;

// A window on the file's bytes whose every read is checked against its end.
class ByteView {
 public:
  ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Size() const { return size_; }
  bool Has(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }

  std::optional<std::uint16_t> U16(std::size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
  }
  std::optional<std::uint32_t> U32(std::size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(data_[offset]) | static_cast<std::uint32_t>(data_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(data_[offset + 2]) << 16 | static_cast<std::uint32_t>(data_[offset + 3]) << 24;
  }
  // Callers check Has(offset, count) first.
  ByteView Sub(std::size_t offset, std::size_t count) const { return {data_ + offset, count}; }
  std::string_view Chars(std::size_t offset, std::size_t count) const {
    return {reinterpret_cast<const char*>(data_ + offset), count};
  }
  std::wstring Utf16(std::size_t offset, std::size_t units) const { return FromUtf16Le(data_ + offset, units * 2); }

  // Zero-terminated 8-bit text; nothing when the view ends before the zero.
  std::optional<std::string_view> AnsiZ(std::size_t offset) const {
    for (std::size_t end = offset; end < size_; ++end) {
      if (data_[end] == 0) return Chars(offset, end - offset);
    }
    return std::nullopt;
  }
  // Zero-terminated UTF-16 text, likewise.
  std::optional<std::wstring> Utf16Z(std::size_t offset) const {
    for (std::size_t end = offset; Has(end, 2); end += 2) {
      if (data_[end] == 0 && data_[end + 1] == 0) return Utf16(offset, (end - offset) / 2);
    }
    return std::nullopt;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Text at an offset stored in a header field; an offset of 0 means none.
// False when the field or the text lies outside the view.
bool AnsiAt(const ByteView& view, std::size_t field, const AnsiDecoder& ansi, std::wstring& text) {
  const auto offset = view.U32(field);
  if (!offset) return false;
  if (*offset == 0) return true;
  const auto chars = view.AnsiZ(*offset);
  if (!chars) return false;
  text = ansi(*chars);
  return true;
}

bool Utf16At(const ByteView& view, std::size_t field, std::wstring& text) {
  const auto offset = view.U32(field);
  if (!offset) return false;
  if (*offset == 0) return true;
  auto chars = view.Utf16Z(*offset);
  if (!chars) return false;
  text = std::move(*chars);
  return true;
}

// The Unicode form replaces the 8-bit one when it says something.
bool PreferUnicodeAt(const ByteView& view, std::size_t field, std::wstring& text) {
  std::wstring unicode;
  if (!Utf16At(view, field, unicode)) return false;
  if (!unicode.empty()) text = std::move(unicode);
  return true;
}

bool ReadNetworkLink(const ByteView& info, const AnsiDecoder& ansi, TShellLink& link) {
  const auto offset = info.U32(kNetworkLinkAt);
  if (!offset) return false;
  const auto size = info.U32(*offset);
  if (!size || *size < kNetworkLinkMinSize || !info.Has(*offset, *size)) return false;
  const ByteView network = info.Sub(*offset, *size);
  if (!AnsiAt(network, kNetNameAt, ansi, link.NetworkName)) return false;
  const std::uint32_t netNameOffset = *network.U32(kNetNameAt);
  return netNameOffset <= kNetNameUnicodeAt || PreferUnicodeAt(network, kNetNameUnicodeAt, link.NetworkName);
}

bool ReadLinkInfoFields(const ByteView& info, const AnsiDecoder& ansi, TShellLink& link) {
  const auto headerSize = info.U32(kLinkInfoHeaderSizeAt);
  const auto flags = info.U32(kLinkInfoFlagsAt);
  if (!headerSize || !flags || *headerSize < kLinkInfoMinHeader || *headerSize > info.Size()) return false;
  const bool unicode = *headerSize >= kLinkInfoUnicodeHeader;
  if (*flags & kLinkInfoLocalPath) {
    if (!AnsiAt(info, kLocalBasePathAt, ansi, link.LocalBasePath)) return false;
    if (unicode && !PreferUnicodeAt(info, kLocalBasePathUnicodeAt, link.LocalBasePath)) return false;
  }
  if ((*flags & kLinkInfoNetworkPath) && !ReadNetworkLink(info, ansi, link)) return false;
  if (!AnsiAt(info, kPathSuffixAt, ansi, link.CommonPathSuffix)) return false;
  if (unicode && !PreferUnicodeAt(info, kPathSuffixUnicodeAt, link.CommonPathSuffix)) return false;
  link.LinkInfoFlags = *flags;
  return true;
}

// Reads LinkInfo at `pos` and moves past it; false when its size does not
// fit the data, which leaves nothing after it to find. A block of sound size
// whose inside is damaged is skipped without its fields.
bool ReadLinkInfo(const ByteView& file, std::size_t& pos, const AnsiDecoder& ansi, TShellLink& link) {
  const auto size = file.U32(pos);
  if (!size || *size < kLinkInfoMinHeader || !file.Has(pos, *size)) return false;
  TShellLink fields;
  if (ReadLinkInfoFields(file.Sub(pos, *size), ansi, fields)) {
    link.LinkInfoFlags = fields.LinkInfoFlags;
    link.LocalBasePath = std::move(fields.LocalBasePath);
    link.NetworkName = std::move(fields.NetworkName);
    link.CommonPathSuffix = std::move(fields.CommonPathSuffix);
  } else {
    link.Intact = false;
  }
  pos += *size;
  return true;
}

// One counted string of the string data.
bool ReadCountedString(const ByteView& file, std::size_t& pos, bool unicode, const AnsiDecoder& ansi,
                       std::wstring& text) {
  const auto count = file.U16(pos);
  if (!count) return false;
  const std::size_t bytes = std::size_t{*count} * (unicode ? 2 : 1);
  if (!file.Has(pos + 2, bytes)) return false;
  text = unicode ? file.Utf16(pos + 2, *count) : ansi(file.Chars(pos + 2, bytes));
  // Some writers count a terminating zero; the text ends there, as for the shell.
  if (const std::size_t zero = text.find(L'\0'); zero != std::wstring::npos) text.resize(zero);
  pos += 2 + bytes;
  return true;
}

void ReadEnvironmentBlock(const ByteView& block, const AnsiDecoder& ansi, TShellLink& link) {
  const ByteView unicode = block.Sub(kEnvironmentUnicodeAt, kEnvironmentFieldBytes);
  std::wstring target = unicode.Utf16Z(0).value_or(std::wstring{});
  if (target.empty()) {
    const ByteView narrow = block.Sub(kEnvironmentAnsiAt, kEnvironmentAnsiBytes);
    if (const auto chars = narrow.AnsiZ(0)) target = ansi(*chars);
  }
  link.EnvironmentTarget = std::move(target);
}

// The extra data blocks up to the terminal block; a block that does not fit
// ends the reading.
bool ReadExtraData(const ByteView& file, std::size_t pos, const AnsiDecoder& ansi, TShellLink& link) {
  for (;;) {
    const auto size = file.U32(pos);
    if (!size) return false;
    if (*size < kTerminalBlockBelow) return true;
    if (*size < 8 || !file.Has(pos, *size)) return false;
    if (*file.U32(pos + 4) == kEnvironmentBlockSignature && *size >= kEnvironmentBlockSize)
      ReadEnvironmentBlock(file.Sub(pos, *size), ansi, link);
    pos += *size;
  }
}

// False when a structure does not fit the data.
bool ReadAfterHeader(const ByteView& file, const AnsiDecoder& ansi, TShellLink& link) {
  std::size_t pos = kShellLinkHeaderSize;
  const std::uint32_t flags = link.LinkFlags;
  if (flags & kLinkHasTargetIdList) {
    const auto size = file.U16(pos);
    if (!size || !file.Has(pos + 2, *size)) return false;
    pos += 2 + *size;
  }
  if ((flags & kLinkHasLinkInfo) && !ReadLinkInfo(file, pos, ansi, link)) return false;

  const bool unicode = (flags & kLinkIsUnicode) != 0;
  const std::pair<std::uint32_t, std::wstring*> strings[] = {
      {kLinkHasName, &link.Name},
      {kLinkHasRelativePath, &link.RelativePath},
      {kLinkHasWorkingDir, &link.WorkingDir},
      {kLinkHasArguments, &link.Arguments},
      {kLinkHasIconLocation, &link.IconLocation},
  };
  for (const auto& [flag, text] : strings) {
    if ((flags & flag) && !ReadCountedString(file, pos, unicode, ansi, *text)) return false;
  }
  return ReadExtraData(file, pos, ansi, link);
}

}  // namespace

std::wstring TShellLink::TargetPath() const {
  if ((LinkInfoFlags & kLinkInfoLocalPath) && !LocalBasePath.empty()) return LocalBasePath + CommonPathSuffix;
  if ((LinkInfoFlags & kLinkInfoNetworkPath) && !NetworkName.empty()) {
    if (CommonPathSuffix.empty()) return NetworkName;
    return NetworkName + (NetworkName.back() == L'\\' ? L"" : L"\\") + CommonPathSuffix;
  }
  return {};
}

std::optional<TShellLink> ParseShellLink(const std::uint8_t* data, std::size_t size, const AnsiDecoder& ansi) {
  const ByteView file(data, data == nullptr ? 0 : size);
  if (file.U32(0) != kShellLinkHeaderSize || !file.Has(0, kShellLinkHeaderSize)) return std::nullopt;
  TShellLink link;
  link.LinkFlags = *file.U32(kLinkFlagsAt);
  link.FileAttributes = *file.U32(kFileAttributesAt);
  link.IconIndex = static_cast<std::int32_t>(*file.U32(kIconIndexAt));
  if (!ReadAfterHeader(file, ansi, link)) link.Intact = false;
  return link;
}

std::optional<TShellLink> ParseShellLink(const std::uint8_t* data, std::size_t size) {
  return ParseShellLink(data, size, [](std::string_view bytes) { return FromWindows1252(bytes); });
}

}  // namespace orvix
