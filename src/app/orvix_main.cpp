// orvix.exe: the console front-end over the core, on the real machine.
#include <cstdio>
#include <string>
#include <vector>

#include "app/orvix_commands.h"
#include "formats/text_codec.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"

namespace {

// Writes to a console with WriteConsoleW, and UTF-8 bytes to a pipe or file.
class StandardStream : public orvix::ConsoleOutput {
 public:
  StandardStream(DWORD which, FILE* file) : handle_(::GetStdHandle(which)), file_(file) {
    DWORD mode = 0;
    console_ = handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode);
  }

  void Write(const std::wstring& text) override {
    if (console_) {
      DWORD written = 0;
      ::WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      return;
    }
    const std::string bytes = orvix::ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::fflush(file_);
  }

 private:
  HANDLE handle_;
  FILE* file_;
  bool console_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  orvix::win32::RestrictDllSearchToSystem();
  orvix::win32::Win32Platform platform;
  orvix::ScopedPlatform current(platform);
  StandardStream out(STD_OUTPUT_HANDLE, stdout);
  StandardStream err(STD_ERROR_HANDLE, stderr);
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  return orvix::RunOrvixCommand(args, out, err);
}
