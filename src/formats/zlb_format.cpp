#include "formats/zlb_format.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace orvix {
namespace {

template <typename T>
T Load(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
  return static_cast<T>(value);
}

template <typename T>
void Store(std::uint8_t* bytes, T value) {
  const auto raw = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<std::uint8_t>(raw >> (8 * i));
}

std::string LoadName(const std::uint8_t* field) {
  return std::string(reinterpret_cast<const char*>(field + 1), field[0]);
}

void StoreName(std::uint8_t* field, const std::string& name) {
  const std::size_t length = std::min<std::size_t>(name.size(), kZlbNameField - 1);
  field[0] = static_cast<std::uint8_t>(length);
  std::memcpy(field + 1, name.data(), length);
}

bool IsReservedDeviceName(std::wstring_view part) {
  // The device name counts with any extension ("nul.txt" is NUL).
  const std::wstring_view stem = part.substr(0, part.find(L'.'));
  std::wstring upper;
  for (wchar_t c : stem) upper += (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
  while (!upper.empty() && upper.back() == L' ') upper.pop_back();
  static constexpr std::array<std::wstring_view, 6> kPlain = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
  if (upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")))
    return (upper[3] >= L'0' && upper[3] <= L'9') || upper[3] == L'\u00B9' || upper[3] == L'\u00B2' ||
           upper[3] == L'\u00B3';
  return false;
}

bool IsPlainNamePart(std::wstring_view part) {
  if (part.empty() || part == L"." || part == L"..") return false;
  if (part.back() == L'.' || part.back() == L' ') return false;
  for (wchar_t c : part) {
    if (c < 32 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return false;
  }
  return !IsReservedDeviceName(part);
}

}  // namespace

TZlbFooter ParseZlbFooter(const std::uint8_t* bytes) {
  TZlbFooter footer;
  footer.version = Load<std::int32_t>(bytes + 16);
  // A version-1 footer keeps its version at 8 and its data size at 16, so
  // the version-2 field reads 1 only for one byte of data: a version-1
  // footer is known by either field (one with two bytes of data reads as
  // version 2, whose sizes then do not fit the file).
  const bool version1 = footer.version == 1 || (footer.version != 2 && Load<std::int32_t>(bytes + 8) == 1);
  if (version1) {
    footer.crc = Load<std::uint32_t>(bytes + 0);
    footer.count = Load<std::int32_t>(bytes + 4);
    footer.version = Load<std::int32_t>(bytes + 8);
    footer.tableSize = Load<std::int32_t>(bytes + 12);
    footer.tableOffset = Load<std::int32_t>(bytes + 16);
    footer.tableCompressed = bytes[20] != 0;
    return footer;
  }
  footer.tableOffset = Load<std::int64_t>(bytes + 0);
  footer.crc = Load<std::uint32_t>(bytes + 8);
  footer.count = Load<std::int32_t>(bytes + 12);
  footer.tableSize = Load<std::int32_t>(bytes + 20);
  footer.tableCompressed = bytes[24] != 0;
  return footer;
}

void WriteZlbFooter(const TZlbFooter& footer, std::uint8_t* bytes) {
  std::memset(bytes, 0, kZlbFooterSize);
  if (footer.version == 1) {
    Store<std::uint32_t>(bytes + 0, footer.crc);
    Store<std::int32_t>(bytes + 4, footer.count);
    Store<std::int32_t>(bytes + 8, 1);
    Store<std::int32_t>(bytes + 12, footer.tableSize);
    Store<std::int32_t>(bytes + 16, static_cast<std::int32_t>(footer.tableOffset));
    bytes[20] = footer.tableCompressed ? 1 : 0;
    return;
  }
  Store<std::int64_t>(bytes + 0, footer.tableOffset);
  Store<std::uint32_t>(bytes + 8, footer.crc);
  Store<std::int32_t>(bytes + 12, footer.count);
  Store<std::int32_t>(bytes + 16, footer.version);
  Store<std::int32_t>(bytes + 20, footer.tableSize);
  bytes[24] = footer.tableCompressed ? 1 : 0;
}

std::size_t ZlbRecordSize(int version) { return version == 1 ? kZlbRecordSizeV1 : kZlbRecordSizeV2; }

TZlbEntry ParseZlbRecord(const std::uint8_t* bytes, int version) {
  TZlbEntry entry;
  entry.fileName = LoadName(bytes);
  entry.folder = LoadName(bytes + kZlbNameField);
  if (version == 1) {
    entry.size = Load<std::int32_t>(bytes + 512);
    entry.size2 = Load<std::int32_t>(bytes + 516);
    entry.offset = Load<std::int32_t>(bytes + 520);
    entry.crc = Load<std::uint32_t>(bytes + 524);
    entry.method = bytes[528];
    entry.flags = bytes[529];
    return entry;
  }
  entry.size = Load<std::int64_t>(bytes + 512);
  entry.size2 = Load<std::int64_t>(bytes + 520);
  entry.encipheredSize = Load<std::int64_t>(bytes + 528);
  entry.offset = Load<std::int64_t>(bytes + 536);
  entry.crc = Load<std::uint32_t>(bytes + 544);
  entry.method = bytes[548];
  entry.flags = bytes[549];
  return entry;
}

void WriteZlbRecord(const TZlbEntry& entry, int version, std::uint8_t* bytes) {
  std::memset(bytes, 0, ZlbRecordSize(version));
  StoreName(bytes, entry.fileName);
  StoreName(bytes + kZlbNameField, entry.folder);
  if (version == 1) {
    Store<std::int32_t>(bytes + 512, static_cast<std::int32_t>(entry.size));
    Store<std::int32_t>(bytes + 516, static_cast<std::int32_t>(entry.size2));
    Store<std::int32_t>(bytes + 520, static_cast<std::int32_t>(entry.offset));
    Store<std::uint32_t>(bytes + 524, entry.crc);
    bytes[528] = entry.method;
    bytes[529] = entry.flags;
    return;
  }
  Store<std::int64_t>(bytes + 512, entry.size);
  Store<std::int64_t>(bytes + 520, entry.size2);
  Store<std::int64_t>(bytes + 528, entry.encipheredSize);
  Store<std::int64_t>(bytes + 536, entry.offset);
  Store<std::uint32_t>(bytes + 544, entry.crc);
  bytes[548] = entry.method;
  bytes[549] = entry.flags;
}

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
  // zlib takes at most UINT_MAX bytes per call.
  while (size > 0) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(size, UINT_MAX));
    crc = static_cast<std::uint32_t>(crc32(crc, data, n));
    data += n;
    size -= n;
  }
  return crc;
}

std::optional<std::wstring> ArchiveEntryTargetPath(const std::wstring& folder, const std::wstring& storedName) {
  if (folder.empty() || storedName.empty()) return std::nullopt;
  std::wstring path = folder;
  if (path.back() != L'\\') path += L'\\';
  std::size_t start = 0;
  while (true) {
    const std::size_t end = storedName.find_first_of(L"\\/", start);
    const std::wstring_view part = std::wstring_view(storedName).substr(start, end - start);
    // A leading separator (a rooted or UNC name) gives an empty first part.
    if (!IsPlainNamePart(part)) return std::nullopt;
    path += part;
    if (end == std::wstring::npos) break;
    path += L'\\';
    start = end + 1;
  }
  return path;
}

}  // namespace orvix
