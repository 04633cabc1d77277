#include "windows/shell_link_maker.h"

#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <shlobj.h>

namespace orvix::test {
namespace {

// COM for this thread while a shortcut is made.
class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

template <typename T>
class ComPtr {
 public:
  ~ComPtr() {
    if (p_ != nullptr) p_->Release();
  }
  T* operator->() const { return p_; }
  void** OutVoid() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

}  // namespace

bool MakeShortcut(const std::wstring& path, const ShortcutFields& fields) {
  const ComScope com;
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.OutVoid())))
    return false;
  if (FAILED(link->SetPath(fields.target.c_str()))) return false;
  if (!fields.arguments.empty() && FAILED(link->SetArguments(fields.arguments.c_str()))) return false;
  if (!fields.workingDir.empty() && FAILED(link->SetWorkingDirectory(fields.workingDir.c_str()))) return false;
  if (!fields.description.empty() && FAILED(link->SetDescription(fields.description.c_str()))) return false;
  if (!fields.iconFile.empty() && FAILED(link->SetIconLocation(fields.iconFile.c_str(), 0))) return false;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid()))) return false;
  return SUCCEEDED(file->Save(path.c_str(), TRUE));
}

}  // namespace orvix::test
