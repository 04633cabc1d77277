// The maker's own products: what the leftover scan knows about each of them
// beyond what the registry says (their keys, their folders, and the files in
// their install folders that must survive an uninstall).
#pragma once

#include <string>
#include <vector>

#include "inventory/soft_info.h"
#include "platform/pump_api.h"

namespace orvix {

// One product of the maker. The lists are comma-separated.
struct TFilterData {
  std::wstring Key;     // lower case: maker, blank, product, as lower(Publisher + " " + DisplayName) reads
  std::wstring Reg;     // registry keys, each root name + "\" + path
  std::wstring Path;    // folders and files of the product, as macro paths
  std::wstring Filter;  // paths inside the install folder the file scan leaves alone, as macro paths
};

class TFileterManage {
 public:
  // The rows in their fixed order.
  TFileterManage();

  int Count() const { return static_cast<int>(rows_.size()); }
  // The row at a position; nullptr outside 0 .. Count() - 1.
  const TFilterData* Row(int index) const;

  // The key of the first row whose key is contained in `text` (callers pass
  // lower(trim(Publisher + " " + DisplayName))); empty when none is. Window
  // messages are processed per row when a pump is given.
  std::wstring FindProductRow(const std::wstring& text, IPump* pump = nullptr) const;
  // A column ("reg", "path" or "filter", any letter case) of the row whose
  // key equals the lower-cased row key; `fallback` when there is none.
  std::wstring ProductColumn(const std::wstring& rowKey, const std::wstring& column,
                             const std::wstring& fallback) const;

 private:
  std::vector<TFilterData> rows_;
};

// The one table of the process, made on first use and read-only after.
const TFileterManage& ProductTable();

// Expands a macro path: the text before the first backslash names the folder
// ("CSIDL_COMMON_PROGRAMS", "CSIDL_APPDATA", "CSIDL_COMMON_APPDATA", or
// "CSIDL_LOCAPTION" for the entry's install location), the rest follows it.
// Empty for an unknown prefix, and also when the folder is unknown or
// nothing follows it, so that no expansion ever names a whole special folder.
std::wstring ExpandMacroPath(const std::wstring& macroPath, const TSoftInfo& record);

// The elements of a comma-separated list, trimmed, empty ones left out.
std::vector<std::wstring> SplitProductList(const std::wstring& list);

}  // namespace orvix
