#include "windows/test_files.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/win_types.h"
#include "platform/win32/windows_api.h"

namespace orvix::test {

std::wstring BesideTestProgram(const std::wstring& fileName) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path().wstring() + L"\\" + fileName;
}

bool WriteTestFile(const std::wstring& path, std::string_view bytes) {
  std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

bool PathExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ScratchFolder::ScratchFolder() {
  static std::atomic<unsigned> counter{0};
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"orvix-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  std::filesystem::create_directories(std::filesystem::path(path_));
}

ScratchFolder::~ScratchFolder() {
  // Read-only and hidden entries would stop the removal.
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(path_), error))
    ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(std::filesystem::path(path_), error);
}

}  // namespace orvix::test
