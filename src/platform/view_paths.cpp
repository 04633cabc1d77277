#include "platform/view_paths.h"

#include <array>
#include <string_view>

#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

// System32 sub-folders that 32-bit programs share with 64-bit ones.
constexpr std::array<std::wstring_view, 6> kSharedSystemFolders = {L"catroot", L"catroot2", L"driverstore",
                                                                   L"drivers\\etc", L"logfiles", L"spool"};

void ReplaceVariable(std::wstring& text, std::wstring_view variable, const std::wstring& value) {
  if (value.empty()) return;
  for (std::size_t at = FindText(text, variable); at != std::wstring::npos;
       at = FindText(text, variable, at + value.size())) {
    text.replace(at, variable.size(), value);
  }
}

bool EndsAnElement(const std::wstring& text, std::size_t at) {
  return at == text.size() || std::wstring_view(L"\\\"',; ").find(text[at]) != std::wstring_view::npos;
}

bool InSharedSystemFolder(const std::wstring& text, std::size_t below) {
  if (below >= text.size() || text[below] != L'\\') return false;
  for (std::wstring_view shared : kSharedSystemFolders) {
    if (StartsWithText(std::wstring_view(text).substr(below + 1), shared) && EndsAnElement(text, below + 1 + shared.size()))
      return true;
  }
  return false;
}

// "<the Windows folder>\System32" becomes SysWOW64 and "...\Sysnative"
// System32, wherever the Windows folder is written out or named by variable.
void RedirectSystemFolder(std::wstring& text, const std::wstring& windows) {
  const std::array<std::wstring_view, 4> windowsForms = {windows, L"%windir%", L"%SystemRoot%", L"\\SystemRoot"};
  for (std::wstring_view form : windowsForms) {
    if (form.empty()) continue;
    for (std::size_t at = FindText(text, form); at != std::wstring::npos; at = FindText(text, form, at + 1)) {
      const std::size_t folder = at + form.size() + 1;  // after "<form>\"
      if (folder > text.size() || text[folder - 1] != L'\\') continue;
      const std::wstring_view rest = std::wstring_view(text).substr(folder);
      if (StartsWithText(rest, L"System32") && EndsAnElement(text, folder + 8) &&
          !InSharedSystemFolder(text, folder + 8)) {
        text.replace(folder, 8, L"SysWOW64");
      } else if (StartsWithText(rest, L"Sysnative") && EndsAnElement(text, folder + 9)) {
        text.replace(folder, 9, L"System32");
      }
    }
  }
}

std::wstring WithoutBackslashAtEnd(std::wstring path) {
  if (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

}  // namespace

std::wstring PathTextForView(const std::wstring& text, bool view64) {
  if (text.find_first_of(L"%\\") == std::wstring::npos || !IsWow64()) return text;
  IShellApi& shell = CurrentPlatform().Shell();
  std::wstring out = text;
  // The folders are asked for only where the text names them: a list reads
  // thousands of paths, and each answer is a registry read on Windows.
  const auto replace = [&](std::wstring_view variable, int csidl, const wchar_t* variable64) {
    if (FindText(out, variable) == std::wstring::npos) return;
    ReplaceVariable(out, variable,
                    WithoutBackslashAtEnd(view64 ? shell.GetEnvironmentVariable(variable64).value_or(L"")
                                                 : shell.GetSpecialFolder(csidl)));
  };
  replace(L"%ProgramFiles%", CSIDL_PROGRAM_FILESX86, L"ProgramW6432");
  replace(L"%CommonProgramFiles%", CSIDL_PROGRAM_FILES_COMMONX86, L"CommonProgramW6432");
  if (!view64) RedirectSystemFolder(out, WithoutBackslashAtEnd(shell.GetWindowsDirectory()));
  return out;
}

}  // namespace orvix
