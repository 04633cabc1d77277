#include "platform/shell_api.h"
#include "platform/win32/win32_platform.h"
// Includes windows.h, so it comes after the project's own headers.
#include "platform/win32/com_scope.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/win32_text_call.h"

#include <shlobj.h>

namespace orvix::win32 {
namespace {

// The text of a call that fills a buffer; empty when the call fails.
template <typename Call>
std::wstring TextOrEmpty(Call call) {
  std::wstring text;
  TextFromCall(call, &text);
  return text;
}

// SHGetKnownFolderPath, which shell32 has from Vista on.
using GetKnownFolderPathFunction = HRESULT(WINAPI*)(const GUID&, ::DWORD, HANDLE, PWSTR*);

GetKnownFolderPathFunction KnownFolderFunction() {
  static const auto function = reinterpret_cast<GetKnownFolderPathFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"shell32.dll"), "SHGetKnownFolderPath")));
  return function;
}

class Win32Shell : public IShellApi {
 public:
  std::wstring GetWindowsDirectory() override {
    return TextOrEmpty([](wchar_t* buffer, ::DWORD size) { return ::GetWindowsDirectoryW(buffer, size); });
  }

  std::wstring GetSystemDirectory() override {
    return TextOrEmpty([](wchar_t* buffer, ::DWORD size) { return ::GetSystemDirectoryW(buffer, size); });
  }

  std::wstring GetTempPath() override {
    return TextOrEmpty([](wchar_t* buffer, ::DWORD size) { return ::GetTempPathW(size, buffer); });
  }

  std::wstring GetSpecialFolder(int csidl) override {
    wchar_t buffer[MAX_PATH] = {};
    return ::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE) ? buffer : L"";
  }

  std::wstring GetKnownFolderPath(const std::wstring& guid) override {
    const GetKnownFolderPathFunction function = KnownFolderFunction();
    // IIDFromString takes only the braced form, but reads an empty text as the null id.
    IID id;
    if (function == nullptr || guid.size() != 38 || ::IIDFromString(guid.c_str(), &id) != S_OK) return L"";
    PWSTR path = nullptr;
    const HRESULT result = function(id, 0, nullptr, &path);
    std::wstring text = SUCCEEDED(result) && path != nullptr ? path : L"";
    ::CoTaskMemFree(path);
    return text;
  }

  std::wstring GetModuleFileName() override {
    // A full buffer means the name was cut: try again with a larger one.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
      const ::DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<::DWORD>(buffer.size()));
      if (length == 0) return L"";
      if (length < buffer.size()) return buffer.substr(0, length);
      buffer.assign(buffer.size() * 2, L'\0');
    }
  }

  std::optional<std::wstring> GetEnvironmentVariable(const std::wstring& name) override {
    // A variable set to an empty text also answers 0, without an error.
    std::wstring value;
    const ::DWORD error = TextFromCall(
        [&](wchar_t* buffer, ::DWORD size) {
          ::SetLastError(ERROR_SUCCESS);
          return ::GetEnvironmentVariableW(name.c_str(), buffer, size);
        },
        &value);
    if (error != ERROR_SUCCESS) return std::nullopt;
    return value;
  }

  std::wstring ExpandEnvironmentStrings(const std::wstring& text) override {
    // This call counts the NUL in what it wrote as well as in what it needs.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
      const ::DWORD size =
          ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<::DWORD>(buffer.size()));
      if (size == 0) return text;
      if (size <= buffer.size()) return buffer.substr(0, size - 1);
      buffer.assign(size, L'\0');
    }
  }

  std::wstring GetShortcutPath(const std::wstring& shortcut) override {
    const ComScope com;
    ComRef<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.OutVoid())))
      return L"";
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) ||
        FAILED(file->Load(shortcut.c_str(), STGM_READ)))
      return L"";
    // GetPath reads what the file holds; only Resolve would search for a moved target.
    wchar_t buffer[MAX_PATH] = {};
    if (link->GetPath(buffer, MAX_PATH, nullptr, 0) != S_OK) return L"";
    return buffer;
  }

  bool ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                    const std::wstring& directory, int show) override {
    auto orNull = [](const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); };
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, orNull(verb), file.c_str(), orNull(parameters), orNull(directory), show);
    // Values above 32 mean success; the rest are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
  }
};

}  // namespace

std::unique_ptr<IShellApi> MakeShell() { return std::make_unique<Win32Shell>(); }

}  // namespace orvix::win32
