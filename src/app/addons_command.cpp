// The "addons" console command (see addons_command.h).
#include "app/addons_command.h"

#include <algorithm>
#include <map>
#include <memory>

#include "addons/all_browser_cleaner.h"
#include "addons/browser_cleaners.h"
#include "app/orvix_commands.h"
#include "formats/json_writer.h"
#include "platform/file_helpers.h"
#include "platform/process_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

// The browsers' names on the command line.
constexpr struct {
  const wchar_t* name;
  TPluginBrowsr browser;
} kBrowserNames[] = {{L"ie", pbIE}, {L"chrome", pbChrome}, {L"firefox", pbFireFox}, {L"opera", pbOpera}};

TPluginBrowsr BrowserNamed(const std::wstring& name) {
  for (const auto& entry : kBrowserNames) {
    if (SameText(name, entry.name)) return entry.browser;
  }
  return pbUnknown;
}

std::wstring CommandNameOf(TPluginBrowsr browser) {
  for (const auto& entry : kBrowserNames) {
    if (entry.browser == browser) return entry.name;
  }
  return L"";
}

// Every browser's cleaner, scanned; switched-off add-ons are listed too
// when asked, so that they can be switched on again.
struct TScannedCleaners {
  std::vector<std::unique_ptr<TCustomBrowserCleaner>> owned;
  TAllBrowserCleaner all;

  explicit TScannedCleaners(bool includeInactive) : owned(MakeBrowserCleaners()) {
    for (auto& cleaner : owned) {
      cleaner->IncludeInactive = includeInactive;
      cleaner->ScanMozillaPluginsRegistry();
      cleaner->List();
      all.AddCleaner(cleaner.get());
    }
    all.BuildCombined();
  }
};

std::wstring TrustName(std::uint8_t state) { return state == ptTrusted ? L"trusted" : L"untrusted"; }

void PrintJson(const std::vector<const TPluginItem*>& items, ConsoleOutput& out) {
  TJsonWriter json;
  json.BeginArray();
  for (const TPluginItem* item : items) {
    json.BeginObject()
        .Key(L"browser").String(CommandNameOf(item->Browser))
        .Key(L"group").String(PluginGroupName(item->Collection.Kind))
        .Key(L"id").String(item->ItemID)
        .Key(L"caption").String(item->Caption)
        .Key(L"publisher").String(item->Publisher)
        .Key(L"version").String(item->Version)
        .Key(L"paths").BeginArray();
    for (const std::wstring& path : item->Paths) json.String(path);
    json.EndArray()
        .Key(L"active").Bool(item->Active)
        .Key(L"trust").String(TrustName(item->TrustState))
        .Key(L"is64Bit").Bool(item->Is64Bit)
        .EndObject();
  }
  json.EndArray();
  out.Line(json.Text());
}

void PrintText(const std::vector<const TPluginItem*>& items, ConsoleOutput& out) {
  if (items.empty()) {
    out.Line(L"No add-ons found.");
    return;
  }
  for (const TPluginItem* item : items) {
    std::wstring line = CommandNameOf(item->Browser) + L"\t" + PluginGroupName(item->Collection.Kind) + L"\t" +
                        (item->Active ? L"on" : L"off") + L"\t" + item->ItemID + L"\t" + item->Caption;
    if (!item->Version.empty()) line += L" " + item->Version;
    if (!item->Publisher.empty()) line += L" (" + item->Publisher + L")";
    if (item->Is64Bit) line += L" [64-bit]";
    out.Line(line);
  }
}

int List(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  bool json = false;
  TPluginBrowsr only = pbUnknown;
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == L"--json") {
      json = true;
    } else if (args[i] == L"--browser" && i + 1 < args.size()) {
      only = BrowserNamed(args[++i]);
      if (only == pbUnknown) return CommandLineError(err, L"unknown browser: " + args[i] + L" (ie, chrome, firefox, opera)");
    } else {
      return CommandLineError(err, L"unknown option for addons list: " + args[i]);
    }
  }
  TScannedCleaners scanned(true);
  std::vector<const TPluginItem*> items;
  for (const TCustomBrowserCleaner* cleaner : scanned.all.Cleaners) {
    if (only != pbUnknown && cleaner->Browser() != only) continue;
    for (const auto& item : cleaner->Items) items.push_back(item.get());
  }
  if (json) {
    PrintJson(items, out);
  } else {
    PrintText(items, out);
  }
  return ecOk;
}

