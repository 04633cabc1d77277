#include "platform/command_paths.h"

#include <array>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "platform/app_frame.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/protected_locations.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

void ReplaceFirst(std::wstring& text, std::wstring_view what, std::wstring_view with) {
  const std::size_t at = text.find(what);
  if (at != std::wstring::npos) text.replace(at, what.size(), with);
}

// Ignoring case: commands keep the case they were written in, so that the
// paths cut from them name files as they are on disk (Wine reads a whole
// folder to find a name whose case differs).
void ReplaceAll(std::wstring& text, std::wstring_view what, std::wstring_view with) {
  for (std::size_t at = FindText(text, what); at != std::wstring::npos; at = FindText(text, what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}

void KeepBefore(std::wstring& text, std::wstring_view marker) {
  const std::size_t at = text.find(marker);
  if (at != std::wstring::npos) text.resize(at);
}

std::wstring WithBackslash(const std::wstring& path) {
  return (!path.empty() && path.back() == L'\\') ? path : path + L'\\';
}

// Form encoding of bytes: letters, digits and a few marks stay, a space
// becomes "+", every other byte "%XX".
std::wstring UrlEncodeBytes(std::string_view bytes) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                       std::wstring_view(L"@!$'()*-._").find(static_cast<wchar_t>(byte)) != std::wstring_view::npos;
    if (plain) {
      out += static_cast<wchar_t>(byte);
    } else if (byte == ' ') {
      out += L'+';
    } else {
      out += L'%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

constexpr std::array<const wchar_t*, 4> kHostPrograms = {L"RUNDLL.EXE", L"RUNDLL32.EXE", L"RUNDLL32", L"RUNDLL"};

enum class HostRemoval { Anywhere, AtStartOrAfterSpace };

// The cleaning both uninstall-command helpers share.
std::wstring CleanCommand(std::wstring text, HostRemoval hosts) {
  ReplaceAll(text, L"\"", L"");
  ReplaceAll(text, L"\\??\\", L"");
  ReplaceAll(text, L"\\\\", L"\\");
  text = ExpandFolderMacros(text).text;
  for (const wchar_t* host : kHostPrograms) {
    const std::wstring_view name(host);
    if (hosts == HostRemoval::Anywhere) {
      ReplaceAll(text, name, L"");
      continue;
    }
    if (StartsWithText(text, name)) text.erase(0, name.size());
    ReplaceAll(text, L" " + std::wstring(name), L" ");
  }
  // A Visual Basic uninstaller: its log file follows the switch.
  constexpr std::wstring_view kVbUninstaller = L"ST6UNST.EXE -N";
  if (const std::size_t at = FindText(text, kVbUninstaller); at != std::wstring::npos)
    text = text.substr(std::min(text.size(), at + kVbUninstaller.size() + 1));
  // A driver package uninstaller: the package's .inf file follows "/U ".
  if (FindText(text, L"DPINST.EXE") != std::wstring::npos || FindText(text, L"DPINST32.EXE") != std::wstring::npos ||
      FindText(text, L"DPINST64.EXE") != std::wstring::npos) {
    const std::size_t start = FindText(text, L"/U ");
    const std::size_t inf = FindText(text, L".INF", start == std::wstring::npos ? 0 : start);
    if (start != std::wstring::npos && inf != std::wstring::npos) text = text.substr(start + 3, inf + 4 - (start + 3));
  }
  return Trim(text);
}

bool IsQuoteOrBelow(wchar_t c) { return static_cast<std::uint32_t>(c) <= L'"'; }

}  // namespace

std::wstring CommandToFilePath(const std::wstring& command) {
  std::wstring text = command;
  ReplaceFirst(text, L";", L"");
  KeepBefore(text, L"/");
  ReplaceFirst(text, L"\\??\\", L"");
  for (const wchar_t* variable : {L"%windir%", L"%systemroot%", L"%programfiles%"}) {
    const std::size_t at = FindText(text, variable);
    if (at == std::wstring::npos) continue;
    const std::wstring expansion = CurrentPlatform().Shell().ExpandEnvironmentStrings(variable);
    // Whatever precedes the variable (a quote) goes with it, and so does the
    // separator after it.
    const std::size_t cut = std::min(text.size(), at + std::wcslen(variable) + 1);
    text = expansion + L"\\" + text.substr(cut);
    ReplaceAll(text, L"\\\\", L"\\");
  }
  if (StartsWithText(text, L"\\systemroot")) text = TAppFrame().GetFolder(fkWindows) + text.substr(11);
  ReplaceFirst(text, L"%1", L"");
  KeepBefore(text, L",");
  KeepBefore(text, L" -");

  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsQuoteOrBelow(text[begin])) ++begin;
  while (end > begin && IsQuoteOrBelow(text[end - 1])) --end;
  text = text.substr(begin, end - begin);
  KeepBefore(text, L"\"");

  if (const std::size_t colon = text.find(L":\\"); colon != std::wstring::npos && colon > 1)
    text.erase(0, colon - 1);

  constexpr std::wstring_view kRunDll = L"rundll32.exe ";
  if (!StartsWithText(text, kRunDll)) return text;
  const std::wstring rest = text.substr(kRunDll.size());
  const TAppFrame frame;
  for (const std::wstring& candidate :
       {rest, frame.GetFolder(fkWindows) + L"\\" + rest, frame.GetFolder(fkSystem) + L"\\" + rest}) {
    if (FileExists(candidate)) return candidate;
  }
  return text;
}

std::wstring CleanCommandText(const std::wstring& text) { return CleanCommand(text, HostRemoval::AtStartOrAfterSpace); }

std::wstring CleanInstallLocation(const std::wstring& text) {
  const std::wstring cleaned = CleanCommandText(text);
  return DirectoryExists(cleaned) ? cleaned : L"";
}

std::wstring FolderNamedByUninstallCommand(const std::wstring& uninstallString, const std::wstring& displayIcon,
                                           const std::wstring& readme) {
  std::wstring file = CleanCommand(UninstallerSource(uninstallString, displayIcon, readme), HostRemoval::Anywhere);
  if (!FileExists(file)) file = CutAtExecutableExtension(file);
  const std::size_t slash = file.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  const std::wstring folder = file.substr(0, slash + 1);
  // RunDll32 of an installer engine's DLL under Common Files names the
  // engine's folder, not the program's.
  return IsProgramFolderFromCommand(folder) ? folder : L"";
}

const std::wstring& UninstallerSource(const std::wstring& uninstallString, const std::wstring& displayIcon,
                                      const std::wstring& readme) {
  const std::wstring& command = uninstallString.empty() ? displayIcon : uninstallString;
  // Windows Installer commands name no file of the program.
  return FindText(command, L"MSIEXEC.EXE /") != std::wstring::npos ? readme : command;
}

std::wstring FolderFromUninstallCommand(const std::wstring& uninstallString, const std::wstring& displayIcon,
                                        const std::wstring& readme) {
  const std::wstring folder = FolderNamedByUninstallCommand(uninstallString, displayIcon, readme);
  return !folder.empty() && DirectoryExists(folder) ? folder : L"";
}

std::wstring CutAtExecutableExtension(const std::wstring& text) {
  static constexpr std::array kExtensions = {L".exe", L".dll", L".ocx", L".sys", L".cpl", L".bpl", L".cmd",
                                             L".vbs", L".ser", L".bin", L".drv", L".bat", L".vxd"};
  std::size_t earliest = std::wstring::npos;
  std::size_t length = 0;
  for (const wchar_t* extension : kExtensions) {
    const std::size_t at = FindText(text, extension);
    if (at < earliest) {
      earliest = at;
      length = std::wcslen(extension);
    }
  }
  return earliest == std::wstring::npos ? text : text.substr(0, earliest + length);
}

bool IsOrdinaryFolder(const std::wstring& path) {
  if (path.find(L'%') != std::wstring::npos) return false;
  const std::wstring folder = WithBackslash(path);
  if (folder.size() <= 3) return false;
  return !MachineProtectedLocations()->IsProtected(folder);
}

bool IsInSharedFolder(const std::wstring& path) {
  IShellApi& shell = CurrentPlatform().Shell();
  const std::wstring roots[] = {shell.GetSpecialFolder(CSIDL_PROGRAM_FILES_COMMON),
                                shell.GetSpecialFolder(CSIDL_PROGRAM_FILES_COMMONX86),
                                shell.GetEnvironmentVariable(L"CommonProgramW6432").value_or(L"")};
  const std::vector<std::wstring> folders = FolderForms(path);
  for (const std::wstring& root : roots) {
    for (const std::wstring& shared : FolderForms(root)) {
      for (const std::wstring& folder : folders) {
        if (folder.starts_with(shared)) return true;
      }
    }
  }
  return false;
}

bool IsProgramFolderFromCommand(const std::wstring& path) { return IsOrdinaryFolder(path) && !IsInSharedFolder(path); }

std::wstring UrlEncode(const std::wstring& text) { return UrlEncodeBytes(CurrentPlatform().Locale().ToAnsi(text)); }

std::wstring UrlEncodeUtf8(const std::wstring& text) { return UrlEncodeBytes(ToUtf8(text)); }

}  // namespace orvix
