#include "app/scan_command.h"

#include <optional>

#include "app/entry_lookup.h"
#include "app/orvix_commands.h"
#include "formats/json_writer.h"
#include "inventory/software_info.h"
#include "platform/file_helpers.h"
#include "platform/protected_locations.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "uninstall/leftover_scan.h"

namespace orvix {
namespace {

struct TScanOptions {
  std::wstring name;
  std::wstring folder;
  bool json = false;
};

std::optional<std::wstring> ParseScanOptions(const std::vector<std::wstring>& args, TScanOptions& options) {
  bool folderGiven = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--json") {
      options.json = true;
    } else if (arg == L"--folder") {
      if (i + 1 == args.size()) return L"scan --folder needs a path";
      options.folder = args[++i];
      folderGiven = true;
    } else if (StartsWithText(arg, L"-")) {
      return L"unknown option for scan: " + arg;
    } else if (!options.name.empty()) {
      return L"scan takes one name, got another: " + arg + L" (quote a name with spaces)";
    } else {
      options.name = arg;
    }
  }
  if (folderGiven && !options.name.empty()) return L"scan takes a program's name or --folder PATH, not both";
  if (folderGiven && Trim(options.folder).empty()) return L"scan --folder needs a path";
  if (!folderGiven && Trim(options.name).empty())
    return L"scan needs the name of an installed program, or --folder PATH";
  if (folderGiven && CanonicalFolder(options.folder).empty())
    return L"scan --folder needs a full path, e.g. C:\\Tools\\Foo: " + options.folder;
  return std::nullopt;
}

const TLeftoverNode* Category(const TLeftoverNode* program, TTreeNodeType type) {
  if (program == nullptr) return nullptr;
  for (const auto& child : program->Children) {
    if (child->Data.NodeType == type) return child.get();
  }
  return nullptr;
}

// The field names are part of the console's interface: scripts and the
// end-to-end tests read them.
std::wstring ScanJson(const std::wstring& programName, const TLeftoverNode* program) {
  TJsonWriter json;
  json.BeginObject();
  json.Key(L"program").String(programName);
  json.Key(L"registry").BeginArray();
  if (const TLeftoverNode* registry = Category(program, ntRegistryCategory)) {
    for (const auto& node : registry->Children) {
      const TMyTreeData& f = node->Data;
      const bool isKey = f.ValueName.empty() && f.ValueData.empty();
      json.BeginObject();
      json.Key(L"root").String(RootKeyName(f.RootKey));
      json.Key(L"key").String(f.KeyPath);
      for (const auto& [name, text] : {std::pair{L"value", &f.ValueName}, std::pair{L"data", &f.ValueData}}) {
        json.Key(name);
        if (isKey) {
          json.Null();
        } else if (text == &f.ValueName && Trim(*text).empty()) {
          json.String(L"");  // the key's default value, whatever marker the scan gave it
        } else {
          json.String(*text);
        }
      }
      json.Key(L"text").String(node->Text);
      json.Key(L"view").String(f.View64 ? L"64" : L"32");
      if (f.StillInstalled) json.Key(L"stillInstalled").Bool(true);
      json.EndObject();
    }
  }
  json.EndArray();
  json.Key(L"files").BeginArray();
  if (const TLeftoverNode* files = Category(program, ntFileCategory)) {
    for (const auto& node : files->Children) {
      const TMyTreeData& f = node->Data;
      json.BeginObject();
      json.Key(L"path").String(f.FilePath);
      json.Key(L"kind").String(f.FileKind == sfkFolder ? L"folder" : L"file");
      json.Key(L"size").Int(f.FileSize);
      if (f.StillInstalled) json.Key(L"stillInstalled").Bool(true);
      json.EndObject();
    }
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

}  // namespace

void PrintLeftovers(ConsoleOutput& out, const std::wstring& programName, const TLeftoverNode* program) {
  if (program == nullptr) {
    out.Line(L"No leftovers of " + programName + L" were found.");
    return;
  }
  out.Line(program->Text);
  for (const auto& category : program->Children) {
    out.Line(L"  " + category->Text);
    for (const auto& finding : category->Children) out.Line(L"    " + finding->Text);
  }
}

int RunScanCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  TScanOptions options;
  if (const auto error = ParseScanOptions(args, options)) return CommandLineError(err, *error);

  TSoftwareInfo inventory;
  const TSoftInfo* entry = nullptr;
  std::wstring programName;
  if (options.folder.empty()) {
    entry = FindEntryByName(inventory, options.name, nmWholeName, err);
    if (entry == nullptr) return ecFailed;
    programName = entry->DisplayName;
  } else {
    if (!FileExists(options.folder) && !DirectoryExists(options.folder)) {
      err.Line(L"orvix: cannot scan " + options.folder + L": no such file or folder");
      return ecFailed;
    }
    programName = FolderScanRecord(options.folder).DisplayName;
  }

  TLeftoverTree tree;
  TLeftoverScan scan;
  const int found = scan.ScanLeftovers(entry, tree, options.folder);
  const TLeftoverNode* program = found > 0 ? tree.Programs().back().get() : nullptr;
  if (options.json) {
    out.Line(ScanJson(programName, program));
  } else {
    PrintLeftovers(out, programName, program);
  }
  return ecOk;
}

}  // namespace orvix
