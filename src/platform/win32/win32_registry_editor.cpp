// Drives the system's registry editor to a key: an editor of the wrong
// bitness is closed, a fresh one starts at "LastKey", a running one jumps
// through a temporary favourite, and the value is selected in its list.
//
// Every wait is bounded and every message to the editor has a time limit:
// a frozen or missing editor costs seconds, never the program.
//
// Wine's editor (Wine 8) has the same main window class, but differs:
// - its tree and value list sit inside an intermediate child window, so
//   they are looked for among all descendants, not only direct children;
// - it reads LastKey at start and its Favorites menu, but both take the
//   path from the hive on ("HKEY_CURRENT_USER\Software"); a root node's
//   name in front ("My\", "My Computer\") leaves the root selected;
// - its favourite commands are 33000 + the value's index in the Favorites
//   key; Windows' command numbers (648, 1281 + n) mean nothing to it;
// - the value is selected through a find request placed in its memory,
//   which works from this 32-bit process into Wine's 64-bit editor too;
// - WaitForInputIdle on it only ever times out, so a start waits for the
//   window to appear and answer a message instead;
// - Wine starts its built-in programs as 64-bit ones, so there is no 32-bit
//   editor: a key of the 32-bit view is shown at the place the 64-bit view
//   has it (HKLM\Software\Wow6432Node\..., or the shared key itself), and
//   a running editor is never closed for its bitness.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/registry_views.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <shellapi.h>

namespace orvix::win32 {
namespace {

constexpr const wchar_t* kEditorClass = L"RegEdit_RegEdit";
constexpr const wchar_t* kAppletKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr const wchar_t* kFavoriteName = L"OrvixRegJmp";
constexpr WPARAM kCommandCollapse = 648;
constexpr WPARAM kFirstFavoriteCommand = 1281;
constexpr WPARAM kWineFirstFavoriteCommand = 33000;
constexpr ::DWORD kCloseTimeoutMs = 2000;
constexpr ::DWORD kStartTimeoutMs = 10000;
constexpr ::DWORD kMessageTimeoutMs = 2000;
constexpr ::DWORD kPollMs = 50;
constexpr SIZE_T kRemoteBlockBytes = 1024;
constexpr SIZE_T kRemoteTextOffset = 36;
constexpr std::size_t kMaxValueNameChars = 250;
constexpr int kKeyNameInformation = 3;
constexpr const wchar_t* kMachineObjectPrefix = L"\\REGISTRY\\MACHINE\\";

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using Wow64EnableFsRedirectionFn = BOOLEAN(WINAPI*)(BOOLEAN);
using NtQueryKeyFn = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);

bool RunsOnWine() {
  static const bool wine = SystemFunction<void (*)()>(L"ntdll.dll", "wine_get_version") != nullptr;
  return wine;
}

// The key text as the editor's tree takes it: Wine's starts at the hives,
// without the root node's name that Windows' skips.
std::wstring EditorKeyText(const std::wstring& keyText) {
  if (!RunsOnWine()) return keyText;
  const std::size_t slash = keyText.find(L'\\');
  return slash == std::wstring::npos ? keyText : keyText.substr(slash + 1);
}

// The kernel's name of an open key, e.g. "\REGISTRY\MACHINE\Software\Foo".
std::wstring KeyObjectName(::HKEY key) {
  const auto queryKey = SystemFunction<NtQueryKeyFn>(L"ntdll.dll", "NtQueryKey");
  if (queryKey == nullptr) return {};
  std::vector<BYTE> info(4096);
  ULONG length = 0;
  if (queryKey(key, kKeyNameInformation, info.data(), static_cast<ULONG>(info.size()), &length) != 0) return {};
  ULONG nameBytes = 0;  // KEY_NAME_INFORMATION: the name's length in bytes, then the name
  std::memcpy(&nameBytes, info.data(), sizeof nameBytes);
  if (nameBytes > info.size() - sizeof nameBytes) return {};
  return std::wstring(reinterpret_cast<const wchar_t*>(info.data() + sizeof nameBytes), nameBytes / sizeof(wchar_t));
}

// Where a key of the 32-bit view lives, named as the 64-bit view names it
// ("HKEY_LOCAL_MACHINE\Software\Wow6432Node\Foo"); a missing tail is kept
// as given. Empty when that cannot be told.
std::wstring KeyTextIn64BitView(const std::wstring& keyText) {
  std::wstring rootName;
  std::wstring existing;
  if (!SplitKeyText(keyText, rootName, existing)) return {};
  const ::HKEY root = Native(RootKeyFromName(rootName));
  std::wstring missing;
  ::HKEY key = nullptr;
  // A class key both views share is asked for in the 64-bit view, as the
  // registry class does.
  const auto view = [&] {
    return ClassKeyKindOf(RootKeyFromName(rootName), existing) == ClassKeyKind::Shared ? KEY_WOW64_64KEY
                                                                                       : KEY_WOW64_32KEY;
  };
  while (existing.size() > 1 &&
         ::RegOpenKeyExW(root, existing.c_str() + 1, 0, KEY_QUERY_VALUE | view(), &key) != ERROR_SUCCESS) {
    const std::size_t slash = existing.rfind(L'\\');
    missing.insert(0, existing.substr(slash));
    existing.resize(slash);
  }
  if (existing.size() <= 1) return {};
  const std::wstring name = KeyObjectName(key);
  ::RegCloseKey(key);
  const std::wstring prefix = kMachineObjectPrefix;
  if (name.size() <= prefix.size() || !SameText(name.substr(0, prefix.size()), prefix)) return {};
  return L"HKEY_LOCAL_MACHINE\\" + name.substr(prefix.size()) + missing;
}

// SendMessage with a time limit; `failed` when the editor does not answer.
LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed = 0) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
    return failed;
  return static_cast<LRESULT>(result);
}

bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) != 0;
}

struct ClassSearch {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wcscmp(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The first window of a class anywhere below a parent.
HWND FindDescendant(HWND parent, const wchar_t* className) {
  ClassSearch search{className, nullptr};
  ::EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Is64BitProcess(::DWORD processId) {
  const auto isWow64 = SystemFunction<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
  if (process == nullptr || isWow64 == nullptr) {
    if (process != nullptr) ::CloseHandle(process);
    return false;
  }
  BOOL wow64 = FALSE;
  const BOOL ok = isWow64(process, &wow64);
  ::CloseHandle(process);
  return ok && !wow64;  // on 64-bit Windows, a process outside WOW64 is 64-bit
}

void CloseEditor(HWND editor) {
  ::DWORD processId = 0;
  ::GetWindowThreadProcessId(editor, &processId);
  const ::DWORD start = ::GetTickCount();
  while (::IsWindow(editor)) {
    if (::GetTickCount() - start >= kCloseTimeoutMs) {
      if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, kCloseTimeoutMs);
        ::CloseHandle(process);
      }
      break;
    }
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    ::Sleep(kPollMs);
  }
}

void WriteLastKey(const std::wstring& keyText) {
  try {
    TRegistry reg;
    reg.SetRootKey(RootKeyFromName(L"HKEY_CURRENT_USER"));
    reg.Access |= KEY_WOW64_64KEY;
    if (reg.OpenKey(kAppletKey, true)) reg.WriteString(L"LastKey", keyText);
  } catch (const std::exception&) {
    // The editor then opens where it was last; still worth showing.
  }
}

// The started editor's main window, given a moment to answer messages;
// null when none shows up in time or the editor ends first.
HWND WaitForEditorWindow(HANDLE process) {
  const ::DWORD start = ::GetTickCount();
  for (;;) {
    HWND editor = ::FindWindowW(kEditorClass, nullptr);
    if (editor != nullptr) {
      Answers(editor);
      return editor;
    }
    const bool ended = process != nullptr && ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    if (ended || ::GetTickCount() - start >= kStartTimeoutMs) return ::FindWindowW(kEditorClass, nullptr);
    ::Sleep(kPollMs);
  }
}

HWND StartEditor(const std::wstring& keyText, bool view64) {
  WriteLastKey(keyText);
  const auto enableRedirection =
      SystemFunction<Wow64EnableFsRedirectionFn>(L"kernel32.dll", "Wow64EnableWow64FsRedirection");
  const bool switchRedirection = view64 && IsWow64() && enableRedirection != nullptr;
  if (switchRedirection) enableRedirection(FALSE);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"open";
  info.lpFile = L"regedit.exe";
  info.nShow = SW_SHOWMAXIMIZED;
  const BOOL started = ::ShellExecuteExW(&info);
  const ::DWORD error = ::GetLastError();
  if (switchRedirection) enableRedirection(TRUE);
  if (!started) {
    ISystemApi& system = CurrentPlatform().System();
    system.DebugOutput(L"RegJump\\Shell Fail: " + system.SystemErrorText(error));
    return nullptr;
  }
  HWND editor = WaitForEditorWindow(info.hProcess);
  if (info.hProcess != nullptr) ::CloseHandle(info.hProcess);
  return editor;
}

void AddStyle(HWND window, LONG style) {
  ::SetWindowLongW(window, GWL_STYLE, ::GetWindowLongW(window, GWL_STYLE) | style);
}

// The menu command of our favourite: Windows numbers the favourites from
// 1281 by the key's value count, Wine from 33000 by the value's index.
WPARAM FavoriteCommand(TRegistry& favorites) {
  if (!RunsOnWine()) {
    RegKeyInfo info;
    favorites.GetKeyInfo(info);
    return kFirstFavoriteCommand + info.values;
  }
  std::vector<std::wstring> names;
  favorites.GetValueNames(names);
  const auto at = std::find(names.begin(), names.end(), kFavoriteName);
  return kWineFirstFavoriteCommand + static_cast<WPARAM>(at - names.begin());
}

// Jumps a running editor to the key through a temporary favourite.
void JumpThroughFavorites(HWND editor, const std::wstring& keyText) {
  HWND tree = FindDescendant(editor, L"SysTreeView32");
  if (tree != nullptr) {
    AddStyle(tree, TVS_SHOWSELALWAYS);
    ::SetFocus(tree);
  }
  ::Sleep(100);
  SendBounded(editor, WM_COMMAND, kCommandCollapse, 0);
  try {
    TRegistry reg;
    reg.SetRootKey(RootKeyFromName(L"HKEY_CURRENT_USER"));
    if (!reg.OpenKey(std::wstring(kAppletKey) + L"\\Favorites", true)) return;
    if (reg.ValueExists(kFavoriteName) && !reg.DeleteValue(kFavoriteName)) return;
    try {
      reg.WriteString(kFavoriteName, keyText);
    } catch (const ERegistryException&) {
      CurrentPlatform().System().DebugOutput(L"RegJump\\Write Error: no Access");
      return;
    }
    SendBounded(editor, WM_COMMAND, FavoriteCommand(reg), 0);
    reg.DeleteValue(kFavoriteName);
  } catch (const std::exception&) {
  }
}

// Selects the value in the editor's list by a find request placed in the
// editor's own memory.
bool SelectValueRemotely(HWND list, ::DWORD processId, const std::wstring& valueName, bool editorIs64) {
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return false;
  void* block = ::VirtualAllocEx(process, nullptr, kRemoteBlockBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  bool ok = block != nullptr;
  if (ok) {
    const auto base = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
    unsigned char local[kRemoteBlockBytes] = {};
    const std::uint32_t flags = LVFI_STRING | LVFI_PARTIAL;
    const std::uint32_t textAddress = base + kRemoteTextOffset;
    std::memcpy(local, &flags, 4);
    std::memcpy(local + (editorIs64 ? 8 : 4), &textAddress, 4);  // the pointer's upper half stays zero
    const std::wstring name = valueName.substr(0, kMaxValueNameChars);
    std::memcpy(local + kRemoteTextOffset, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    SIZE_T written = 0;
    ok = ::WriteProcessMemory(process, block, local, sizeof local, &written) && written == sizeof local;
    if (ok) {
      const LRESULT found =
          SendBounded(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(block), -1);
      // An LVITEM's state and stateMask sit at the same offsets in both layouts.
      auto setState = [&](WPARAM item, std::uint32_t state, std::uint32_t mask) {
        unsigned char lvitem[64] = {};
        std::memcpy(lvitem + 12, &state, 4);
        std::memcpy(lvitem + 16, &mask, 4);
        SIZE_T done = 0;
        if (::WriteProcessMemory(process, block, lvitem, sizeof lvitem, &done))
          SendBounded(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(block));
      };
      setState(static_cast<WPARAM>(-1), 0, LVIS_SELECTED);
      if (found >= 0) {
        setState(static_cast<WPARAM>(found), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        SendBounded(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(found), FALSE);
      }
    }
    ::VirtualFreeEx(process, block, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  return ok;
}

void TypeValueName(HWND list, const std::wstring& valueName) {
  for (wchar_t c : valueName) {
    const wchar_t typed = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    SendBounded(list, WM_CHAR, typed, 0);
  }
}

void SelectValue(HWND editor, const std::wstring& valueName) {
  HWND list = FindDescendant(editor, L"SysListView32");
  if (list == nullptr) return;
  SendBounded(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddStyle(list, LVS_SHOWSELALWAYS);
  ::SetFocus(list);
  ::Sleep(100);
  SendBounded(list, WM_KEYDOWN, VK_HOME, 0);
  if (valueName.empty()) return;
  ::DWORD processId = 0;
  ::GetWindowThreadProcessId(editor, &processId);
  const bool editorIs64 = IsWow64() && Is64BitProcess(processId);
  if (!SelectValueRemotely(list, processId, valueName, editorIs64)) TypeValueName(list, valueName);
}

class Win32RegistryEditor : public IRegistryEditorApi {
 public:
  bool OpenAt(const RegistryEditorRequest& request) override {
    std::wstring keyText = EditorKeyText(request.keyText);
    bool view64 = request.view64;
    if (RunsOnWine() && IsWow64()) {
      if (!view64) {
        const std::wstring in64 = KeyTextIn64BitView(keyText);
        if (!in64.empty()) keyText = in64;
      }
      view64 = true;
    }
    HWND editor = ::FindWindowW(kEditorClass, nullptr);
    if (editor != nullptr && IsWow64()) {
      ::DWORD processId = 0;
      ::GetWindowThreadProcessId(editor, &processId);
      if (Is64BitProcess(processId) != view64) {
        CloseEditor(editor);
        editor = ::FindWindowW(kEditorClass, nullptr);
      }
    }
    const bool startedFresh = editor == nullptr;
    if (startedFresh) editor = StartEditor(keyText, view64);
    if (editor == nullptr) return false;
    ::ShowWindowAsync(editor, SW_SHOWMAXIMIZED);
    ::SetForegroundWindow(editor);
    // A hung editor is shown but not driven.
    if (!Answers(editor)) return true;
    if (!startedFresh) JumpThroughFavorites(editor, keyText);
    SelectValue(editor, request.valueName);
    return true;
  }
};

}  // namespace

std::unique_ptr<IRegistryEditorApi> MakeRegistryEditor() { return std::make_unique<Win32RegistryEditor>(); }

}  // namespace orvix::win32
