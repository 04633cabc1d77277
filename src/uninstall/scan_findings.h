// What the leftover scanner finds: registry and file findings, and the
// found-name lists through which the areas of one scan share what they have
// reported (the found CLSIDs, TypeLibs, AppIDs and classes).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "platform/win_types.h"

namespace orvix {

// One registry finding. A key finding has neither value name nor data; a
// value finding has at least one (an empty name is the key's default value).
struct TShowRegInfo {
  HKEY RootKey = 0;
  std::wstring KeyPath;  // without a leading backslash, as the opened key reported it
  std::wstring ValueName;
  std::wstring ValueData;
  // The registry view the key was found in, so that deleting or opening the
  // finding reaches that very key.
  bool View64 = false;

  bool IsKey() const { return ValueName.empty() && ValueData.empty(); }
};

enum TScanFileKind : std::int32_t { sfkFolder = 0, sfkFile = 1 };

// One file-system finding. (The scanner's own file record: the version
// information record of the platform already holds the name TFileInfo.)
struct TScanFileInfo {
  std::wstring Path;
  std::int64_t Size = 0;  // from the listing; 0 for folders and paths not listed
  TScanFileKind Kind = sfkFolder;
  std::int32_t ImageIndex = 0;  // the icon's position in the tree's image list
};

using TRegFindings = std::vector<TShowRegInfo>;
using TFileFindings = std::vector<TScanFileInfo>;

// One value recorded under a reported key.
struct TRegeditItemInfo {
  std::wstring ValueName;
  std::wstring ValueData;
  std::wstring KeyPath;
  HKEY RootKey = 0;
};

enum TGroupKind : std::int32_t {
  gkKey = 0,   // a key reported with everything below it
  gkName = 1,  // a name remembered without a key of its own (e.g. a value finding)
};

// What was reported under one found name: its sub-keys and its values.
struct TRegeditItemGroup {
  TGroupKind Kind = gkKey;
  HKEY RootKey = 0;
  std::wstring KeyPath;
  bool View64 = false;
  std::map<std::wstring, std::unique_ptr<TRegeditItemGroup>, TextLess> SubGroups;
  std::map<std::wstring, TRegeditItemInfo, TextLess> Values;
};

// The names one area has reported, without regard to case, each with its
// group. A name is recorded per registry view: the same CLSID registered in
// the 32-bit and in the 64-bit view is two keys.
class TFoundNames {
 public:
  bool Contains(std::wstring_view name) const;  // in either view
  bool Contains(std::wstring_view name, bool view64) const;
  // The group recorded for the name, or nullptr.
  TRegeditItemGroup* Find(std::wstring_view name, bool view64) const;
  // Records the name (replacing nothing: an existing group is returned).
  TRegeditItemGroup& Add(const std::wstring& name, bool view64, TGroupKind kind, HKEY root,
                         const std::wstring& keyPath);
  bool Empty() const { return groups_.empty(); }
  std::size_t Count() const { return groups_.size(); }
  // The names in the order they were found, once each (whatever the view).
  std::vector<std::wstring> Names() const;
  void Clear();

  // The HKEY_CLASSES_ROOT reports of the keys in this list.
  TFoundNames& Mirror();

 private:
  struct Key {
    std::wstring name;
    bool view64;
  };
  struct KeyLess {
    bool operator()(const Key& a, const Key& b) const;
  };
  std::map<Key, std::unique_ptr<TRegeditItemGroup>, KeyLess> groups_;
  std::vector<std::wstring> order_;
  std::unique_ptr<TFoundNames> mirror_;
};

}  // namespace orvix
