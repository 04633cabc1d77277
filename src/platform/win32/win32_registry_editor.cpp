// Drives the system's registry editor to a key: an editor of the wrong
// bitness is closed, a fresh one starts at "LastKey", a running one jumps
// through a temporary favourite, and the value is selected in its list.
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/win32/win32_platform.h"
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
constexpr ::DWORD kCloseTimeoutMs = 2000;
// A frozen editor must not freeze us with it.
constexpr ::DWORD kStartIdleTimeoutMs = 30000;
constexpr SIZE_T kRemoteBlockBytes = 1024;
constexpr SIZE_T kRemoteTextOffset = 36;
constexpr std::size_t kMaxValueNameChars = 250;

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using Wow64EnableFsRedirectionFn = BOOLEAN(WINAPI*)(BOOLEAN);

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
    ::Sleep(50);
  }
}

bool StartEditor(const std::wstring& keyText, bool view64) {
  try {
    TRegistry reg;
    reg.SetRootKey(RootKeyFromName(L"HKEY_CURRENT_USER"));
    reg.Access |= KEY_WOW64_64KEY;
    if (reg.OpenKey(kAppletKey, true)) reg.WriteString(L"LastKey", keyText);
  } catch (const std::exception&) {
    // The editor then opens where it was last; still worth showing.
  }
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
    return false;
  }
  if (info.hProcess != nullptr) {
    ::WaitForInputIdle(info.hProcess, kStartIdleTimeoutMs);
    ::CloseHandle(info.hProcess);
  }
  return true;
}

void AddStyle(HWND window, LONG style) {
  ::SetWindowLongW(window, GWL_STYLE, ::GetWindowLongW(window, GWL_STYLE) | style);
}

// Jumps a running editor to the key through a temporary favourite.
void JumpThroughFavorites(HWND editor, const std::wstring& keyText) {
  HWND tree = ::FindWindowExW(editor, nullptr, L"SysTreeView32", nullptr);
  if (tree != nullptr) {
    AddStyle(tree, TVS_SHOWSELALWAYS);
    ::SetFocus(tree);
  }
  ::Sleep(100);
  ::SendMessageW(editor, WM_COMMAND, kCommandCollapse, 0);
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
    RegKeyInfo info;
    reg.GetKeyInfo(info);
    ::SendMessageW(editor, WM_COMMAND, kFirstFavoriteCommand + info.values, 0);
    reg.DeleteValue(kFavoriteName);
  } catch (const std::exception&) {
  }
}

// Selects the value in the editor's list by a find request placed in the
// editor's own memory.
bool SelectValueRemotely(HWND list, ::DWORD processId, const std::wstring& valueName, bool editorIs64) {
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return false;
  void* block = ::VirtualAllocEx(process, nullptr, kRemoteBlockBytes, MEM_COMMIT, PAGE_EXECUTE_READWRITE);
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
      const LRESULT found = ::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(block));
      // An LVITEM's state and stateMask sit at the same offsets in both layouts.
      auto setState = [&](WPARAM item, std::uint32_t state, std::uint32_t mask) {
        unsigned char lvitem[64] = {};
        std::memcpy(lvitem + 12, &state, 4);
        std::memcpy(lvitem + 16, &mask, 4);
        SIZE_T done = 0;
        if (::WriteProcessMemory(process, block, lvitem, sizeof lvitem, &done))
          ::SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(block));
      };
      setState(static_cast<WPARAM>(-1), 0, LVIS_SELECTED);
      if (found >= 0) {
        setState(static_cast<WPARAM>(found), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(found), FALSE);
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
    ::SendMessageW(list, WM_CHAR, typed, 0);
  }
}

void SelectValue(HWND editor, const std::wstring& valueName) {
  HWND list = ::FindWindowExW(editor, nullptr, L"SysListView32", nullptr);
  if (list == nullptr) return;
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddStyle(list, LVS_SHOWSELALWAYS);
  ::SetFocus(list);
  ::Sleep(100);
  ::SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
  if (valueName.empty()) return;
  ::DWORD processId = 0;
  ::GetWindowThreadProcessId(editor, &processId);
  const bool editorIs64 = IsWow64() && Is64BitProcess(processId);
  if (!SelectValueRemotely(list, processId, valueName, editorIs64)) TypeValueName(list, valueName);
}

class Win32RegistryEditor : public IRegistryEditorApi {
 public:
  bool OpenAt(const RegistryEditorRequest& request) override {
    HWND editor = ::FindWindowW(kEditorClass, nullptr);
    if (editor != nullptr && IsWow64()) {
      ::DWORD processId = 0;
      ::GetWindowThreadProcessId(editor, &processId);
      if (Is64BitProcess(processId) != request.view64) {
        CloseEditor(editor);
        editor = ::FindWindowW(kEditorClass, nullptr);
      }
    }
    const bool startedFresh = editor == nullptr;
    if (startedFresh) {
      StartEditor(request.keyText, request.view64);
      editor = ::FindWindowW(kEditorClass, nullptr);
      if (editor == nullptr) return false;
    }
    ::ShowWindow(editor, SW_SHOWMAXIMIZED);
    ::SetForegroundWindow(editor);
    if (!startedFresh) JumpThroughFavorites(editor, request.keyText);
    SelectValue(editor, request.valueName);
    return true;
  }
};

}  // namespace

std::unique_ptr<IRegistryEditorApi> MakeRegistryEditor() { return std::make_unique<Win32RegistryEditor>(); }

}  // namespace orvix::win32
