// The Win32 file system against Wine's real files: listings, 8.3 names,
// handles and locks, delete-at-restart and WOW64 redirection.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "windows/test_files.h"
#include "platform/win32/windows_api.h"

// Outside namespace orvix, where the root key macros' HKEY is Win32's.
namespace {

// Reads the delete-at-restart list as Windows keeps it: a REG_MULTI_SZ of
// pairs, the source and the target ("" to delete, "!" before a target that
// may be replaced), each as an NT path "\??\C:\...".
std::vector<std::wstring> PendingRenames(::REGSAM view) {
  std::vector<std::wstring> entries;
  ::HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
    return entries;
  ::DWORD type = 0, size = 0;
  if (::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_MULTI_SZ) {
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &size);
    data.resize(size / sizeof(wchar_t));
    // Empty strings are part of the list (a delete's target), so split on
    // every NUL and drop only the list's closing one.
    for (std::size_t start = 0; start < data.size();) {
      const std::size_t end = data.find(L'\0', start);
      entries.push_back(data.substr(start, end - start));
      start = end == std::wstring::npos ? data.size() : end + 1;
    }
    if (!entries.empty() && entries.back().empty()) entries.pop_back();
  }
  ::RegCloseKey(key);
  return entries;
}

}  // namespace

namespace orvix {
namespace {

using test::PathExists;
using test::ScratchFolder;
using test::WriteTestFile;

class FileSystemWineTest : public ::testing::Test {
 protected:
  IFileSystem& files() { return platform_.Files(); }

  // Every entry of a folder by name, "." and ".." included.
  std::map<std::wstring, FindData> List(const std::wstring& folder) {
    std::map<std::wstring, FindData> entries;
    FindData data;
    FindHandle find = 0;
    EXPECT_EQ(files().FindFirst(folder + L"\\*", &data, &find), ERROR_SUCCESS);
    if (find == 0) return entries;
    orvix::DWORD status = ERROR_SUCCESS;
    for (; status == ERROR_SUCCESS; status = files().FindNext(find, &data)) entries[data.name] = data;
    files().FindClose(find);
    EXPECT_EQ(status, ERROR_NO_MORE_FILES);
    return entries;
  }

  std::string ReadAll(const std::wstring& path) {
    FileHandle file = 0;
    if (files().OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, &file) != ERROR_SUCCESS) return "<none>";
    std::string bytes(4096, '\0');
    orvix::DWORD read = 0;
    files().ReadFile(file, bytes.data(), static_cast<orvix::DWORD>(bytes.size()), &read);
    files().CloseFile(file);
    bytes.resize(read);
    return bytes;
  }

