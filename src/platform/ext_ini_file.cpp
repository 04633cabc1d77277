#include "platform/ext_ini_file.h"

#include <charconv>
#include <cmath>

#include "formats/ini_text.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvix {
namespace {

// The software cache of a machine with thousands of programs is a few
// megabytes, a language file far less.
constexpr std::uint64_t kMaxIniFileSize = 64 << 20;

// The key of a "name=value" line (the text before its first "="); nullopt
// for a line without "=".
std::optional<std::wstring_view> KeyOf(std::wstring_view line) {
  const std::size_t equals = line.find(L'=');
  if (equals == std::wstring_view::npos) return std::nullopt;
  return line.substr(0, equals);
}

// Only ASCII text can be a number; anything else makes the parse fail.
std::optional<std::string> AsciiOf(std::wstring_view text) {
  std::string ascii;
  for (wchar_t c : text) {
    if (c <= 0 || c > 0x7F) return std::nullopt;
    ascii += static_cast<char>(c);
  }
  return ascii;
}

}  // namespace

void TExtIniFile::Section::IndexKeys() {
  keys.clear();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const std::optional<std::wstring_view> key = KeyOf(lines[i])) keys.emplace(UpperCase(*key), i);
  }
}

const std::wstring* TExtIniFile::Section::FindLine(std::wstring_view key) const {
  const auto found = keys.find(UpperCase(key));
  return found == keys.end() ? nullptr : &lines[found->second];
}

void TExtIniFile::IndexSections() {
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(UpperCase(sections_[i].name), i);
}

const TExtIniFile::Section* TExtIniFile::FindSection(std::wstring_view name) const {
  const auto found = sectionIndex_.find(UpperCase(name));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

TExtIniFile::Section* TExtIniFile::FindSection(std::wstring_view name) {
  return const_cast<Section*>(static_cast<const TExtIniFile*>(this)->FindSection(name));
}

bool TExtIniFile::Load(const std::wstring& path) {
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, kMaxIniFileSize)) {
    LoadText(L"");
    return false;
  }
  LoadText(DecodeTextFile(bytes));
  return true;
}

void TExtIniFile::LoadText(std::wstring_view text) {
  sections_.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == L';') continue;
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      sections_.push_back(Section{Trim(std::wstring_view(line).substr(1, line.size() - 2)), {}, {}});
    } else if (!sections_.empty()) {
      const std::optional<IniKeyLine> keyLine = SplitIniKeyLine(line);
      sections_.back().lines.push_back(keyLine ? keyLine->name + L"=" + keyLine->value : line);
    }
  }
  for (Section& section : sections_) section.IndexKeys();
  IndexSections();
}

std::wstring TExtIniFile::Text() const {
  std::wstring text;
  for (const Section& section : sections_) {
    text += L"[" + section.name + L"]\r\n";
    for (const std::wstring& line : section.lines) text += line + L"\r\n";
    text += L"\r\n";
  }
  return text;
}

bool TExtIniFile::Save(const std::wstring& path) const {
  return ReplaceFileBytes(path, EncodeTextFile(Text(), TextEncoding::Utf16LeBom));
}

std::wstring TExtIniFile::ReadString(std::wstring_view section, std::wstring_view key,
                                     std::wstring_view defaultValue) const {
  const Section* found = FindSection(section);
  const std::wstring* line = found ? found->FindLine(key) : nullptr;
  return line ? line->substr(line->find(L'=') + 1) : std::wstring(defaultValue);
}

void TExtIniFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  // Names and value as Load reads them back, so that a saved file holds
  // what was read before the save.
  const std::wstring sectionName = Trim(IniSingleLine(section));
  Section* target = FindSection(sectionName);
  if (target == nullptr) {
    sections_.push_back(Section{sectionName, {}, {}});
    sectionIndex_.emplace(UpperCase(sections_.back().name), sections_.size() - 1);
    target = &sections_.back();
  }
  const std::wstring keyText = Trim(IniSingleLine(key));
  const std::wstring line = keyText + L"=" + Trim(IniSingleLine(value));
  const auto found = target->keys.find(UpperCase(keyText));
  if (found != target->keys.end()) {
    target->lines[found->second] = line;
  } else {
    target->lines.push_back(line);
    target->keys.emplace(UpperCase(keyText), target->lines.size() - 1);
  }
}

std::int64_t TExtIniFile::ReadInteger(std::wstring_view section, std::wstring_view key,
                                      std::int64_t defaultValue) const {
  const std::optional<std::string> text = AsciiOf(ReadString(section, key, L""));
  if (!text || text->empty()) return defaultValue;
  const char* first = text->data() + (text->front() == '+' ? 1 : 0);
  const char* last = text->data() + text->size();
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  return (error == std::errc() && end == last) ? value : defaultValue;
}

void TExtIniFile::WriteInteger(std::wstring_view section, std::wstring_view key, std::int64_t value) {
  WriteString(section, key, std::to_wstring(value));
}

double TExtIniFile::ReadFloat(std::wstring_view section, std::wstring_view key, double defaultValue) const {
  std::wstring text = ReadString(section, key, L"");
  const wchar_t separator = CurrentPlatform().Locale().DecimalSeparator();
  for (wchar_t& c : text) {
    if (c == separator || c == L',') c = L'.';
  }
  const std::optional<std::string> ascii = AsciiOf(text);
  if (!ascii || ascii->empty()) return defaultValue;
  const char* first = ascii->data() + (ascii->front() == '+' ? 1 : 0);
  const char* last = ascii->data() + ascii->size();
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  return (error == std::errc() && end == last && std::isfinite(value)) ? value : defaultValue;
}

void TExtIniFile::WriteFloat(std::wstring_view section, std::wstring_view key, double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::wstring text(buffer, result.ptr);
  const wchar_t separator = CurrentPlatform().Locale().DecimalSeparator();
  for (wchar_t& c : text) {
    if (c == L'.') c = separator;
  }
  WriteString(section, key, text);
}

std::vector<std::wstring> TExtIniFile::ReadSection(std::wstring_view section) const {
  std::vector<std::wstring> names;
  if (const Section* found = FindSection(section)) {
    for (const std::wstring& line : found->lines) {
      if (const std::optional<std::wstring_view> key = KeyOf(line)) names.emplace_back(*key);
    }
  }
  return names;
}

std::vector<std::wstring> TExtIniFile::ReadSectionValues(std::wstring_view section) const {
  const Section* found = FindSection(section);
  return found ? found->lines : std::vector<std::wstring>();
}

void TExtIniFile::EraseSection(std::wstring_view section) {
  std::erase_if(sections_, [&](const Section& s) { return SameText(s.name, section); });
  IndexSections();
}

void TExtIniFile::DeleteKey(std::wstring_view section, std::wstring_view key) {
  Section* target = FindSection(section);
  if (target == nullptr) return;
  const auto found = target->keys.find(UpperCase(key));
  if (found == target->keys.end()) return;
  target->lines.erase(target->lines.begin() + static_cast<std::ptrdiff_t>(found->second));
  target->IndexKeys();
}

}  // namespace orvix
