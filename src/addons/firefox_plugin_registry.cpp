#include "addons/firefox_plugin_registry.h"

#include "addons/browser_text_file.h"
#include "formats/text_lines.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kLineEnd[] = L"|$";
constexpr std::size_t kMaxCountDigits = 9;

bool IsPluginsHeader(std::wstring_view line) { return SameText(Trim(line), L"[PLUGINS]"); }

// A line that is a count: an optional minus sign and digits only.
bool IsNumberLine(std::wstring_view line) {
  const std::wstring text = Trim(line);
  std::size_t i = (!text.empty() && text[0] == L'-') ? 1 : 0;
  if (i >= text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
  }
  return true;
}

// The count of a number line; -1 for a negative or oversized one.
long long CountOf(std::wstring_view line) {
  const std::wstring text = Trim(line);
  if (text.empty() || text[0] == L'-' || text.size() > kMaxCountDigits) return -1;
  return std::stoll(text);
}

std::wstring Field(const std::vector<std::wstring>& group, std::size_t index) {
  if (index >= group.size()) return {};
  std::wstring text = group[index];
  for (std::size_t at = text.find(kLineEnd); at != std::wstring::npos; at = text.find(kLineEnd, at)) {
    text.erase(at, 2);
  }
  return text;
}

// The text between the second and the third "|"; npos positions when the
// line has fewer than three.
struct FlagsField {
  std::size_t begin = std::wstring::npos;  // after the second "|"
  std::size_t end = std::wstring::npos;    // at the third "|"
};
FlagsField FindFlags(std::wstring_view line) {
  const std::size_t first = line.find(L'|');
  if (first == std::wstring_view::npos) return {};
  const std::size_t second = line.find(L'|', first + 1);
  if (second == std::wstring_view::npos) return {};
  const std::size_t third = line.find(L'|', second + 1);
  if (third == std::wstring_view::npos) return {};
  return {second + 1, third};
}

}  // namespace

std::vector<TPluginRegRecord> ReadPluginRegistry(std::wstring_view text) {
  const std::vector<TTextLine> lines = SplitTextLines(text);
  std::size_t i = 0;
  while (i < lines.size() && !IsPluginsHeader(lines[i].text)) ++i;
  // Groups run from one count line to the next: the count of the block
  // before, its MIME lines, then the six lines of the next block. The first
  // block has no count before it.
  std::vector<std::vector<std::wstring>> groups;
  groups.push_back({L"0"});
  for (++i; i < lines.size() && !lines[i].text.empty(); ++i) {
    if (IsNumberLine(lines[i].text)) groups.emplace_back();
    groups.back().push_back(lines[i].text);
  }

  std::vector<TPluginRegRecord> records;
  for (const std::vector<std::wstring>& group : groups) {
    const long long count = CountOf(group[0]);
    // A count beyond what the group holds cannot be this record's.
    if (count < 0 || static_cast<std::size_t>(count) + 2 >= group.size()) continue;
    const std::size_t n = static_cast<std::size_t>(count);
    TPluginRegRecord record;
    record.fileName = Field(group, n + 1);
    record.path = Field(group, n + 2);
    record.version = Field(group, n + 3);
    record.description = Field(group, n + 5);
    record.name = n + 6 < group.size() ? Field(group, n + 6) : record.description;
    if (record.name.empty() || record.path.empty()) continue;
    if (n + 4 < group.size()) {
      const FlagsField flags = FindFlags(group[n + 4]);
      if (flags.begin != std::wstring::npos) record.active = group[n + 4].substr(flags.begin, flags.end - flags.begin) != L"4";
    }
    records.push_back(std::move(record));
  }
  return records;
}

std::size_t SetPluginRegistryFlags(std::wstring& text, const std::wstring& fileName, const std::wstring& path,
                                   bool enabled) {
  std::vector<TTextLine> lines = SplitTextLines(text);
  std::size_t i = 0;
  while (i < lines.size() && !IsPluginsHeader(lines[i].text)) ++i;
  std::size_t found = 0;
  for (; i + 3 < lines.size(); ++i) {
    if (!SameText(lines[i].text, fileName + kLineEnd) || !SameText(lines[i + 1].text, path + kLineEnd)) continue;
    std::wstring& flagsLine = lines[i + 3].text;
    const FlagsField flags = FindFlags(flagsLine);
    if (flags.begin == std::wstring::npos) continue;
    flagsLine.replace(flags.begin, flags.end - flags.begin, enabled ? L"5" : L"4");
    ++found;
  }
  text = JoinTextLines(lines);
  return found;
}

bool SetPluginRegistryFlagsInFile(const std::wstring& file, const std::wstring& fileName, const std::wstring& path,
                                  bool enabled) {
  TBrowserTextFile registry;
  if (!ReadBrowserTextFile(file, registry)) return false;
  const std::wstring before = registry.text;
  if (SetPluginRegistryFlags(registry.text, fileName, path, enabled) == 0) return false;
  return registry.text == before || WriteBrowserTextFile(file, registry);
}

}  // namespace orvix