  win32::Win32Platform platform_;
  ScratchFolder scratch_;
};

TEST_F(FileSystemWineTest, ListingShowsHiddenEntriesWithAttributesAndSizes) {
  ASSERT_TRUE(WriteTestFile(scratch_ / L"plain.txt", "12345"));
  ASSERT_TRUE(WriteTestFile(scratch_ / L"hidden.dat", "abc"));
  ASSERT_EQ(files().SetAttributes(scratch_ / L"hidden.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            ERROR_SUCCESS);
  ASSERT_EQ(files().CreateDirectory(scratch_ / L"sub"), ERROR_SUCCESS);

  const auto entries = List(scratch_.Path());
  std::vector<std::wstring> names;
  for (const auto& [name, data] : entries) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L".", L"..", L"hidden.dat", L"plain.txt", L"sub"}));
  if (entries.size() != 5) return;
  EXPECT_EQ(entries.at(L"plain.txt").size, 5u);
  EXPECT_EQ(entries.at(L"hidden.dat").size, 3u);
  EXPECT_TRUE(entries.at(L"hidden.dat").attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(entries.at(L"hidden.dat").attributes & FILE_ATTRIBUTE_SYSTEM);
  EXPECT_FALSE(entries.at(L"plain.txt").attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(entries.at(L"sub").attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(entries.at(L"sub").reparseTag, 0u);
  EXPECT_NE(entries.at(L"plain.txt").lastWriteTime, 0u);

  FileAttributeData attributes;
  ASSERT_EQ(files().GetAttributes(scratch_ / L"hidden.dat", &attributes), ERROR_SUCCESS);
  EXPECT_EQ(attributes.attributes, entries.at(L"hidden.dat").attributes);
  EXPECT_EQ(attributes.size, 3u);
  EXPECT_EQ(attributes.lastWriteTime, entries.at(L"hidden.dat").lastWriteTime);
}

TEST_F(FileSystemWineTest, ListingsAndAttributesOfWhatIsNotThere) {
  FindData data;
  FindHandle find = 0;
  EXPECT_EQ(files().FindFirst(scratch_ / L"*.none", &data, &find), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(find, 0u);
  EXPECT_EQ(files().FindFirst(scratch_ / L"missing\\*", &data, &find), ERROR_PATH_NOT_FOUND);
  FileAttributeData attributes;
  EXPECT_EQ(files().GetAttributes(scratch_ / L"missing.txt", &attributes), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files().GetAttributes(scratch_ / L"missing\\file.txt", &attributes), ERROR_PATH_NOT_FOUND);
}

// An 8.3 component: at most eight characters, a dot and three, no spaces.
bool IsShortComponent(const std::wstring& name) {
  const std::size_t dot = name.find(L'.');
  const std::size_t base = dot == std::wstring::npos ? name.size() : dot;
  const std::size_t extension = dot == std::wstring::npos ? 0 : name.size() - dot - 1;
  return base >= 1 && base <= 8 && extension <= 3 && name.find(L' ') == std::wstring::npos;
}

TEST_F(FileSystemWineTest, ShortAndLongNamesOfALongName) {
  ASSERT_EQ(files().CreateDirectory(scratch_ / L"Long folder name here"), ERROR_SUCCESS);
  const std::wstring longPath = scratch_ / L"Long folder name here\\A rather long file name.text";
  ASSERT_TRUE(WriteTestFile(longPath, "x"));

  std::wstring shortPath;
  ASSERT_EQ(files().GetShortPathName(longPath, &shortPath), ERROR_SUCCESS);
  const std::wstring shortName = shortPath.substr(shortPath.rfind(L'\\') + 1);
  const std::wstring shortFolder = shortPath.substr(0, shortPath.rfind(L'\\'));
  EXPECT_TRUE(IsShortComponent(shortName)) << shortPath;
  EXPECT_TRUE(IsShortComponent(shortFolder.substr(shortFolder.rfind(L'\\') + 1))) << shortPath;

  std::wstring longAgain;
  ASSERT_EQ(files().GetLongPathName(shortPath, &longAgain), ERROR_SUCCESS);
  EXPECT_TRUE(SameText(longAgain, longPath)) << longAgain;
  EXPECT_EQ(longAgain.substr(longAgain.rfind(L'\\') + 1), L"A rather long file name.text");

  FileAttributeData attributes;
  EXPECT_EQ(files().GetAttributes(shortPath, &attributes), ERROR_SUCCESS);

  // The listing carries the same short name beside the long one; a name that
  // is already 8.3 has none.
  ASSERT_TRUE(WriteTestFile(scratch_ / L"Long folder name here\\SHORT.TXT", "y"));
  const auto entries = List(scratch_ / L"Long folder name here");
  ASSERT_EQ(entries.count(L"A rather long file name.text"), 1u);
  EXPECT_TRUE(SameText(entries.at(L"A rather long file name.text").alternateName, shortName));
  ASSERT_EQ(entries.count(L"SHORT.TXT"), 1u);
  EXPECT_EQ(entries.at(L"SHORT.TXT").alternateName, L"");

  std::wstring none;
  EXPECT_EQ(files().GetShortPathName(scratch_ / L"missing file name.text", &none), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(files().GetLongPathName(scratch_ / L"MISSIN~1.TXT", &none), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileSystemWineTest, LongResultsGrowTheirBuffer) {
  // A path longer than MAX_PATH through the \\?\ form.
  std::wstring deep = L"\\\\?\\" + scratch_.Path();
  for (int i = 0; i < 6; ++i) {
    deep += L"\\a folder name of some fifty characters in length " + std::to_wstring(i);
    ASSERT_EQ(files().CreateDirectory(deep), ERROR_SUCCESS);
  }
  ASSERT_GT(deep.size(), 300u);
  std::wstring longPath;
  ASSERT_EQ(files().GetLongPathName(deep, &longPath), ERROR_SUCCESS);
  EXPECT_TRUE(SameText(longPath, deep));
  // The scratch folder's removal cannot reach this deep.
  for (; deep.size() > scratch_.Path().size() + 4; deep.resize(deep.rfind(L'\\')))
    ASSERT_EQ(files().RemoveDirectory(deep), ERROR_SUCCESS);
}

TEST_F(FileSystemWineTest, HandleReadsWritesSeeksAndTruncates) {
  const std::wstring path = scratch_ / L"data.bin";
  FileHandle file = 0;
  ASSERT_EQ(files().OpenFile(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, &file), ERROR_SUCCESS);
  orvix::DWORD done = 0;
  ASSERT_EQ(files().WriteFile(file, "hello world", 11, &done), ERROR_SUCCESS);
  EXPECT_EQ(done, 11u);
  std::uint64_t size = 0;
  ASSERT_EQ(files().GetFileSize(file, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 11u);

  char word[8] = {};
  ASSERT_EQ(files().SeekFile(file, 6), ERROR_SUCCESS);
  ASSERT_EQ(files().ReadFile(file, word, sizeof word, &done), ERROR_SUCCESS);
  EXPECT_EQ(std::string(word, done), "world");
  ASSERT_EQ(files().ReadFile(file, word, sizeof word, &done), ERROR_SUCCESS);
  EXPECT_EQ(done, 0u);  // at the end

  ASSERT_EQ(files().SeekFile(file, 5), ERROR_SUCCESS);
  ASSERT_EQ(files().SetEndOfFile(file), ERROR_SUCCESS);
  EXPECT_EQ(files().FlushFile(file), ERROR_SUCCESS);

  // Opened without sharing, the file is locked against everyone else.
  FileHandle second = 0;
  EXPECT_EQ(files().OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, &second),
            ERROR_SHARING_VIOLATION);
  EXPECT_EQ(second, 0u);
  EXPECT_EQ(files().DeleteFile(path), ERROR_SHARING_VIOLATION);
  ASSERT_EQ(files().CloseFile(file), ERROR_SUCCESS);

  EXPECT_EQ(ReadAll(path), "hello");
  EXPECT_EQ(files().OpenFile(path, GENERIC_WRITE, 0, CREATE_NEW, &second), ERROR_FILE_EXISTS);
  EXPECT_EQ(files().OpenFile(scratch_ / L"missing.bin", GENERIC_READ, 0, OPEN_EXISTING, &second),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(FileSystemWineTest, FinalPathsAndLinkCountsOfRealFiles) {
  ScratchFolder scratch;
  ASSERT_TRUE(WriteTestFile(scratch / L"one.txt", "data"));
  ASSERT_TRUE(::CreateHardLinkW((scratch / L"two.txt").c_str(), (scratch / L"one.txt").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW((scratch / L"Sub Folder").c_str(), nullptr));

  DWORD links = 0;
  ASSERT_EQ(files().GetLinkCount(scratch / L"one.txt", &links), ERROR_SUCCESS);
  EXPECT_EQ(links, 2u);
  ASSERT_EQ(files().DeleteFile(scratch / L"two.txt"), ERROR_SUCCESS);
  ASSERT_EQ(files().GetLinkCount(scratch / L"one.txt", &links), ERROR_SUCCESS);
  EXPECT_EQ(links, 1u);
  EXPECT_NE(files().GetLinkCount(scratch / L"missing.txt", &links), ERROR_SUCCESS);

  // The final path names the same place, without the device prefix.
  std::wstring final;
  ASSERT_EQ(files().GetFinalPathName(scratch / L"Sub Folder", &final), ERROR_SUCCESS);
  EXPECT_TRUE(SameText(final, scratch / L"Sub Folder")) << final;
  ASSERT_EQ(files().GetFinalPathName(scratch / L"Sub Folder\\..\\one.txt", &final), ERROR_SUCCESS);
  EXPECT_TRUE(SameText(final, scratch / L"one.txt")) << final;
  EXPECT_NE(files().GetFinalPathName(scratch / L"missing", &final), ERROR_SUCCESS);
}

TEST_F(FileSystemWineTest, CopyMoveAndDeleteAnswerWin32Errors) {
  const std::wstring a = scratch_ / L"a.txt";
  const std::wstring b = scratch_ / L"b.txt";
  ASSERT_TRUE(WriteTestFile(a, "first"));
  ASSERT_TRUE(WriteTestFile(b, "second"));

  EXPECT_EQ(files().CopyFile(a, b, true), ERROR_FILE_EXISTS);
  EXPECT_EQ(ReadAll(b), "second");
  EXPECT_EQ(files().CopyFile(a, b, false), ERROR_SUCCESS);
  EXPECT_EQ(ReadAll(b), "first");

  ASSERT_TRUE(WriteTestFile(a, "newer"));
  EXPECT_EQ(files().MoveFile(a, b, 0), ERROR_ALREADY_EXISTS);
  // The one-move replace every rewritten file goes through.
  EXPECT_EQ(files().MoveFile(a, b, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), ERROR_SUCCESS);
  EXPECT_FALSE(PathExists(a));
  EXPECT_EQ(ReadAll(b), "newer");

  ASSERT_EQ(files().SetAttributes(b, FILE_ATTRIBUTE_READONLY), ERROR_SUCCESS);
  EXPECT_EQ(files().DeleteFile(b), ERROR_ACCESS_DENIED);
  ASSERT_EQ(files().SetAttributes(b, FILE_ATTRIBUTE_NORMAL), ERROR_SUCCESS);
  EXPECT_EQ(files().DeleteFile(b), ERROR_SUCCESS);
  EXPECT_EQ(files().DeleteFile(b), ERROR_FILE_NOT_FOUND);

  ASSERT_EQ(files().CreateDirectory(scratch_ / L"folder"), ERROR_SUCCESS);
  EXPECT_EQ(files().CreateDirectory(scratch_ / L"folder"), ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(WriteTestFile(scratch_ / L"folder\\inside.txt", "x"));
  EXPECT_EQ(files().RemoveDirectory(scratch_ / L"folder"), ERROR_DIR_NOT_EMPTY);
  ASSERT_EQ(files().DeleteFile(scratch_ / L"folder\\inside.txt"), ERROR_SUCCESS);
  EXPECT_EQ(files().RemoveDirectory(scratch_ / L"folder"), ERROR_SUCCESS);
  EXPECT_EQ(files().CreateDirectory(scratch_ / L"missing\\folder"), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileSystemWineTest, TempFileNamesAreCreatedAndDistinct) {
  std::wstring first, second;
  ASSERT_EQ(files().GetTempFileName(scratch_.Path(), L"orv", &first), ERROR_SUCCESS);
  ASSERT_EQ(files().GetTempFileName(scratch_.Path(), L"orv", &second), ERROR_SUCCESS);
  EXPECT_NE(first, second);
  for (const std::wstring& path : {first, second}) {
    EXPECT_TRUE(StartsWithText(path, scratch_ / L"orv")) << path;
    EXPECT_TRUE(EndsWithText(path, L".tmp")) << path;
    FileAttributeData attributes;
    ASSERT_EQ(files().GetAttributes(path, &attributes), ERROR_SUCCESS) << path;
    EXPECT_EQ(attributes.size, 0u);
  }
  std::wstring none;
  EXPECT_EQ(files().GetTempFileName(scratch_ / L"missing", L"orv", &none), ERROR_DIRECTORY);
}

TEST_F(FileSystemWineTest, DrivesVolumesAndFreeSpace) {
  const std::vector<std::wstring> drives = files().GetLogicalDrives();
  ASSERT_NE(std::find(drives.begin(), drives.end(), L"C:\\"), drives.end());
  for (const std::wstring& drive : drives) EXPECT_EQ(drive.size(), 3u) << drive;
  EXPECT_EQ(files().GetDriveType(L"C:\\"), DRIVE_FIXED);

  std::wstring unused;
  for (wchar_t letter = L'Z'; letter > L'C' && unused.empty(); --letter) {
    const std::wstring root = std::wstring(1, letter) + L":\\";
    if (std::find(drives.begin(), drives.end(), root) == drives.end()) unused = root;
  }
  ASSERT_FALSE(unused.empty());
  EXPECT_EQ(files().GetDriveType(unused), DRIVE_NO_ROOT_DIR) << unused;

  VolumeInfo volume;
  ASSERT_EQ(files().GetVolumeInformation(L"C:\\", &volume), ERROR_SUCCESS);
  EXPECT_FALSE(volume.fileSystem.empty());
  EXPECT_GE(volume.maxComponentLength, 255u);
  EXPECT_NE(files().GetVolumeInformation(unused, &volume), ERROR_SUCCESS);

  DiskSpace space;
  ASSERT_EQ(files().GetDiskFreeSpace(scratch_.Path(), &space), ERROR_SUCCESS);
  EXPECT_GT(space.total, 0u);
  EXPECT_LE(space.totalFree, space.total);
  EXPECT_LE(space.freeToCaller, space.totalFree);
}

// Whether the list holds the pair (from, to) as consecutive entries.
bool HoldsPair(const std::vector<std::wstring>& entries, const std::wstring& from, const std::wstring& to) {
  for (std::size_t i = 0; i + 1 < entries.size(); i += 2)
    if (SameText(entries[i], from) && SameText(entries[i + 1], to)) return true;
  return false;
}

TEST_F(FileSystemWineTest, DeleteAtRestartIsRecordedInPendingFileRenameOperations) {
  const std::wstring doomed = scratch_ / L"in use.dll";
  const std::wstring renamed = scratch_ / L"new.dll";
  ASSERT_TRUE(WriteTestFile(doomed, "x"));
  ASSERT_TRUE(WriteTestFile(renamed, "y"));

  EXPECT_EQ(files().MoveFile(doomed, L"", MOVEFILE_DELAY_UNTIL_REBOOT), ERROR_SUCCESS);
  EXPECT_EQ(files().MoveFile(renamed, doomed, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING),
            ERROR_SUCCESS);
  // Nothing moves before the restart.
  EXPECT_TRUE(PathExists(doomed));
  EXPECT_TRUE(PathExists(renamed));

  // Wine, like Windows, appends the pair to the Session Manager's
  // PendingFileRenameOperations (wineboot carries them out at the next start
  // of the prefix). HKLM\System is not redirected, so the 32-bit and the
  // 64-bit views show the same list.
  for (::REGSAM view : {::REGSAM{0}, ::REGSAM{KEY_WOW64_32KEY}, ::REGSAM{KEY_WOW64_64KEY}}) {
    const std::vector<std::wstring> entries = ::PendingRenames(view);
    EXPECT_TRUE(HoldsPair(entries, L"\\??\\" + doomed, L"")) << "view " << view;
    EXPECT_TRUE(HoldsPair(entries, L"\\??\\" + renamed, L"!\\??\\" + doomed)) << "view " << view;
  }
}

// Turns WOW64 file-system redirection off for one scope.
class RedirectionOff {
 public:
  explicit RedirectionOff(IFileSystem& files) : files_(files) { off_ = files_.DisableFsRedirection(&old_); }
  ~RedirectionOff() {
    if (off_) files_.RevertFsRedirection(old_);
  }
  bool off() const { return off_; }

 private:
  IFileSystem& files_;
  void* old_ = nullptr;
  bool off_ = false;
};

TEST_F(FileSystemWineTest, RedirectionShowsSysWow64AsSystem32UntilSwitchedOff) {
  // A marker placed in SysWOW64 through its real name.
  wchar_t wow64[MAX_PATH] = {}, system[MAX_PATH] = {};
  ASSERT_GT(::GetSystemWow64DirectoryW(wow64, MAX_PATH), 0u) << "the test prefix is 64-bit";
  ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
  const std::wstring name = L"orvix-redirection-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
  const std::wstring marker = std::wstring(wow64) + L"\\" + name;
  const std::wstring throughSystem32 = std::wstring(system) + L"\\" + name;
  ASSERT_TRUE(WriteTestFile(marker, "wow64"));

  // A 64-bit program sees the real System32 always, and the switch is a
  // harmless no-op for it.
  constexpr DWORD kRedirected = sizeof(void*) == 4 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  FileAttributeData attributes;
  EXPECT_EQ(files().GetAttributes(throughSystem32, &attributes), kRedirected);
  {
    RedirectionOff off(files());
    ASSERT_TRUE(off.off());
    EXPECT_EQ(files().GetAttributes(throughSystem32, &attributes), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(files().GetAttributes(marker, &attributes), ERROR_SUCCESS);
  }
  EXPECT_EQ(files().GetAttributes(throughSystem32, &attributes), kRedirected);
  EXPECT_EQ(files().DeleteFile(marker), ERROR_SUCCESS);
}

}  // namespace
}  // namespace orvix
