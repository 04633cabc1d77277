// INI files and the replace helper against Wine's real files and its own
// profile functions: what we write, Windows reads, and the other way round.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_helpers.h"
#include "platform/profile_ini.h"
#include "platform/win_types.h"
#include "windows/test_files.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {

using test::ScratchFolder;
using test::WriteTestFile;

std::wstring WindowsRead(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
  wchar_t buffer[256] = {};
  ::GetPrivateProfileStringW(section, key, L"<none>", buffer, 256, path.c_str());
  return buffer;
}

std::string ReadAll(const std::wstring& path) {
  Bytes bytes;
  return ReadFileBytes(path, bytes, 1 << 20) ? std::string(bytes.begin(), bytes.end()) : "<none>";
}

// Names in the folder, to see that no temporary file is left.
int CountFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  int count = 0;
  if (find == INVALID_HANDLE_VALUE) return count;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return count;
}

TEST(ProfileIniWineTest, WindowsReadsTheUtf16FilesWeCreate) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"Main.ini";
  const std::wstring russian = L"\x0420\x0443\x0441\x0441\x043a\x0438\x0439";
  ASSERT_TRUE(WriteIniString(path, L"Main", L"Language", russian));
  ASSERT_TRUE(WriteIniInt(path, L"Main", L"Width", 1024));
  EXPECT_EQ(WindowsRead(path, L"Main", L"Language"), russian);
  EXPECT_EQ(::GetPrivateProfileIntW(L"Main", L"Width", 0, path.c_str()), 1024u);
  EXPECT_EQ(CountFiles(scratch.Path()), 1);
}

TEST(ProfileIniWineTest, WeReadAndExtendWhatWindowsWrites) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"news.ini";
  ASSERT_TRUE(::WritePrivateProfileStringW(L"News", L"Title", L"Caf\x00e9", path.c_str()));
  ASSERT_TRUE(::WritePrivateProfileStringW(L"News", L"Quoted", L"\"a b\"", path.c_str()));
  EXPECT_EQ(ReadIniString(path, L"news", L"TITLE", L""), L"Caf\x00e9");
  EXPECT_EQ(ReadIniString(path, L"News", L"Quoted", L""), L"a b");

  ASSERT_TRUE(WriteIniString(path, L"News", L"Title", L"Th\x00e9"));
  ASSERT_TRUE(WriteIniString(path, L"Other", L"Key", L"v"));
  EXPECT_EQ(WindowsRead(path, L"News", L"Title"), L"Th\x00e9");
  EXPECT_EQ(WindowsRead(path, L"News", L"Quoted"), L"a b");
  EXPECT_EQ(WindowsRead(path, L"Other", L"Key"), L"v");
}

TEST(ProfileIniWineTest, ReplaceSwapsTheWholeFileOrLeavesItAsItWas) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"cache.ini";
  ASSERT_TRUE(WriteTestFile(path, "old"));
  ASSERT_TRUE(ReplaceFileBytes(path, Bytes{'n', 'e', 'w'}));
  EXPECT_EQ(ReadAll(path), "new");

  // Another program has it open without letting it be deleted or replaced.
  const HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReplaceFileBytes(path, Bytes{'x'}));
  ::CloseHandle(held);
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_EQ(CountFiles(scratch.Path()), 1);
}

}  // namespace
}  // namespace orvix
