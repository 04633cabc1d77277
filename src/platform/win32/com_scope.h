// COM for one operation on the calling thread, and interface pointers that
// release themselves.
#pragma once

#include "platform/win32/windows_api.h"

#include <objbase.h>

namespace orvix::win32 {

// A thread that already has COM in another model keeps it.
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
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_ != nullptr) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return p_; }
  void** OutVoid() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

}  // namespace orvix::win32
