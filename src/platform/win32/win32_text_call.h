// Text out of the Win32 calls that fill a caller's buffer. Include after
// windows_api.h.
#pragma once

#include <string>

namespace orvix::win32 {

// Calls a function that fills a text buffer and answers the length it wrote,
// or the size it needs (with its NUL) when the buffer is too small, or 0 on
// failure. Answers ERROR_SUCCESS or the thread's last error.
template <typename Call>
::DWORD TextFromCall(Call call, std::wstring* text) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const ::DWORD length = call(buffer.data(), static_cast<::DWORD>(buffer.size()));
    if (length == 0) {
      text->clear();
      return ::GetLastError();
    }
    if (length < buffer.size()) {
      text->assign(buffer.data(), length);
      return ERROR_SUCCESS;
    }
    buffer.assign(length, L'\0');
  }
}

}  // namespace orvix::win32
