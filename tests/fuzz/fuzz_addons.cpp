// Entry points of the add-on cleaner's readers of outside data: browser
// preference files as JSON trees, and the add-on database when what lies in
// its place is not what the program wrote.
#include <string>
#include <string_view>

#include "addons/bcleaner_db.h"
#include "formats/json_text.h"
#include "formats/json_tree.h"
#include "formats/text_codec.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_input.h"
#include "platform/file_helpers.h"

namespace orvix::fuzz {

// Input: a JSON text. What parses must write back, in either layout, as a
// text that parses to the same tree.
void FuzzJsonTree(const std::uint8_t* data, std::size_t size) {
  TJsonNode root;
  if (!ParseJson(std::string_view(reinterpret_cast<const char*>(data), size), root)) {
    FuzzCheck(root.IsNull(), "a refused text leaves no tree");
    return;
  }
  const std::wstring compact = WriteJsonCompact(root);
  TJsonNode again;
  FuzzCheck(ParseJson(ToUtf8(compact), again), "the compact form parses");
  FuzzCheck(WriteJsonCompact(again) == compact, "the compact form reads back as it is");
  TJsonNode indented;
  FuzzCheck(ParseJson(ToUtf8(WriteJsonText(root)), indented), "the indented form parses");
  FuzzCheck(WriteJsonCompact(indented) == compact, "the indented form holds the same tree");
}

// Input: the bytes found where "BCleanerdb" should be. The preparation and
// the lookups answer without crashing, and a database they accept takes a
// trust decision.
void FuzzAddonDatabase(const std::uint8_t* data, std::size_t size) {
  const std::wstring folder = L"C:\\OrvixFuzz\\Data\\";
  ForceDirectories(folder);
  FuzzCheck(ReplaceFileBytes(folder + kBCleanerDbName, Bytes(data, data + size)), "the simulated disk takes the input");
  const std::wstring path = PrepareBCleanerDb(folder);
  TSqliteDb db;
  if (path.empty() || !db.Open(path, TSqliteOpenMode::ReadWrite)) return;
  const TPluginRowKey key{L"id", L"caption", L"C:\\x.dll", L"maker", false, L"1.0"};
  LookupStoredPluginState(db, key);
  db.Close();
  if (WriteTrustRows(path, {key}, 2)) {
    TSqliteDb check;
    FuzzCheck(check.Open(path, TSqliteOpenMode::ReadOnly), "a written database opens");
    FuzzCheck(LookupStoredPluginState(check, key).trustFlag == 2, "a written decision reads back");
  }
}

}  // namespace orvix::fuzz
