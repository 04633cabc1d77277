#include "platform/icon_api.h"

#include <climits>

#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

#include <objbase.h>

namespace orvix::win32 {
namespace {

IconHandle Handle(HICON icon) { return reinterpret_cast<IconHandle>(icon); }

class Win32Icons : public IIconApi {
 public:
  IconPair ExtractIcons(const std::wstring& file, int index) override {
    HICON large = nullptr;
    HICON small = nullptr;
    // Only the count tells whether the handles are icons: on failure Wine
    // leaves them holding whatever it likes.
    const UINT extracted = ::ExtractIconExW(file.c_str(), index, &large, &small, 1);
    if (extracted == 0 || extracted == UINT_MAX) return {};
    return {Handle(large), Handle(small)};
  }

  IconHandle ShellIcon(const std::wstring& path) override {
    // The shell wants COM on the calling thread, which may be a worker.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SHFILEINFOW info = {};
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SYSICONINDEX | SHGFI_OPENICON);
    if (SUCCEEDED(com)) ::CoUninitialize();
    return Handle(info.hIcon);
  }

  void DestroyIcon(IconHandle icon) override {
    if (icon != 0) ::DestroyIcon(reinterpret_cast<HICON>(icon));
  }
};

}  // namespace

std::unique_ptr<IIconApi> MakeIcons() { return std::make_unique<Win32Icons>(); }

}  // namespace orvix::win32
