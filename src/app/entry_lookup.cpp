#include "app/entry_lookup.h"

#include <vector>

#include "platform/text.h"

namespace orvix {
namespace {

void ListNames(ConsoleOutput& err, const std::vector<TSoftInfo*>& entries) {
  for (const TSoftInfo* entry : entries) err.Line(L"  " + NameWithView(*entry));
}

}  // namespace

std::wstring NameWithView(const TSoftInfo& entry) { return entry.DisplayName + (entry.IsX64 ? L"(x64)" : L""); }

TSoftInfo* FindEntryByName(const TSoftwareInfo& inventory, const std::wstring& name, TNameMatch match,
                           ConsoleOutput& err) {
  std::vector<std::wstring> indexes;
  inventory.FindByName(name, indexes);
  std::vector<TSoftInfo*> candidates;
  for (const std::wstring& index : indexes) {
    TSoftInfo* entry = inventory.GetItem(std::stoi(index));
    // The inventory lists one entry per name: namesakes are merged into it.
    if (SameText(entry->DisplayName, name)) return entry;
    candidates.push_back(entry);
  }
  if (match == nmWholeOrOnlyPart && candidates.size() == 1) return candidates.front();

  if (candidates.empty()) {
    err.Line(L"orvix: no installed program matches: " + name + L" (\"orvix list\" shows them all)");
  } else if (match == nmWholeName) {
    err.Line(L"orvix: no installed program is named \"" + name + L"\"; give the whole name of one of these:");
    ListNames(err, candidates);
  } else {
    err.Line(L"orvix: " + std::to_wstring(candidates.size()) + L" installed programs match \"" + name +
             L"\"; give the whole name of one:");
    ListNames(err, candidates);
  }
  return nullptr;
}

}  // namespace orvix
