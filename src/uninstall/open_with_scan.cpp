// Applications\<exe> keys whose verbs run the program are its own. A file
// type is the program's whole when it opens with one of the program's
// classes and lists nothing but the program's classes and executables;
// otherwise only the entries of its OpenWithProgids and OpenWithList that
// name them go, since other programs share the type.
#include "uninstall/open_with_scan.h"

#include <array>
#include <vector>

#include "platform/text.h"
#include "uninstall/classes_root.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

constexpr std::array kRoots = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

// The entries of a file type that name the program's classes or
// executables, and whether anything else is in it.
struct TTypeEntries {
  std::vector<std::wstring> progIds;     // value names in OpenWithProgids
  std::vector<std::wstring> listed;      // value names in OpenWithList
  std::vector<std::wstring> listedKeys;  // sub-keys of OpenWithList named by an executable
  bool others = false;
};

void ReadProgIds(const TFoundLists& found, TScanKey& type, TTypeEntries& entries) {
  TScanKey progIds(type.Root(), type.Below(L"OpenWithProgids"), type.View64());
  if (!progIds.SubKeyNames().empty()) entries.others = true;
  for (const std::wstring& value : progIds.ValueNames()) {
    if (value.empty()) continue;
    if (found.IsFoundClass(value)) {
      entries.progIds.push_back(value);
    } else {
      entries.others = true;
    }
  }
}

// Entries are values ("a" = "foo.exe", ordered by MRUList, or a value
// named by the executable) or, in the newer form, sub-keys named by it.
void ReadOpenWithList(const TFoundLists& found, TScanKey& type, TTypeEntries& entries) {
  TScanKey list(type.Root(), type.Below(L"OpenWithList"), type.View64());
  for (const std::wstring& value : list.ValueNames()) {
    if (value.empty() || SameText(value, L"MRUList")) continue;
    const std::wstring data = LowerCase(Trim(list.ValueText(value)));
    if (found.Executables.contains(data) || (data.empty() && found.Executables.contains(LowerCase(value)))) {
      entries.listed.push_back(value);
    } else {
      entries.others = true;
    }
  }
  for (const std::wstring& key : list.SubKeyNames()) {
    if (found.Executables.contains(LowerCase(key))) {
      entries.listedKeys.push_back(key);
    } else {
      entries.others = true;
    }
  }
}

TTypeEntries ReadEntries(const TFoundLists& found, TScanKey& type) {
  TTypeEntries entries;
  for (const std::wstring& value : type.ValueNames()) {
    if (!value.empty()) entries.others = true;  // Content Type, PerceivedType...: the system's too
  }
  for (const std::wstring& sub : type.SubKeyNames()) {
    if (SameText(sub, L"OpenWithProgids")) {
      ReadProgIds(found, type, entries);
    } else if (SameText(sub, L"OpenWithList")) {
      ReadOpenWithList(found, type, entries);
    } else {
      entries.others = true;
    }
  }
  return entries;
}

}  // namespace

void TOpenWithScan::Run(TRegeditScanClasses& scan) {
  ReportApplications(scan);
  ReportFileTypes(scan);
}

void TOpenWithScan::ReportApplications(TRegeditScanClasses& scan) {
  for (const HKEY root : kRoots) {
    const TClassesRoot classes(root);
    TScanKey applications(root, classes.Below(L"Applications"), scan.View64());
    for (const std::wstring& name : applications.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey key(root, applications.Below(name), scan.View64());
      if (!key || !ExamineVerbs(scan, key).own) continue;
      classes.Report(scan, classes.Machine() ? machineApplications_ : userApplications_, name,
                     L"Applications\\" + name);
      scan.Found().Executables.insert(LowerCase(name));
    }
  }
}

void TOpenWithScan::ReportFileTypes(TRegeditScanClasses& scan) {
  for (const HKEY root : kRoots) {
    const TClassesRoot classes(root);
    // The class areas listed the types already: a second listing of every
    // class would cost as much again.
    const std::vector<std::wstring>& names =
        classes.Machine() ? scan.Found().MachineFileTypes : scan.Found().UserFileTypes;
    for (const std::wstring& name : names) {
      if (!scan.Tick()) return;
      TScanKey type(root, classes.Below(name), scan.View64());
      if (type) ReportFileType(scan, classes, type, name);
    }
  }
}

void TOpenWithScan::ReportFileType(TRegeditScanClasses& scan, const TClassesRoot& classes, TScanKey& type,
                                   const std::wstring& name) {
  const TTypeEntries entries = ReadEntries(scan.Found(), type);
  if (!entries.others && scan.Found().IsFoundClass(Trim(type.ValueText(L"")))) {
    classes.Report(scan, types_, name, name);
    // A type every program uses (.txt) is never reported whole.
    if (types_.Contains(name)) return;
  }
  for (const std::wstring& progId : entries.progIds) {
    scan.ReportValue(type.Root(), type.Path() + L"\\OpenWithProgids", progId);
  }
  for (const std::wstring& value : entries.listed) scan.ReportValue(type.Root(), type.Path() + L"\\OpenWithList", value);
  for (const std::wstring& key : entries.listedKeys) {
    const std::wstring path = name + L"\\OpenWithList\\" + key;
    classes.Report(scan, listKeys_, path, path, false);
  }
}

}  // namespace orvix
