#include "platform/registry_api.h"
#include "platform/registry_views.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"

namespace orvix::win32 {
namespace {

constexpr ::DWORD kMaxKeyNameChars = 256;      // 255 and the NUL
constexpr ::DWORD kMaxValueNameChars = 16384;  // 16383 and the NUL

using RegDeleteKeyExWFn = LSTATUS(WINAPI*)(::HKEY, LPCWSTR, REGSAM, ::DWORD);

orvix::REGSAM InView(orvix::REGSAM access) { return ProcessViewAccess(access, sizeof(void*) == 8); }

class Win32Registry : public IRegistryApi {
 public:
  LSTATUS OpenKey(orvix::HKEY parent, const std::wstring& subKey, orvix::REGSAM access,
                  orvix::HKEY* result) override {
    ::HKEY key = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(Native(parent), subKey.c_str(), 0, InView(access), &key);
    *result = status == ERROR_SUCCESS ? Portable(key) : 0;
    return status;
  }

  LSTATUS CreateKey(orvix::HKEY parent, const std::wstring& subKey, orvix::REGSAM access,
                    orvix::HKEY* result) override {
    ::HKEY key = nullptr;
    const LSTATUS status = ::RegCreateKeyExW(Native(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             InView(access), nullptr, &key, nullptr);
    *result = status == ERROR_SUCCESS ? Portable(key) : 0;
    return status;
  }

  LSTATUS CloseKey(orvix::HKEY key) override { return ::RegCloseKey(Native(key)); }
  LSTATUS FlushKey(orvix::HKEY key) override { return ::RegFlushKey(Native(key)); }

  LSTATUS QueryInfoKey(orvix::HKEY key, RegKeyInfo* info) override {
    ::DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
    ::FILETIME written{};
    const LSTATUS status = ::RegQueryInfoKeyW(Native(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr,
                                              &values, &maxValueNameLen, &maxValueLen, nullptr, &written);
    if (status == ERROR_SUCCESS && info != nullptr) {
      info->subKeys = subKeys;
      info->maxSubKeyLen = maxSubKeyLen;
      info->values = values;
      info->maxValueNameLen = maxValueNameLen;
      info->maxValueLen = maxValueLen;
      info->lastWriteTime = (static_cast<FILETIME64>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    }
    return status;
  }

  LSTATUS EnumKey(orvix::HKEY key, orvix::DWORD index, std::wstring* name) override {
    wchar_t buffer[kMaxKeyNameChars];
    ::DWORD length = kMaxKeyNameChars;
    const LSTATUS status =
        ::RegEnumKeyExW(Native(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) name->assign(buffer, length);
    return status;
  }

  LSTATUS EnumValue(orvix::HKEY key, orvix::DWORD index, std::wstring* name) override {
    std::wstring buffer(kMaxValueNameChars, L'\0');
    ::DWORD length = kMaxValueNameChars;
    const LSTATUS status =
        ::RegEnumValueW(Native(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) name->assign(buffer.data(), length);
    return status;
  }

  LSTATUS QueryValue(orvix::HKEY key, const std::wstring& name, orvix::DWORD* type, orvix::BYTE* data,
                     orvix::DWORD* size) override {
    ::DWORD nativeType = 0;
    ::DWORD nativeSize = size ? *size : 0;
    const LSTATUS status =
        ::RegQueryValueExW(Native(key), name.c_str(), nullptr, &nativeType, data, size ? &nativeSize : nullptr);
    if (type != nullptr) *type = nativeType;
    if (size != nullptr) *size = nativeSize;
    return status;
  }

  LSTATUS SetValue(orvix::HKEY key, const std::wstring& name, orvix::DWORD type, const orvix::BYTE* data,
                   orvix::DWORD size) override {
    return ::RegSetValueExW(Native(key), name.c_str(), 0, type, data, size);
  }

  LSTATUS DeleteKey(orvix::HKEY parent, const std::wstring& subKey, orvix::REGSAM viewSam) override {
    // The Ex form deletes in the view asked for; without it the process's
    // own view is the only one reachable.
    static const auto deleteKeyEx = SystemFunction<RegDeleteKeyExWFn>(L"advapi32.dll", "RegDeleteKeyExW");
    if (deleteKeyEx != nullptr) return deleteKeyEx(Native(parent), subKey.c_str(), InView(viewSam) & KEY_WOW64_RES, 0);
    return ::RegDeleteKeyW(Native(parent), subKey.c_str());
  }

  LSTATUS DeleteValue(orvix::HKEY key, const std::wstring& name) override {
    return ::RegDeleteValueW(Native(key), name.c_str());
  }
};

}  // namespace

std::unique_ptr<IRegistryApi> MakeRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace orvix::win32
