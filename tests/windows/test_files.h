// Files for the Windows tests, made with the C++ library and direct Win32
// calls so that the code under test never sets up its own check.
#pragma once

#include <string>
#include <string_view>

namespace orvix::test {

// The full path of a helper program or library the build places beside the
// test program, e.g. BesideTestProgram(L"orvix_test_sleeper.exe").
std::wstring BesideTestProgram(const std::wstring& fileName);

// Writes a new file (or replaces one); false on failure.
bool WriteTestFile(const std::wstring& path, std::string_view bytes);
bool PathExists(const std::wstring& path);

// A fresh empty folder in the temporary folder, removed with everything in
// it at scope exit.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // Path() + "\" + relative path.
  std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

}  // namespace orvix::test
