// orvix.exe: the console front-end over the core, on the real machine.
#include <string>
#include <vector>

#include "app/orvix_commands.h"
#include "formats/text_codec.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"

namespace {

// Writes to a console with WriteConsoleW, and UTF-8 bytes to a pipe or file
// with WriteFile: straight through, unbuffered, so that a prompt shows before
// the answer is read and nothing is lost when the process ends, and without
// the C runtime, which asks again for every write whether the handle is a
// console (a round trip to the server under Wine).
class StandardStream : public orvix::ConsoleOutput {
 public:
  explicit StandardStream(DWORD which) : handle_(::GetStdHandle(which)) {
    DWORD mode = 0;
    console_ = handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode);
  }

  void Write(const std::wstring& text) override {
    if (handle_ == INVALID_HANDLE_VALUE || handle_ == nullptr) return;
    DWORD written = 0;
    if (console_) {
      ::WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      return;
    }
    const std::string bytes = orvix::ToUtf8(text);
    for (std::size_t done = 0; done < bytes.size(); done += written) {
      if (!::WriteFile(handle_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
          written == 0)
        return;  // a closed pipe: nobody reads any more
    }
  }

 private:
  HANDLE handle_;
  bool console_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  orvix::win32::RestrictDllSearchToSystem();
  orvix::win32::Win32Platform platform;
  orvix::ScopedPlatform current(platform);
  StandardStream out(STD_OUTPUT_HANDLE);
  StandardStream err(STD_ERROR_HANDLE);
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  return orvix::RunOrvixCommand(args, out, err);
}
