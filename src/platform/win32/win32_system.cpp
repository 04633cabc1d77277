#include "platform/system_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"

namespace orvix::win32 {
namespace {

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using RtlGetVersionFn = LONG(WINAPI*)(PRTL_OSVERSIONINFOEXW);

class Win32System : public ISystemApi {
 public:
  // Whether the machine is 64-bit Windows, with both registry views: a
  // 64-bit process runs on nothing else.
  bool IsWow64Process() override {
    if constexpr (sizeof(void*) == 8) return true;
    const auto isWow64 = SystemFunction<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(::GetCurrentProcess(), &wow64) && wow64;
  }

  OsVersionInfo OsVersion() override {
    // GetVersionEx reports Windows 8 to programs without a compatibility
    // manifest; the kernel's own answer does not lie.
    RTL_OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const auto rtlGetVersion = SystemFunction<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return {};
    SYSTEM_INFO system{};
    ::GetNativeSystemInfo(&system);
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.wServicePackMajor,
            info.wProductType != VER_NT_WORKSTATION,
            system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64};
  }

  void DebugOutput(const std::wstring& text) override { ::OutputDebugStringW(text.c_str()); }

  std::wstring SystemErrorText(orvix::DWORD code) override {
    wchar_t* buffer = nullptr;
    const ::DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer != nullptr ? buffer : L"", length);
    if (buffer != nullptr) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
  }

  orvix::DWORD LastError() override { return ::GetLastError(); }
};

}  // namespace

std::unique_ptr<ISystemApi> MakeSystem() { return std::make_unique<Win32System>(); }

}  // namespace orvix::win32
