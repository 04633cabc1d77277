#include "app/software_commands.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/entry_lookup.h"
#include "app/orvix_commands.h"
#include "formats/json_writer.h"
#include "inventory/analysis_cache.h"
#include "inventory/analysis_thread.h"
#include "inventory/list_export.h"
#include "inventory/list_labels.h"
#include "inventory/list_model.h"
#include "inventory/software_info.h"
#include "language/messages.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

int Failure(ConsoleOutput& err, const std::wstring& message) {
  err.Line(L"orvix: " + message);
  return ecFailed;
}

struct TCategoryName {
  const wchar_t* name;
  TSoftwareCategory category;
};
constexpr std::array<TCategoryName, 5> kCategoryNames = {{{L"all", scAllPrograms},
                                                          {L"recent", scRecentlyInstalled},
                                                          {L"large", scLargePrograms},
                                                          {L"rarely", scInfrequentlyUsed},
                                                          {L"updates", scWindowsUpdates}}};

struct TListOptions {
  TSoftwareCategory category = scAllPrograms;
  std::wstring filter;
  bool json = false;
  bool analysis = true;
};

// Parses the list options; an error message when the command line is wrong.
std::optional<std::wstring> ParseListOptions(const std::vector<std::wstring>& args, TListOptions& options) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--json") {
      options.json = true;
    } else if (arg == L"--no-analysis") {
      options.analysis = false;
    } else if (arg == L"--category" || arg == L"--filter") {
      if (i + 1 == args.size()) return L"list " + arg + L" needs a value";
      const std::wstring& value = args[++i];
      if (arg == L"--filter") {
        options.filter = value;
        continue;
      }
      const auto known = std::find_if(kCategoryNames.begin(), kCategoryNames.end(),
                                      [&](const TCategoryName& c) { return SameText(c.name, value); });
      if (known == kCategoryNames.end())
        return L"unknown category: " + value + L" (use all, recent, large, rarely or updates)";
      options.category = known->category;
    } else if (StartsWithText(arg, L"-")) {
      return L"unknown option for list: " + arg;
    } else {
      return L"list takes no arguments, got: " + arg;
    }
  }
  return std::nullopt;
}

std::wstring InstallDateIso(TDateTime date) { return FormatDate(date, L"yyyy-MM-dd"); }

// The field names are part of the console's interface: scripts and the
// end-to-end tests read them.
std::wstring ListJson(const std::vector<TListRow>& rows) {
  TJsonWriter json;
  json.BeginArray();
  for (const TListRow& row : rows) {
    const TSoftInfo& e = *row.entry;
    json.BeginObject();
    json.Key(L"DisplayName").String(e.DisplayName);
    json.Key(L"Publisher").String(e.Publisher);
    json.Key(L"DisplayVersion").String(e.DisplayVersion);
    json.Key(L"HelpLink").String(e.HelpLink);
    json.Key(L"URLInfoAbout").String(e.URLInfoAbout);
    json.Key(L"URLUpdateInfo").String(e.URLUpdateInfo);
    json.Key(L"UninstallString").String(e.UninstallString);
    json.Key(L"InstallLocation").String(e.InstallLocation);
    json.Key(L"DisplayIcon").String(e.DisplayIcon);
    json.Key(L"IconIndex").Int(e.IconIndex);
    json.Key(L"Readme").String(e.Readme);
    json.Key(L"RootName").String(e.RootName);
    json.Key(L"KeyPath").String(e.KeyPath);
    json.Key(L"Size").Int(e.Size);
    json.Key(L"SizeText").String(e.SizeText);
    json.Key(L"InstallDate");
    if (e.InstallDate != 0) {
      json.String(InstallDateIso(e.InstallDate));
    } else {
      json.Null();
    }
    json.Key(L"InstallDateText").String(e.InstallDateText);
    json.Key(L"IsX64").Bool(e.IsX64);
    json.Key(L"IsUpdate").Bool(e.IsUpdate);
    json.Key(L"IsSystemComponent").Bool(e.IsSystemComponent);
    json.Key(L"IsToolbar").Bool(e.IsToolbar);
    json.Key(L"UseRange").String(UseRangeName(e.UseRange));
    json.Key(L"UseRate").String(UseRateName(e.UseRate));
    json.EndObject();
  }
  json.EndArray();
  return json.Text();
}

// Registry texts may hold line breaks and tabs; a table cell shows them as spaces.
std::wstring Cell(std::wstring text) {
  for (wchar_t& c : text) {
    if (c < L' ') c = L' ';
  }
  return Trim(text);
}

// Columns padded to their widest cell, two spaces apart.
void WriteTable(ConsoleOutput& out, const std::vector<std::vector<std::wstring>>& table) {
  std::vector<std::size_t> widths(table.front().size(), 0);
  for (const auto& line : table) {
    for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], line[c].size());
  }
  for (const auto& line : table) {
    std::wstring text;
    for (std::size_t c = 0; c < line.size(); ++c) {
      text += line[c];
      if (c + 1 < line.size()) text.append(widths[c] - line[c].size() + 2, L' ');
    }
    out.Line(text.substr(0, text.find_last_not_of(L' ') + 1));
  }
}

