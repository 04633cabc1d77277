#include "platform/profile_ini.h"

#include "formats/ini_text.h"
#include "platform/file_helpers.h"
#include "platform/missing.h"

namespace orvix {
namespace {

// Settings files hold a few kilobytes.
constexpr std::uint64_t kMaxProfileSize = 16 << 20;

// One INI file as read from disk.
struct ProfileFile {
  bool exists = false;
  TextEncoding encoding = TextEncoding::Utf16LeBom;
  IniText ini;
};

// False when the file exists but cannot be read: a write must then leave it alone.
bool LoadProfile(const std::wstring& path, ProfileFile& file) {
  if (path.empty() || PathMissing(path)) return true;
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, kMaxProfileSize)) return false;
  file.exists = true;
  // An empty file has no encoding of its own yet; it is written like a new one.
  if (!bytes.empty()) file.ini = IniText(DecodeTextFile(bytes, &file.encoding));
  return true;
}

IniText ReadOnly(const std::wstring& path) {
  ProfileFile file;
  LoadProfile(path, file);
  return file.ini;
}

}  // namespace

std::wstring ReadIniString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue) {
  return ReadOnly(path).ReadString(section, key, defaultValue);
}

int ReadIniInt(const std::wstring& path, const std::wstring& section, const std::wstring& key, int defaultValue) {
  return ReadOnly(path).ReadInt(section, key, defaultValue);
}

bool ReadIniBool(const std::wstring& path, const std::wstring& section, const std::wstring& key, bool defaultValue) {
  return ReadIniInt(path, section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::wstring> ReadIniSectionNames(const std::wstring& path) { return ReadOnly(path).SectionNames(); }

bool WriteIniString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) {
  ProfileFile file;
  if (path.empty() || !LoadProfile(path, file)) return false;
  const std::wstring before = file.ini.Text();
  file.ini.Write(section, key, value);
  const std::wstring text = file.ini.Text();
  if (file.exists && text == before) return true;
  if (file.encoding == TextEncoding::Ansi && !FitsAnsiCodePage(text)) file.encoding = TextEncoding::Utf16LeBom;
  return ReplaceFileBytes(path, EncodeTextFile(text, file.encoding));
}

bool WriteIniInt(const std::wstring& path, const std::wstring& section, const std::wstring& key, int value) {
  return WriteIniString(path, section, key, std::to_wstring(value));
}

bool WriteIniBool(const std::wstring& path, const std::wstring& section, const std::wstring& key, bool value) {
  return WriteIniString(path, section, key, value ? L"1" : L"0");
}

}  // namespace orvix
