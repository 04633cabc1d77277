// Where things are on this Windows: the special folders and the folder
// placeholders that installers write into the registry.
#pragma once

#include <string>
#include <utility>

namespace orvix {

// Folder kinds beyond the CSIDL numbers of shell_api.h.
enum TFolderKind : int { fkWindows = -1, fkSystem = -2, fkTemp = -3 };

// A light holder of three folders, made where needed.
class TAppFrame {
 public:
  TAppFrame();

  const std::wstring& AppData() const { return appData_; }
  const std::wstring& CommonAppData() const { return commonAppData_; }
  // The running program's folder, with its trailing backslash.
  const std::wstring& ProgramFolder() const { return programFolder_; }

  // A per-user or system folder (a CSIDL number or a TFolderKind), without a
  // trailing backslash; empty when the system has none.
  std::wstring GetFolder(int kind) const;
  // An all-users folder (CSIDL_COMMON_...), empty for any other kind.
  std::wstring GetCommonFolder(int csidl) const;
  // The folder holding the user profiles: "C:\Users", "C:\Documents and Settings".
  std::wstring ProfilesRoot() const;

 private:
  std::wstring appData_;
  std::wstring commonAppData_;
  std::wstring programFolder_;
};

struct TExpandedMacros {
  std::wstring text;      // the text with its first macro expanded
  std::wstring allUsers;  // the same macro as the all-users folder, or empty
};

// Expands the first of the known folder macros found in the text (every
// occurrence of it, ignoring case); a text without one comes back as it is.
TExpandedMacros ExpandFolderMacros(const std::wstring& text);

}  // namespace orvix