// The entries an argument names: "ID" in any browser, or "BROWSER:ID".
// Empty, with the reason on `err`, when it names none or is ambiguous.
std::vector<TPluginItem*> EntriesNamed(const TAllBrowserCleaner& all, const std::wstring& arg, ConsoleOutput& err) {
  std::wstring id = arg;
  TPluginBrowsr only = pbUnknown;
  const std::size_t colon = arg.find(L':');
  if (colon != std::wstring::npos && BrowserNamed(arg.substr(0, colon)) != pbUnknown) {
    only = BrowserNamed(arg.substr(0, colon));
    id = arg.substr(colon + 1);
  }
  std::vector<TPluginItem*> found;
  std::vector<TPluginBrowsr> browsers;
  for (TCustomBrowserCleaner* cleaner : all.Cleaners) {
    if (only != pbUnknown && cleaner->Browser() != only) continue;
    for (const auto& item : cleaner->Items) {
      if (!SameText(item->ItemID, id)) continue;
      found.push_back(item.get());
      if (std::find(browsers.begin(), browsers.end(), item->Browser) == browsers.end()) browsers.push_back(item->Browser);
    }
  }
  if (found.empty()) {
    err.Line(L"orvix: no add-on " + arg + L" (\"orvix addons list\" shows their ids)");
  } else if (browsers.size() > 1) {
    std::wstring names;
    for (TPluginBrowsr browser : browsers) names += (names.empty() ? L"" : L", ") + CommandNameOf(browser) + L":" + id;
    err.Line(L"orvix: " + arg + L" is in more than one browser; name one: " + names);
    found.clear();
  }
  return found;
}

int Switch(const std::vector<std::wstring>& args, bool on, ConsoleOutput& out, ConsoleOutput& err) {
  const std::wstring verb = on ? L"enable" : L"disable";
  if (args.size() < 3) return CommandLineError(err, L"addons " + verb + L" needs at least one add-on id");
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (StartsWithText(args[i], L"--")) return CommandLineError(err, L"unknown option for addons " + verb + L": " + args[i]);
  }
  TScannedCleaners scanned(true);
  std::map<TCustomBrowserCleaner*, std::vector<std::wstring>> ids;
  bool allFound = true;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::vector<TPluginItem*> entries = EntriesNamed(scanned.all, args[i], err);
    allFound = allFound && !entries.empty();
    for (TPluginItem* entry : entries) {
      for (TCustomBrowserCleaner* cleaner : scanned.all.Cleaners) {
        if (cleaner->FindItem(entry->ID) == entry) ids[cleaner].push_back(entry->ID);
      }
    }
  }
  if (!allFound) {
    err.Line(L"orvix: nothing was changed.");
    return ecFailed;
  }
  // A running browser writes its own settings back when it exits, over ours.
  bool running = false;
  for (const auto& [cleaner, wanted] : ids) {
    for (const std::wstring& executable : cleaner->RunningCheckExecutables()) {
      if (!IsProcessRunning(executable)) continue;
      err.Line(L"orvix: " + executable + L" is running; close " + BrowserDisplayName(cleaner->Browser()) +
               L" first (it would write its add-on settings back when it exits).");
      running = true;
    }
  }
  if (running) {
    err.Line(L"orvix: nothing was changed.");
    return ecFailed;
  }
  bool allSwitched = true;
  for (const auto& [cleaner, wanted] : ids) {
    cleaner->OnPluginAction = [&](TCustomBrowserCleaner& acting, TPluginItem* item, bool success, std::uint8_t) {
      if (item == nullptr) return;
      const std::wstring name = item->Caption + L" (" + CommandNameOf(item->Browser) + L":" + item->ItemID +
                                (item->Is64Bit ? L", 64-bit)" : L")");
      if (success) {
        out.Line((on ? L"Switched on: " : L"Switched off: ") + name);
      } else {
        err.Line((on ? L"orvix: could not switch on: " : L"orvix: could not switch off: ") + name);
        const std::wstring problem = acting.LastSwitchProblem();
        if (!problem.empty()) err.Line(L"orvix: " + problem);
        allSwitched = false;
      }
    };
    if (on) {
      cleaner->RestoreItems(wanted);
    } else {
      cleaner->RemoveItems(wanted);
    }
  }
  return allSwitched ? ecOk : ecFailed;
}

int Export(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  if (args.size() != 3 || StartsWithText(args[2], L"--")) return CommandLineError(err, L"addons export needs one FILE");
  TScannedCleaners scanned(false);
  const std::wstring text = scanned.all.ExportText();
  if (!ReplaceFileBytes(args[2], EncodeTextFile(text, TextEncoding::Utf16LeBom))) {
    err.Line(L"orvix: could not write " + args[2]);
    return ecFailed;
  }
  out.Line(L"Wrote the add-on list to " + args[2]);
  return ecOk;
}

}  // namespace

int RunAddonsCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  const std::wstring sub = args.size() > 1 ? args[1] : L"";
  if (sub == L"list") return List(args, out, err);
  if (sub == L"disable") return Switch(args, false, out, err);
  if (sub == L"enable") return Switch(args, true, out, err);
  if (sub == L"export") return Export(args, out, err);
  return CommandLineError(err, sub.empty() ? L"addons needs list, disable, enable or export" : L"unknown addons command: " + sub);
}

}  // namespace orvix
