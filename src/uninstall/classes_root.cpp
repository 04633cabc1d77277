#include "uninstall/classes_root.h"

#include <vector>

#include "platform/command_paths.h"
#include "platform/text.h"
#include "uninstall/regedit_scan.h"

namespace orvix {

std::wstring TClassesRoot::Path() const { return Machine() ? L"\\SOFTWARE\\Classes" : L"\\Software\\Classes"; }

void TClassesRoot::Report(TRegeditScanClasses& scan, TFoundNames& list, const std::wstring& name,
                          const std::wstring& classPath, bool mirror) const {
  if (Machine()) {
    scan.ReportClassesKey(list, name, classPath, mirror);
  } else {
    scan.ReportKey(list, root_, name, Below(classPath));
  }
}

TVerbVerdict ExamineVerbs(TRegeditScanClasses& scan, TScanKey& key) {
  TVerbVerdict verdict;
  if (!key.HasSubKey(L"shell")) return verdict;
  TScanKey shell(key.Root(), key.Below(L"shell"), key.View64());
  std::vector<std::wstring> commands;
  bool everyVerbRunsIt = true;
  for (const std::wstring& verb : shell.SubKeyNames()) {
    TScanKey verbKey(key.Root(), shell.Below(verb), key.View64());
    if (!verbKey.HasSubKey(L"command")) continue;
    const std::wstring command = verbKey.SubKeyDefault(L"command");
    const bool runsIt = scan.MatchesKeyword(command);
    // Only the first verb with a command decides about the verb alone.
    if (commands.empty() && runsIt) verdict.firstVerb = verb;
    everyVerbRunsIt = everyVerbRunsIt && runsIt;
    commands.push_back(command);
  }
  if (commands.empty() || !everyVerbRunsIt) return verdict;
  if (key.HasSubKey(L"DefaultIcon") && !scan.MatchesKeyword(key.SubKeyDefault(L"DefaultIcon"))) return verdict;
  verdict.own = true;
  for (const std::wstring& command : commands) {
    const std::wstring file = CommandToFilePath(command);
    const std::size_t slash = file.rfind(L'\\');
    if (slash != std::wstring::npos && slash + 1 < file.size()) scan.Found().Executables.insert(LowerCase(file.substr(slash + 1)));
  }
  return verdict;
}

}  // namespace orvix
