// The classes of one root, as the class areas walk them: the machine's
// (HKLM\SOFTWARE\Classes, which Windows also shows as HKEY_CLASSES_ROOT) or
// the user's (HKCU\Software\Classes), and what tells that a class whose
// verbs run the program is the program's own.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace orvix {

class TFoundNames;
class TRegeditScanClasses;
class TScanKey;

class TClassesRoot {
 public:
  explicit TClassesRoot(HKEY root) : root_(root) {}

  HKEY Root() const { return root_; }
  bool Machine() const { return root_ == HKEY_LOCAL_MACHINE; }
  // "\SOFTWARE\Classes" or "\Software\Classes", and a class path below it.
  std::wstring Path() const;
  std::wstring Below(const std::wstring& classPath) const { return Path() + L"\\" + classPath; }

  // Reports a class key given by its path below the classes: the machine's
  // with its HKEY_CLASSES_ROOT mirror (unless told not to), the user's as it is.
  void Report(TRegeditScanClasses& scan, TFoundNames& list, const std::wstring& name, const std::wstring& classPath,
              bool mirror = true) const;

 private:
  HKEY root_;
};

// What the verbs (shell\<verb>\command) of a class say about it.
struct TVerbVerdict {
  bool own = false;        // every verb runs the program, and the icon is its own
  std::wstring firstVerb;  // the first verb with a command, when it runs the program
};

// A class is the program's own when it has verbs, every one of them runs the
// program from the install folder, and its icon (when it has one) lies there
// too: a class another program registered keeps a verb or an icon of its own.
// The executables the verbs run join the scan's found executables when the
// class is the program's.
TVerbVerdict ExamineVerbs(TRegeditScanClasses& scan, TScanKey& key);

}  // namespace orvix
