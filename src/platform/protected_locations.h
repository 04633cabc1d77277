// The places the leftover scan never offers for deletion because a program
// happened to be installed there or to name them: drive roots, the Windows
// folder and everything in it, the special folders of the system, and the
// folders of every user of the machine.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace orvix {

// A folder path in the form the scan compares: separators made backslashes,
// doubled ones and "." / ".." elements resolved as text, the long form of
// an existing path, lower case, trailing backslash. Empty for an empty or
// relative path (one that starts with neither a drive nor "\\server\share").
std::wstring CanonicalFolder(const std::wstring& path);

// The path as written and, when it differs, where it really leads, both in
// CanonicalFolder's form; nothing for a relative text.
std::vector<std::wstring> FolderForms(const std::wstring& path);

class TProtectedLocations {
 public:
  // Reads the machine: the drives, the special folders, the environment.
  TProtectedLocations();

  // The listed locations in their order, lower case with a trailing
  // backslash; an entry is empty where the system reports no such folder.
  const std::vector<std::wstring>& Entries() const { return entries_; }

  // False for an empty path. True for a listed location, for any drive or
  // share root, for anything at or below the Windows folder, and for a
  // folder that holds a listed location (the profiles folder, a user's
  // AppData...), since deleting it would delete that location too. Paths
  // are compared whole (C:\Program Files\Foo is not protected), both as
  // written and where they lead through junctions and links.
  bool IsProtected(const std::wstring& path) const;
  // Whether the path is one of the listed locations itself (as written or
  // where it leads), not merely below or above one.
  bool IsListed(const std::wstring& path) const;

 private:
  void AddOtherProfiles();

  std::vector<std::wstring> entries_;
  std::vector<std::wstring> canonical_;  // the non-empty entries as CanonicalFolder gives them
  std::wstring windowsFolder_;
};

// The machine's protected locations, read once for the current platform and
// shared (the folders of a machine do not move while the program runs);
// for loops over many paths, such as the analysis of every program.
std::shared_ptr<const TProtectedLocations> MachineProtectedLocations();

}  // namespace orvix
