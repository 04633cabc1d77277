// Builds shortcut (.lnk) files for tests: the header, an item-id list of
// filler bytes, LinkInfo with local and network paths, string data and an
// environment block, laid out as the shell writes them.
#pragma once

#include <cstdint>
#include <string>

#include "formats/shell_link.h"
#include "formats/text_codec.h"

namespace orvix::testing {

struct LinkSpec {
  std::string localBasePath;          // 8-bit; empty: no local path
  std::wstring localBasePathUnicode;  // set: a LinkInfo header with the Unicode offsets
  std::string commonPathSuffix;
  std::wstring commonPathSuffixUnicode;
  std::string netName;                // set: a network link
  std::uint16_t idListSize = 0;       // 0: no item-id list
  bool unicodeStrings = true;
  std::wstring name, relativePath, workingDir, arguments, iconLocation;
  std::wstring environmentTarget;     // set: an environment block
};

namespace link_writer {

inline void Put16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
inline void Set32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline void PutAnsiZ(Bytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}
inline void PutUtf16Z(Bytes& out, const std::wstring& text) {
  const Bytes bytes = ToUtf16Le(text);
  out.insert(out.end(), bytes.begin(), bytes.end());
  Put16(out, 0);
}

inline Bytes LinkInfo(const LinkSpec& spec) {
  const bool unicode = !spec.localBasePathUnicode.empty() || !spec.commonPathSuffixUnicode.empty();
  const std::uint32_t headerSize = unicode ? 0x24 : 0x1C;
  const std::uint32_t flags =
      (spec.localBasePath.empty() ? 0 : kLinkInfoLocalPath) | (spec.netName.empty() ? 0 : kLinkInfoNetworkPath);
  Bytes out(headerSize, 0);
  Set32(out, 4, headerSize);
  Set32(out, 8, flags);
  if (flags & kLinkInfoLocalPath) {
    Set32(out, 12, static_cast<std::uint32_t>(out.size()));  // VolumeID: fixed drive, no label
    Put32(out, 0x11);
    Put32(out, 3);
    Put32(out, 0x1234ABCD);
    Put32(out, 0x10);
    out.push_back(0);
    Set32(out, 16, static_cast<std::uint32_t>(out.size()));
    PutAnsiZ(out, spec.localBasePath);
  }
  if (flags & kLinkInfoNetworkPath) {
    Set32(out, 20, static_cast<std::uint32_t>(out.size()));
    Put32(out, static_cast<std::uint32_t>(0x14 + spec.netName.size() + 1));
    Put32(out, 0);     // no device, no provider type
    Put32(out, 0x14);  // NetName right after the fields
    Put32(out, 0);
    Put32(out, 0);
    PutAnsiZ(out, spec.netName);
  }
  Set32(out, 24, static_cast<std::uint32_t>(out.size()));
  PutAnsiZ(out, spec.commonPathSuffix);
  if (unicode) {
    if (!spec.localBasePathUnicode.empty()) {
      Set32(out, 28, static_cast<std::uint32_t>(out.size()));
      PutUtf16Z(out, spec.localBasePathUnicode);
    }
    Set32(out, 32, static_cast<std::uint32_t>(out.size()));
    PutUtf16Z(out, spec.commonPathSuffixUnicode);
  }
  Set32(out, 0, static_cast<std::uint32_t>(out.size()));
  return out;
}

inline void PutCountedString(Bytes& out, const std::wstring& text, bool unicode) {
  Put16(out, static_cast<std::uint32_t>(text.size()));
  if (unicode) {
    const Bytes bytes = ToUtf16Le(text);
    out.insert(out.end(), bytes.begin(), bytes.end());
  } else {
    out.insert(out.end(), text.begin(), text.end());  // tests keep these texts ASCII
  }
}

inline void PutEnvironmentBlock(Bytes& out, const std::wstring& target) {
  const std::size_t start = out.size();
  Put32(out, 0x314);
  Put32(out, 0xA0000001);
  Bytes ansi(260, 0);
  std::copy(target.begin(), target.end(), ansi.begin());  // ASCII in tests
  out.insert(out.end(), ansi.begin(), ansi.end());
  PutUtf16Z(out, target);
  out.resize(start + 0x314, 0);
}

}  // namespace link_writer

inline Bytes BuildShellLink(const LinkSpec& spec) {
  using namespace link_writer;
  const bool hasLinkInfo = !spec.localBasePath.empty() || !spec.netName.empty();
  const std::pair<std::uint32_t, const std::wstring*> strings[] = {
      {kLinkHasName, &spec.name},
      {kLinkHasRelativePath, &spec.relativePath},
      {kLinkHasWorkingDir, &spec.workingDir},
      {kLinkHasArguments, &spec.arguments},
      {kLinkHasIconLocation, &spec.iconLocation},
  };
  std::uint32_t flags = (spec.idListSize ? kLinkHasTargetIdList : 0) | (hasLinkInfo ? kLinkHasLinkInfo : 0) |
                        (spec.unicodeStrings ? kLinkIsUnicode : 0) |
                        (spec.environmentTarget.empty() ? 0 : kLinkHasExpString);
  for (const auto& [flag, text] : strings) flags |= text->empty() ? 0 : flag;

  Bytes out(kShellLinkHeaderSize, 0);
  Set32(out, 0, kShellLinkHeaderSize);
  const std::uint8_t shellLinkClass[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  std::copy(std::begin(shellLinkClass), std::end(shellLinkClass), out.begin() + 4);
  Set32(out, 20, flags);
  Set32(out, 24, 0x20);  // the target's attributes: an archive file
  Set32(out, 60, 1);     // SW_SHOWNORMAL
  if (spec.idListSize) {
    Put16(out, spec.idListSize);
    for (std::uint16_t i = 0; i < spec.idListSize; ++i) out.push_back(static_cast<std::uint8_t>(0x4C + i));
  }
  if (hasLinkInfo) {
    const Bytes info = LinkInfo(spec);
    out.insert(out.end(), info.begin(), info.end());
  }
  for (const auto& [flag, text] : strings) {
    if (flags & flag) PutCountedString(out, *text, spec.unicodeStrings);
  }
  if (!spec.environmentTarget.empty()) PutEnvironmentBlock(out, spec.environmentTarget);
  Put32(out, 0);  // terminal block
  return out;
}

}  // namespace orvix::testing