void ListText(ConsoleOutput& out, const std::vector<TListRow>& rows) {
  if (rows.empty()) {
    out.Line(L"No programs listed.");
    return;
  }
  std::vector<std::vector<std::wstring>> table = {{L"Name", L"Version", L"Publisher", L"Size", L"Installed", L"Used"}};
  for (const TListRow& row : rows) {
    const TSoftInfo& e = *row.entry;
    table.push_back({Cell(NameWithView(e)), Cell(e.DisplayVersion), Cell(e.Publisher), e.SizeText,
                     Cell(e.InstallDateText), UsageLabel(e.UseRange, e.UseRate)});
  }
  WriteTable(out, table);
  out.Line(L"");
  out.Line(std::to_wstring(rows.size()) + (rows.size() == 1 ? L" program" : L" programs"));
}

// A path the replace helper can take: backslashes, and a folder part even
// for a bare file name (the current folder).
std::wstring ConsolePath(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.find_first_of(L"\\:") == std::wstring::npos) path = L".\\" + path;
  return path;
}

std::wstring KeyText(const TSoftInfo& entry) {
  return entry.RootName + entry.KeyPath + (entry.IsX64 ? L" (64-bit view)" : L"");
}

}  // namespace

void PrepareInventory(TSoftwareInfo& inventory, bool runAnalysis) {
  const std::wstring cachePath = SoftwareCachePath();
  ApplyCache(cachePath, inventory.Items());
  if (!runAnalysis) return;
  // Rates every entry's usage and measures what the entries lack, on this
  // thread, keeping the findings in the cache.
  AnalyseNow(inventory.Items(), {cachePath});
}

int RunListCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  TListOptions options;
  if (const auto error = ParseListOptions(args, options)) return CommandLineError(err, *error);
  TSoftwareInfo inventory;
  PrepareInventory(inventory, options.analysis);
  const std::vector<TListRow> rows = ListRows(inventory.Items(), options.category, lvmIcons, options.filter);
  if (options.json) {
    out.Line(ListJson(rows));
  } else {
    ListText(out, rows);
  }
  return ecOk;
}

int RunExportCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  std::wstring file;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (StartsWithText(args[i], L"-")) return CommandLineError(err, L"unknown option for export: " + args[i]);
    if (!file.empty()) return CommandLineError(err, L"export takes one file, got another: " + args[i]);
    file = args[i];
  }
  if (file.empty()) return CommandLineError(err, L"export needs a file to write, e.g. orvix export software.txt");

  const std::wstring path = ConsolePath(file);
  const std::wstring folder = path.substr(0, path.find_last_of(L"\\:") + 1);
  if (DirectoryExists(path)) return Failure(err, L"cannot write " + file + L": it is a folder");
  if (!DirectoryExists(folder)) return Failure(err, L"cannot write " + file + L": the folder does not exist");

  TSoftwareInfo inventory;
  PrepareInventory(inventory, true);
  // The add-on list follows the software list once the add-on cleaner exists.
  if (!SaveSoftwareList(path, inventory.Items()))
    return Failure(err, L"cannot write " + file + L" (access denied, or the file is in use)");
  const auto count = std::count_if(inventory.Items().begin(), inventory.Items().end(),
                                   [](const auto& entry) { return !entry->Hidden; });
  out.Line(L"Exported " + std::to_wstring(count) + (count == 1 ? L" program to " : L" programs to ") + file);
  return ecOk;
}

int RunRemoveEntryCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                          const TReadLine& readLine) {
  std::wstring name;
  bool assumeYes = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--yes") {
      assumeYes = true;
    } else if (StartsWithText(args[i], L"-")) {
      return CommandLineError(err, L"unknown option for remove-entry: " + args[i]);
    } else if (!name.empty()) {
      return CommandLineError(err,
                              L"remove-entry takes one name, got another: " + args[i] + L" (quote a name with spaces)");
    } else {
      name = args[i];
    }
  }
  if (Trim(name).empty()) return CommandLineError(err, L"remove-entry needs the name of an installed program");

  TSoftwareInfo inventory;
  TSoftInfo* found = FindEntryByName(inventory, name, nmWholeOrOnlyPart, err);
  if (found == nullptr) return ecFailed;
  out.Line(NameWithView(*found) + L": " + KeyText(*found));
  if (!assumeYes &&
      !AskYesNo(out, Text(msg::RemoveEntry_ASK), readLine)) {
    out.Line(L"Nothing was removed.");
    return ecFailed;
  }
  if (!inventory.RemoveEntry(found)) return Failure(err, L"could not delete the key " + KeyText(*found));
  out.Line(L"Removed the entry of " + NameWithView(*found) + L".");
  return ecOk;
}

}  // namespace orvix
