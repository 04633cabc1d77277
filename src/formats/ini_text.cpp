#include "formats/ini_text.h"

#include <climits>

#include "platform/text.h"

namespace orvix {
namespace {

// The name of a section header line: the trimmed text between "[" and the
// last "]"; nullopt for any other line.
std::optional<std::wstring> SectionHeaderName(std::wstring_view line) {
  const std::wstring trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != L'[') return std::nullopt;
  const std::size_t close = trimmed.rfind(L']');
  if (close == std::wstring::npos || close == 0) return std::nullopt;
  return Trim(std::wstring_view(trimmed).substr(1, close - 1));
}

bool IsComment(std::wstring_view line) {
  const std::wstring trimmed = Trim(line);
  return !trimmed.empty() && trimmed.front() == L';';
}

// Windows drops one pair of matching single or double quotes around a value.
std::wstring StripQuotes(std::wstring value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

IniText::IniText(std::wstring_view text) : lines_(SplitTextLines(text)) {
  for (const TTextLine& line : lines_) {
    if (line.ending.empty()) continue;
    newline_ = line.ending;
    break;
  }
}

std::wstring IniText::Text() const { return JoinTextLines(lines_); }

std::optional<IniText::SectionRange> IniText::FindSection(std::wstring_view section) const {
  const std::wstring wanted = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::optional<std::wstring> name = SectionHeaderName(lines_[i].text);
    if (!name || !SameText(*name, wanted)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionHeaderName(lines_[end].text)) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniText::FindKey(const SectionRange& range, std::wstring_view key) const {
  const std::wstring wanted = Trim(key);
  for (std::size_t i = range.begin + 1; i < range.end; ++i) {
    if (IsComment(lines_[i].text)) continue;
    const std::optional<IniKeyLine> keyLine = SplitIniKeyLine(lines_[i].text);
    if (keyLine && SameText(keyLine->name, wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::wstring> IniText::Read(std::wstring_view section, std::wstring_view key) const {
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) return std::nullopt;
  const std::optional<std::size_t> line = FindKey(*range, key);
  if (!line) return std::nullopt;
  return StripQuotes(SplitIniKeyLine(lines_[*line].text)->value);
}

std::wstring IniText::ReadString(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view defaultValue) const {
  std::optional<std::wstring> value = Read(section, key);
  return value ? std::move(*value) : std::wstring(defaultValue);
}

int IniText::ReadInt(std::wstring_view section, std::wstring_view key, int defaultValue) const {
  const std::optional<std::wstring> value = Read(section, key);
  return value ? ParseProfileInt(*value, defaultValue) : defaultValue;
}

void IniText::InsertLine(std::size_t at, std::wstring text) {
  // A last line without a break gets one before anything follows it.
  if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = newline_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), TTextLine{std::move(text), newline_});
}

void IniText::Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  const std::wstring keyText = IniSingleLine(key);
  const std::wstring valueText = IniSingleLine(value);
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) {
    InsertLine(lines_.size(), L"[" + IniSingleLine(section) + L"]");
    InsertLine(lines_.size(), keyText + L"=" + valueText);
    return;
  }
  if (const std::optional<std::size_t> line = FindKey(*range, key)) {
    // The key keeps the spelling the file gives it.
    lines_[*line].text = SplitIniKeyLine(lines_[*line].text)->name + L"=" + valueText;
    return;
  }
  // After the section's last line that is neither blank nor a comment, so that
  // blank lines and comments that lead into the next section stay with it.
  std::size_t at = range->end;
  while (at > range->begin + 1 && (Trim(lines_[at - 1].text).empty() || IsComment(lines_[at - 1].text))) --at;
  InsertLine(at, keyText + L"=" + valueText);
}

bool IniText::Remove(std::wstring_view section, std::wstring_view key) {
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) return false;
  const std::optional<std::size_t> line = FindKey(*range, key);
  if (!line) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
  return true;
}

std::vector<std::wstring> IniText::SectionNames() const {
  std::vector<std::wstring> names;
  for (const TTextLine& line : lines_) {
    std::optional<std::wstring> name = SectionHeaderName(line.text);
    if (!name) continue;
    bool known = false;
    for (const std::wstring& seen : names) known = known || SameText(seen, *name);
    if (!known) names.push_back(std::move(*name));
  }
  return names;
}

std::vector<std::wstring> IniText::KeyNames(std::wstring_view section) const {
  std::vector<std::wstring> names;
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) return names;
  for (std::size_t i = range->begin + 1; i < range->end; ++i) {
    if (IsComment(lines_[i].text)) continue;
    if (std::optional<IniKeyLine> keyLine = SplitIniKeyLine(lines_[i].text)) names.push_back(std::move(keyLine->name));
  }
  return names;
}

int ParseProfileInt(std::wstring_view value, int defaultValue) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) negative = value[i++] == L'-';
  if (i >= value.size() || value[i] < L'0' || value[i] > L'9') return defaultValue;
  long long number = 0;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) {
    number = number * 10 + (value[i] - L'0');
    if (number > limit) number = limit;
  }
  return static_cast<int>(negative ? -number : number);
}

std::optional<IniKeyLine> SplitIniKeyLine(std::wstring_view line) {
  const std::size_t equals = line.find(L'=');
  if (equals == std::wstring_view::npos) return std::nullopt;
  return IniKeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::wstring IniSingleLine(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return out;
}

}  // namespace orvix
