#include "platform/sim/sim_file_system.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <thread>

#include "platform/sim/sim_dos_names.h"
#include "platform/sim/sim_machine.h"

namespace orvix::sim {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A listing: the status of FindFirst and the names found, in order.
struct Listed {
  DWORD status = ERROR_SUCCESS;
  std::vector<std::wstring> names;
  std::vector<FindData> entries;
};

Listed List(IFileSystem& fs, const std::wstring& pattern) {
  Listed out;
  FindData data;
  FindHandle handle = 0;
  out.status = fs.FindFirst(pattern, &data, &handle);
  if (out.status != ERROR_SUCCESS) return out;
  DWORD next = ERROR_SUCCESS;
  for (; next == ERROR_SUCCESS; next = fs.FindNext(handle, &data)) {
    out.names.push_back(data.name);
    out.entries.push_back(data);
  }
  EXPECT_EQ(next, ERROR_NO_MORE_FILES);
  fs.FindClose(handle);
  return out;
}

DWORD AttributesStatus(IFileSystem& fs, const std::wstring& path) {
  FileAttributeData data;
  return fs.GetAttributes(path, &data);
}

std::string Text(IFileSystem& fs, FileHandle file) {
  std::uint64_t size = 0;
  EXPECT_EQ(fs.GetFileSize(file, &size), ERROR_SUCCESS);
  std::string text(size, '\0');
  DWORD read = 0;
  EXPECT_EQ(fs.SeekFile(file, 0), ERROR_SUCCESS);
  EXPECT_EQ(fs.ReadFile(file, text.data(), static_cast<DWORD>(size), &read), ERROR_SUCCESS);
  EXPECT_EQ(read, size);
  return text;
}

class SimFileSystemTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fs_.OpenHandleCount(), 0u) << "files or listings left open"; }

  FileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
    FileHandle file = 0;
    EXPECT_EQ(fs_.OpenFile(path, access, share, disposition, &file), ERROR_SUCCESS) << ToUtf8(path);
    return file;
  }
  DWORD OpenStatus(const std::wstring& path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
    FileHandle file = 0;
    const DWORD status = fs_.OpenFile(path, access, share, disposition, &file);
    if (status == ERROR_SUCCESS) fs_.CloseFile(file);
    return status;
  }

  SimFileSystem fs_{Bitness::x64, kWindows10};
};

TEST(DosNamesTest, PatternsFollowTheDosRulesOfFindFirstFile) {
  struct Case {
    const wchar_t* pattern;
    const wchar_t* name;
    bool matches;
  };
  const Case cases[] = {
      {L"*", L"a.b.c", true},          {L"*.*", L"noextension", true},  {L"*.*", L"..", true},
      {L"*.txt", L"A.B.TXT", true},    {L"*.txt", L"a.txt.bak", false}, {L"*.txt", L"txt", false},
      {L"*.", L"noextension", true},   {L"*.", L"a.txt", false},        {L"a?c", L"abc", true},
      {L"a?c", L"ac", false},          {L"a?.txt", L"a.txt", true},     {L"???", L"ab", true},
      {L"???", L"abcd", false},        {L"foo.*", L"foo", true},        {L"foo.*", L"foo.txt", true},
      {L"*.lng", L"German.lng", true}, {L"a*b", L"a.b", true},          {L"a*b", L"ac", false},
      {L"Name", L"NAME", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesPattern(c.pattern, c.name), c.matches) << ToUtf8(c.pattern) << " ~ " << ToUtf8(c.name);
  }
}

TEST(DosNamesTest, ShortNamesAreGeneratedTheNtfsWay) {
  std::set<std::wstring, TextLess> taken;
  auto make = [&](const wchar_t* name) {
    std::wstring shortName = MakeShortName(name, [&](const std::wstring& c) { return taken.contains(c); });
    taken.insert(shortName);
    return shortName;
  };
  EXPECT_EQ(make(L"Program Files"), L"PROGRA~1");
  EXPECT_EQ(make(L"Program Files (x86)"), L"PROGRA~2");
  EXPECT_EQ(make(L"a+b;c [1].html"), L"A_B_C_~1.HTM");
  EXPECT_EQ(make(L".htaccess"), L"HTACCE~1");
  EXPECT_EQ(make(L"my.archive.backup.zip"), L"MYARCH~1.ZIP");
  EXPECT_EQ(make(L"Données.txt"), L"DONN_E~1.TXT");
  EXPECT_EQ(make(L"Program Files A"), L"PROGRA~3");
  EXPECT_EQ(make(L"Program Files B"), L"PROGRA~4");
  // After ~4 the base becomes two characters and a checksum of the long name.
  const std::wstring fifth = make(L"Program Files C");
  EXPECT_TRUE(std::regex_match(ToUtf8(fifth), std::regex("PR[0-9A-F]{4}~1"))) << ToUtf8(fifth);
  const std::wstring sixth = make(L"Program Files D");
  EXPECT_TRUE(std::regex_match(ToUtf8(sixth), std::regex("PR[0-9A-F]{4}~[12]"))) << ToUtf8(sixth);
  EXPECT_NE(sixth, fifth);

  EXPECT_TRUE(IsShortName(L"readme.txt"));  // lower case is fine for NTFS
  EXPECT_TRUE(IsShortName(L"SETUP"));
  for (const wchar_t* longName : {L"readme.text", L"longername.txt", L"a b.txt", L"a.b.c", L".profile", L"x+y.txt"})
    EXPECT_FALSE(IsShortName(longName)) << ToUtf8(longName);
}

TEST_F(SimFileSystemTest, ListingsShowHiddenEntriesDotsAndShortNamesAndMatchThroughShortNames) {
  fs_.PutFolder(L"C:\\App\\Sub");
  fs_.PutFile(L"C:\\App\\index.html", "<html/>");
  fs_.PutFile(L"C:\\App\\secret.dat", "x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  fs_.PutFile(L"C:\\App\\Read Me.txt", "hello");

  const Listed all = List(fs_, L"C:\\App\\*");
  ASSERT_EQ(all.status, ERROR_SUCCESS);
  EXPECT_EQ(all.names, (std::vector<std::wstring>{L".", L"..", L"index.html", L"Read Me.txt", L"secret.dat", L"Sub"}));
  EXPECT_EQ(all.entries[2].alternateName, L"INDEX~1.HTM");
  EXPECT_EQ(all.entries[3].alternateName, L"README~1.TXT");
  EXPECT_EQ(all.entries[3].size, 5u);
  EXPECT_EQ(all.entries[4].alternateName, L"");
  EXPECT_EQ(all.entries[4].attributes, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(all.entries[5].attributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(List(fs_, L"C:\\App\\*.*").names, all.names);

  // "*.htm" also meets index.html through its short name, as on Windows.
  EXPECT_EQ(List(fs_, L"c:\\app\\*.HTM").names, std::vector<std::wstring>{L"index.html"});
  EXPECT_EQ(List(fs_, L"C:\\App\\*.txt").names, std::vector<std::wstring>{L"Read Me.txt"});
  EXPECT_EQ(List(fs_, L"C:\\App\\Sub").names, std::vector<std::wstring>{L"Sub"});
  EXPECT_EQ(List(fs_, L"C:\\App\\Sub\\*").names, (std::vector<std::wstring>{L".", L".."}));
  const std::vector<std::wstring> root = List(fs_, L"C:\\*").names;
  EXPECT_EQ(root, std::vector<std::wstring>{L"App"});  // a root has no "." and ".."

  EXPECT_EQ(List(fs_, L"C:\\App\\*.exe").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(List(fs_, L"C:\\Nowhere\\*").status, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(List(fs_, L"C:\\App\\index.html\\*").status, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(List(fs_, L"C:\\App\\").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(SimFileSystemTest, ErrorCodesDistinguishMissingFilesFromMissingFolders) {
  fs_.PutFile(L"C:\\Dir\\file.txt", "x");
  struct Case {
    const wchar_t* path;
    DWORD status;
  };
  const Case cases[] = {
      {L"C:\\Dir\\file.txt", ERROR_SUCCESS},
      {L"c:/DIR/./sub/../FILE.TXT", ERROR_SUCCESS},
      {L"\\\\?\\C:\\Dir\\file.txt", ERROR_SUCCESS},
      {L"C:\\Dir\\file.txt.", ERROR_SUCCESS},  // trailing dots are dropped
      {L"C:\\Dir\\other.txt", ERROR_FILE_NOT_FOUND},
      {L"C:\\Missing\\other.txt", ERROR_PATH_NOT_FOUND},
      {L"C:\\Dir\\file.txt\\inside", ERROR_PATH_NOT_FOUND},
      {L"Q:\\file.txt", ERROR_PATH_NOT_FOUND},
      {L"C:\\Dir\\fi*le.txt", ERROR_INVALID_NAME},
      {L"C:\\Dir\\a<b", ERROR_INVALID_NAME},
      {L"file.txt", ERROR_FILE_NOT_FOUND},
      {L"", ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) EXPECT_EQ(AttributesStatus(fs_, c.path), c.status) << ToUtf8(c.path);

  EXPECT_EQ(fs_.CreateDirectory(L"C:\\Dir"), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(fs_.CreateDirectory(L"C:\\Missing\\Sub"), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(fs_.RemoveDirectory(L"C:\\Dir"), ERROR_DIR_NOT_EMPTY);
  EXPECT_EQ(fs_.RemoveDirectory(L"C:\\Dir\\file.txt"), ERROR_DIRECTORY);
  EXPECT_EQ(fs_.RemoveDirectory(L"C:\\"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs_.DeleteFile(L"C:\\Dir"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs_.DeleteFile(L"C:\\Dir\\other.txt"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenStatus(L"C:\\Dir\\file.txt", GENERIC_WRITE, 0, CREATE_NEW), ERROR_FILE_EXISTS);
  EXPECT_EQ(OpenStatus(L"C:\\Dir", GENERIC_READ, FILE_SHARE_READ), ERROR_ACCESS_DENIED);
  EXPECT_EQ(OpenStatus(L"C:\\Missing\\new.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_PATH_NOT_FOUND);

  fs_.SetAttributes(L"C:\\Dir\\file.txt", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(fs_.DeleteFile(L"C:\\Dir\\file.txt"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(OpenStatus(L"C:\\Dir\\file.txt", GENERIC_WRITE, 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(OpenStatus(L"C:\\Dir\\file.txt", GENERIC_READ, FILE_SHARE_READ), ERROR_SUCCESS);
  fs_.SetAttributes(L"C:\\Dir\\file.txt", FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(fs_.Attributes(L"C:\\Dir\\file.txt")->attributes, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(fs_.DeleteFile(L"C:\\Dir\\file.txt"), ERROR_SUCCESS);
  EXPECT_EQ(fs_.RemoveDirectory(L"C:\\Dir"), ERROR_SUCCESS);
  EXPECT_FALSE(fs_.Exists(L"C:\\Dir"));
}

TEST_F(SimFileSystemTest, NamesIgnoreCaseButKeepIt) {
  fs_.PutFile(L"C:\\Foo\\Bar.TXT", "x");
  EXPECT_EQ(AttributesStatus(fs_, L"c:\\FOO\\bar.txt"), ERROR_SUCCESS);
  EXPECT_EQ(fs_.CreateDirectory(L"C:\\FOO"), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(fs_.ListNames(L"C:\\foo"), std::vector<std::wstring>{L"Bar.TXT"});
  EXPECT_EQ(fs_.MoveFile(L"c:\\foo\\bar.txt", L"C:\\Foo\\bar.txt", 0), ERROR_SUCCESS);  // only the case changes
  EXPECT_EQ(fs_.ListNames(L"C:\\Foo"), std::vector<std::wstring>{L"bar.txt"});
}

TEST_F(SimFileSystemTest, ShortAndLongPathNamesConvertBothWays) {
  fs_.PutFile(L"C:\\Program Files\\Some Long Folder\\file name.txt", "x");
  fs_.PutFile(L"C:\\Program Files\\data\\plain.txt", "y");
  std::wstring shortPath;
  ASSERT_EQ(fs_.GetShortPathName(L"C:\\Program Files\\Some Long Folder\\file name.txt", &shortPath), ERROR_SUCCESS);
  EXPECT_EQ(shortPath, L"C:\\PROGRA~1\\SOMELO~1\\FILENA~1.TXT");
  EXPECT_EQ(AttributesStatus(fs_, shortPath), ERROR_SUCCESS);  // short names reach the entries too

  std::wstring longPath;
  ASSERT_EQ(fs_.GetLongPathName(L"c:\\progra~1\\SOMELO~1\\filena~1.txt", &longPath), ERROR_SUCCESS);
  EXPECT_EQ(longPath, L"c:\\Program Files\\Some Long Folder\\file name.txt");
  // Names that are no short names stay as written, as on Windows.
  ASSERT_EQ(fs_.GetLongPathName(L"C:\\PROGRA~1\\DATA\\plain.txt", &longPath), ERROR_SUCCESS);
  EXPECT_EQ(longPath, L"C:\\Program Files\\DATA\\plain.txt");
  ASSERT_EQ(fs_.GetShortPathName(L"C:\\Program Files\\data\\", &shortPath), ERROR_SUCCESS);
  EXPECT_EQ(shortPath, L"C:\\PROGRA~1\\data\\");

  EXPECT_EQ(fs_.GetLongPathName(L"C:\\PROGRA~1\\missing.txt", &longPath), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(fs_.GetShortPathName(L"C:\\Nowhere\\missing.txt", &shortPath), ERROR_PATH_NOT_FOUND);

  // A volume without 8.3 names answers the long names.
  fs_.AddDrive(L'D', DRIVE_FIXED, 1000, 1000).shortNames = false;
  fs_.PutFile(L"D:\\Long Folder Name\\x.txt", "x");
  ASSERT_EQ(fs_.GetShortPathName(L"D:\\Long Folder Name\\x.txt", &shortPath), ERROR_SUCCESS);
  EXPECT_EQ(shortPath, L"D:\\Long Folder Name\\x.txt");
}

TEST_F(SimFileSystemTest, FilesHeldByAnotherProgramCanBeReadAndCopiedButNotChangedOrDeleted) {
  const std::wstring path = L"C:\\App\\in use.dll";
  fs_.PutFile(path, "code");
  fs_.LockFile(path);
  EXPECT_EQ(OpenStatus(path, GENERIC_WRITE, FILE_SHARE_READ), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(OpenStatus(path, GENERIC_READ | GENERIC_WRITE, kShareAll), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(OpenStatus(path, DELETE, kShareAll), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(OpenStatus(path, GENERIC_READ, 0), ERROR_SHARING_VIOLATION);  // we would deny the holder its read
  EXPECT_EQ(OpenStatus(path, GENERIC_READ, FILE_SHARE_READ), ERROR_SUCCESS);
  EXPECT_EQ(fs_.DeleteFile(path), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(fs_.MoveFile(path, L"C:\\App\\moved.dll", 0), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(fs_.MoveFile(L"C:\\App", L"C:\\App2", 0), ERROR_ACCESS_DENIED);  // a folder with a file in use
  EXPECT_EQ(fs_.CopyFile(path, L"C:\\App\\copy.dll", true), ERROR_SUCCESS);
  EXPECT_EQ(fs_.FileText(L"C:\\App\\copy.dll"), "code");
  EXPECT_TRUE(fs_.Exists(path));

  fs_.LockFile(path, 0);  // not even readable now
  EXPECT_EQ(OpenStatus(path, GENERIC_READ, kShareAll), ERROR_SHARING_VIOLATION);
  fs_.UnlockFile(path);
  EXPECT_EQ(fs_.DeleteFile(path), ERROR_SUCCESS);
}

TEST_F(SimFileSystemTest, OurOwnHandlesShareAsTheirModesAllow) {
  const std::wstring path = L"C:\\data.bin";
  const FileHandle writer = Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  DWORD written = 0;
  EXPECT_EQ(fs_.WriteFile(writer, "data", 4, &written), ERROR_SUCCESS);
  EXPECT_EQ(OpenStatus(path, GENERIC_WRITE, kShareAll), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(OpenStatus(path, GENERIC_READ, FILE_SHARE_READ), ERROR_SHARING_VIOLATION);  // must share writing
  EXPECT_EQ(OpenStatus(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE), ERROR_SUCCESS);
  EXPECT_EQ(fs_.DeleteFile(path), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(fs_.CopyFile(path, L"C:\\copy.bin", false), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(fs_.CloseFile(writer), ERROR_SUCCESS);
  EXPECT_EQ(fs_.CloseFile(writer), ERROR_INVALID_HANDLE);

  // Shared for deleting: the name goes at once, the open handle keeps the data.
  const FileHandle reader = Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE);
  EXPECT_EQ(fs_.DeleteFile(path), ERROR_SUCCESS);
  EXPECT_FALSE(fs_.Exists(path));
  EXPECT_EQ(Text(fs_, reader), "data");
  fs_.CloseFile(reader);
}

TEST_F(SimFileSystemTest, ReadsWritesAndTheJournalOfChanges) {
  const std::wstring path = L"C:\\Logs\\today.log";
  fs_.PutFolder(L"C:\\Logs");
  fs_.now = 1000;
  const FileHandle file = Open(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
  fs_.now = 2000;
  DWORD written = 0;
  ASSERT_EQ(fs_.WriteFile(file, "hello world", 11, &written), ERROR_SUCCESS);
  EXPECT_EQ(written, 11u);
  EXPECT_EQ(fs_.FlushFile(file), ERROR_SUCCESS);
  EXPECT_EQ(fs_.SeekFile(file, 6), ERROR_SUCCESS);
  ASSERT_EQ(fs_.WriteFile(file, "there", 5, &written), ERROR_SUCCESS);
  EXPECT_EQ(fs_.SeekFile(file, 5), ERROR_SUCCESS);
  EXPECT_EQ(fs_.SetEndOfFile(file), ERROR_SUCCESS);
  EXPECT_EQ(Text(fs_, file), "hello");
  char byte = 0;
  DWORD read = 1;
  EXPECT_EQ(fs_.ReadFile(file, &byte, 1, &read), ERROR_SUCCESS);  // at the end: nothing, no error
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(fs_.CloseFile(file), ERROR_SUCCESS);

  const std::optional<FileAttributeData> data = fs_.Attributes(path);
  EXPECT_EQ(data->creationTime, 1000u);
  EXPECT_EQ(data->lastWriteTime, 2000u);
  EXPECT_EQ(data->attributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data->size, 5u);

  const std::vector<FileEvent> journal = fs_.Journal();
  std::vector<FileOp> ops;
  for (const FileEvent& event : journal) ops.push_back(event.op);
  EXPECT_EQ(ops, (std::vector<FileOp>{FileOp::Write, FileOp::Flush, FileOp::Write, FileOp::SetEnd, FileOp::Close}));
  EXPECT_EQ(journal[0].path, path);
  EXPECT_EQ(journal[2].offset, 6u);
  EXPECT_EQ(journal[2].head, (Bytes{'t', 'h', 'e', 'r', 'e'}));
  EXPECT_EQ(journal[3].offset, 5u);

  // A handle without write access changes nothing.
  const FileHandle reader = Open(path, GENERIC_READ, FILE_SHARE_READ);
  EXPECT_EQ(fs_.WriteFile(reader, "x", 1, &written), ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs_.FlushFile(reader), ERROR_ACCESS_DENIED);
  fs_.CloseFile(reader);
  EXPECT_EQ(fs_.Journal().size(), journal.size());
}

TEST_F(SimFileSystemTest, DispositionsAndTheHiddenFileRuleOfCreateAlways) {
  fs_.PutFile(L"C:\\a.txt", "old");
  fs_.PutFile(L"C:\\hidden.ini", "x", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(OpenStatus(L"C:\\b.txt", GENERIC_READ, 0), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenStatus(L"C:\\b.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenStatus(L"C:\\b.txt", GENERIC_READ, 0, OPEN_ALWAYS), ERROR_SUCCESS);
  EXPECT_EQ(fs_.FileText(L"C:\\b.txt"), "");
  EXPECT_EQ(OpenStatus(L"C:\\a.txt", GENERIC_READ, 0, TRUNCATE_EXISTING), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(OpenStatus(L"C:\\a.txt", GENERIC_WRITE, 0, OPEN_ALWAYS), ERROR_SUCCESS);
  EXPECT_EQ(fs_.FileText(L"C:\\a.txt"), "old");
  EXPECT_EQ(OpenStatus(L"C:\\a.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_SUCCESS);
  EXPECT_EQ(fs_.FileText(L"C:\\a.txt"), "");
  // CreateFileW with CREATE_ALWAYS refuses to replace a hidden or system file.
  EXPECT_EQ(OpenStatus(L"C:\\hidden.ini", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
  EXPECT_EQ(OpenStatus(L"C:\\hidden.ini", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_SUCCESS);
}

TEST_F(SimFileSystemTest, CopiesAndMovesFollowWin32Rules) {
  fs_.PutFile(L"C:\\src.txt", "source");
  fs_.PutFile(L"C:\\dst.txt", "target");
  fs_.SetTimes(L"C:\\src.txt", 1, 2, 3);
  EXPECT_EQ(fs_.CopyFile(L"C:\\src.txt", L"C:\\dst.txt", true), ERROR_FILE_EXISTS);
  EXPECT_EQ(fs_.CopyFile(L"C:\\src.txt", L"C:\\src.txt", false), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(fs_.CopyFile(L"C:\\missing.txt", L"C:\\x.txt", false), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(fs_.CopyFile(L"C:\\src.txt", L"C:\\dst.txt", false), ERROR_SUCCESS);
  EXPECT_EQ(fs_.FileText(L"C:\\dst.txt"), "source");
  EXPECT_EQ(fs_.Attributes(L"C:\\dst.txt")->lastWriteTime, 3u);
  fs_.SetAttributes(L"C:\\dst.txt", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(fs_.CopyFile(L"C:\\src.txt", L"C:\\dst.txt", false), ERROR_ACCESS_DENIED);

  EXPECT_EQ(fs_.MoveFile(L"C:\\src.txt", L"C:\\dst.txt", 0), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(fs_.MoveFile(L"C:\\src.txt", L"C:\\dst.txt", MOVEFILE_REPLACE_EXISTING), ERROR_ACCESS_DENIED);
  fs_.SetAttributes(L"C:\\dst.txt", FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(fs_.MoveFile(L"C:\\src.txt", L"C:\\dst.txt", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH),
            ERROR_SUCCESS);
  EXPECT_FALSE(fs_.Exists(L"C:\\src.txt"));
  EXPECT_EQ(fs_.Attributes(L"C:\\dst.txt")->creationTime, 1u);  // the moved file itself

  fs_.PutFile(L"C:\\Tree\\Sub\\f.txt", "f");
  EXPECT_EQ(fs_.MoveFile(L"C:\\Tree", L"C:\\Tree\\Sub\\Inner", 0), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(fs_.MoveFile(L"C:\\Tree", L"C:\\Renamed", 0), ERROR_SUCCESS);
  EXPECT_EQ(fs_.FileText(L"C:\\Renamed\\Sub\\f.txt"), "f");

  fs_.AddDrive(L'D', DRIVE_FIXED, 1 << 20, 1 << 20);
  EXPECT_EQ(fs_.MoveFile(L"C:\\dst.txt", L"D:\\dst.txt", 0), ERROR_NOT_SAME_DEVICE);
  EXPECT_EQ(fs_.MoveFile(L"C:\\Renamed", L"D:\\Renamed", MOVEFILE_COPY_ALLOWED), ERROR_NOT_SAME_DEVICE);
  EXPECT_EQ(fs_.MoveFile(L"C:\\dst.txt", L"D:\\dst.txt", MOVEFILE_COPY_ALLOWED), ERROR_SUCCESS);
  EXPECT_EQ(fs_.FileText(L"D:\\dst.txt"), "source");
  EXPECT_FALSE(fs_.Exists(L"C:\\dst.txt"));
  EXPECT_EQ(fs_.Journal().back().to, L"D:\\dst.txt");
}

TEST_F(SimFileSystemTest, DelayedMovesAreRecordedAndCarriedOutAtRestart) {
  fs_.PutFile(L"C:\\App\\locked.dll", "old");
  fs_.PutFile(L"C:\\App\\new.dll", "new");
  fs_.PutFolder(L"C:\\App\\Empty");
  fs_.LockFile(L"C:\\App\\locked.dll", 0);
  const DWORD delay = MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT;
  EXPECT_EQ(fs_.MoveFile(L"C:\\App\\locked.dll", L"", delay), ERROR_SUCCESS);
  EXPECT_EQ(fs_.MoveFile(L"C:\\App\\new.dll", L"C:\\App\\locked.dll", delay), ERROR_SUCCESS);
  EXPECT_EQ(fs_.MoveFile(L"C:\\App\\Empty", L"", MOVEFILE_DELAY_UNTIL_REBOOT), ERROR_SUCCESS);
  EXPECT_EQ(fs_.MoveFile(L"C:\\App\\new.dll", L"D:\\x", MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_COPY_ALLOWED),
            ERROR_INVALID_PARAMETER);

  const std::vector<PendingMove> pending = fs_.PendingDeletes();
  ASSERT_EQ(pending.size(), 3u);
  EXPECT_EQ(pending[0].from, L"C:\\App\\locked.dll");
  EXPECT_EQ(pending[0].to, L"");
  EXPECT_EQ(pending[0].flags, delay);
  EXPECT_EQ(pending[1].to, L"C:\\App\\locked.dll");
  EXPECT_EQ(fs_.FileText(L"C:\\App\\locked.dll"), "old");  // nothing happens before the restart

  fs_.Restart();
  EXPECT_EQ(fs_.FileText(L"C:\\App\\locked.dll"), "new");
  EXPECT_FALSE(fs_.Exists(L"C:\\App\\new.dll"));
  EXPECT_FALSE(fs_.Exists(L"C:\\App\\Empty"));
  EXPECT_TRUE(fs_.PendingDeletes().empty());
  EXPECT_EQ(fs_.DeleteFile(L"C:\\App\\locked.dll"), ERROR_SUCCESS);  // nothing holds it any more
}

TEST_F(SimFileSystemTest, JunctionsListAsReparsePointsAndLeadToTheirTargets) {
  fs_.AddDrive(L'D', DRIVE_FIXED, 5000, 4000);
  fs_.PutFile(L"D:\\Target\\inside.txt", "in");
  fs_.MakeJunction(L"C:\\Link", L"D:\\Target");

  const Listed root = List(fs_, L"C:\\*");
  ASSERT_EQ(root.names, std::vector<std::wstring>{L"Link"});
  EXPECT_EQ(root.entries[0].attributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(root.entries[0].reparseTag, IO_REPARSE_TAG_MOUNT_POINT);
  FileAttributeData link;
  ASSERT_EQ(fs_.GetAttributes(L"C:\\Link", &link), ERROR_SUCCESS);
  EXPECT_TRUE(link.attributes & FILE_ATTRIBUTE_REPARSE_POINT);

  EXPECT_EQ(List(fs_, L"C:\\Link\\*").names, (std::vector<std::wstring>{L".", L"..", L"inside.txt"}));
  EXPECT_EQ(AttributesStatus(fs_, L"C:\\Link\\inside.txt"), ERROR_SUCCESS);
  EXPECT_EQ(OpenStatus(L"C:\\Link\\made.txt", GENERIC_WRITE, 0, CREATE_NEW), ERROR_SUCCESS);
  EXPECT_TRUE(fs_.Exists(L"D:\\Target\\made.txt"));
  DiskSpace space;
  ASSERT_EQ(fs_.GetDiskFreeSpace(L"C:\\Link", &space), ERROR_SUCCESS);
  EXPECT_EQ(space.total, 5000u);  // the target's volume

  // Removing the junction leaves the full target alone.
  EXPECT_EQ(fs_.RemoveDirectory(L"C:\\Link"), ERROR_SUCCESS);
  EXPECT_TRUE(fs_.Exists(L"D:\\Target\\inside.txt"));

  fs_.MakeJunction(L"C:\\Loop", L"C:\\Loop");
  EXPECT_EQ(AttributesStatus(fs_, L"C:\\Loop\\x"), ERROR_CANT_RESOLVE_FILENAME);
  fs_.MakeJunction(L"C:\\Dangling", L"C:\\Gone");
  EXPECT_EQ(OpenStatus(L"C:\\Dangling", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(fs_.IsFolder(L"C:\\Dangling"));  // still the junction, not a new file

  fs_.MakeJunction(L"C:\\Private", L"D:\\Target");
  fs_.DenyListing(L"C:\\Private");
  EXPECT_EQ(List(fs_, L"C:\\Private\\*").status, ERROR_ACCESS_DENIED);
  EXPECT_EQ(AttributesStatus(fs_, L"C:\\Private\\inside.txt"), ERROR_SUCCESS);
}

TEST_F(SimFileSystemTest, DrivesReportTypesVolumesAndSpace) {
  fs_.AddDrive(L'E', DRIVE_REMOVABLE, 8000, 8000);
  SimDrive& optical = fs_.AddDrive(L'D', DRIVE_CDROM, 700, 0);
  EXPECT_EQ(fs_.GetLogicalDrives(), (std::vector<std::wstring>{L"C:\\", L"D:\\", L"E:\\"}));
  EXPECT_EQ(fs_.GetDriveType(L"D:"), DRIVE_CDROM);
  EXPECT_EQ(fs_.GetDriveType(L"e:\\"), DRIVE_REMOVABLE);
  EXPECT_EQ(fs_.GetDriveType(L"Z:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(fs_.GetDriveType(L"C:\\Windows"), DRIVE_NO_ROOT_DIR);

  VolumeInfo volume;
  ASSERT_EQ(fs_.GetVolumeInformation(L"C:\\", &volume), ERROR_SUCCESS);
  EXPECT_EQ(volume.fileSystem, L"NTFS");
  ASSERT_EQ(fs_.GetVolumeInformation(L"E:\\", &volume), ERROR_SUCCESS);
  EXPECT_EQ(volume.fileSystem, L"FAT32");
  EXPECT_EQ(fs_.GetVolumeInformation(L"Z:\\", &volume), ERROR_PATH_NOT_FOUND);

  fs_.PutFile(L"D:\\setup.exe", "MZ");  // set-up may write what the disc holds
  EXPECT_EQ(OpenStatus(L"D:\\setup.exe", GENERIC_WRITE, 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(fs_.CreateDirectory(L"D:\\New"), ERROR_ACCESS_DENIED);
  optical.mediaPresent = false;
  EXPECT_EQ(fs_.GetVolumeInformation(L"D:\\", &volume), ERROR_NOT_READY);
  EXPECT_EQ(AttributesStatus(fs_, L"D:\\setup.exe"), ERROR_NOT_READY);
  EXPECT_EQ(List(fs_, L"D:\\*").status, ERROR_NOT_READY);

  // Free space follows what is written and deleted; a full drive refuses more.
  fs_.AddDrive(L'F', DRIVE_FIXED, 100, 10);
  const FileHandle file = Open(L"F:\\big.bin", GENERIC_WRITE, 0, CREATE_NEW);
  const std::string eight(8, 'x');
  DWORD written = 0;
  EXPECT_EQ(fs_.WriteFile(file, eight.data(), 8, &written), ERROR_SUCCESS);
  EXPECT_EQ(fs_.WriteFile(file, eight.data(), 8, &written), ERROR_DISK_FULL);
  EXPECT_EQ(written, 0u);
  fs_.CloseFile(file);
  DiskSpace space;
  ASSERT_EQ(fs_.GetDiskFreeSpace(L"F:\\", &space), ERROR_SUCCESS);
  EXPECT_EQ(space.totalFree, 2u);
  EXPECT_EQ(fs_.DeleteFile(L"F:\\big.bin"), ERROR_SUCCESS);
  EXPECT_EQ(fs_.Drive(L'F').free, 10u);
}

TEST_F(SimFileSystemTest, TempFileNamesAreNumberedAndCreated) {
  fs_.PutFolder(L"C:\\Temp");
  std::wstring first;
  std::wstring second;
  ASSERT_EQ(fs_.GetTempFileName(L"C:\\Temp", L"ZLBX", &first), ERROR_SUCCESS);
  ASSERT_EQ(fs_.GetTempFileName(L"C:\\Temp\\", L"ZLB", &second), ERROR_SUCCESS);
  EXPECT_TRUE(std::regex_match(ToUtf8(first), std::regex(R"(C:\\Temp\\ZLB[0-9A-F]{1,4}\.tmp)"))) << ToUtf8(first);
  EXPECT_NE(first, second);
  EXPECT_EQ(fs_.FileText(first), "");
  EXPECT_EQ(fs_.FileText(second), "");
  std::wstring none;
  EXPECT_EQ(fs_.GetTempFileName(L"C:\\NoSuchFolder", L"ZLB", &none), ERROR_DIRECTORY);
}

// A 32-bit program on 64-bit Windows 10.
class RedirectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs_.PutFile(L"C:\\Windows\\System32\\native.dll", "64");
    fs_.PutFile(L"C:\\Windows\\SysWOW64\\wow.dll", "32");
    fs_.PutFile(L"C:\\Windows\\System32\\drivers\\etc\\hosts", "127.0.0.1");
    fs_.PutFile(L"C:\\Windows\\System32\\catroot\\cat.cat", "c");
    fs_.PutFile(L"C:\\Windows\\System32\\DriverStore\\store.inf", "s");
  }
  bool Sees(const std::wstring& path) { return AttributesStatus(fs_, path) == ERROR_SUCCESS; }

  SimMachine machine_;
  SimFileSystem& fs_ = machine_.files;
};

TEST_F(RedirectionTest, System32IsSysWow64ExceptForSharedFoldersAndSysnativeIsTheRealOne) {
  EXPECT_TRUE(Sees(L"C:\\Windows\\System32\\wow.dll"));
  EXPECT_FALSE(Sees(L"C:\\Windows\\system32\\native.dll"));
  EXPECT_TRUE(Sees(L"C:\\Windows\\Sysnative\\native.dll"));
  EXPECT_TRUE(Sees(L"c:\\windows\\system32\\drivers\\etc\\hosts"));
  EXPECT_TRUE(Sees(L"C:\\Windows\\System32\\catroot\\cat.cat"));
  EXPECT_TRUE(Sees(L"C:\\Windows\\System32\\DriverStore\\store.inf"));
  EXPECT_EQ(List(fs_, L"C:\\Windows\\System32\\*.dll").names, std::vector<std::wstring>{L"wow.dll"});
  std::wstring longPath;
  ASSERT_EQ(fs_.GetLongPathName(L"C:\\Windows\\System32\\wow.dll", &longPath), ERROR_SUCCESS);
  EXPECT_EQ(longPath, L"C:\\Windows\\System32\\wow.dll");  // the path as the program knows it

  void* outer = nullptr;
  void* inner = nullptr;
  ASSERT_TRUE(fs_.DisableFsRedirection(&outer));
  EXPECT_TRUE(Sees(L"C:\\Windows\\System32\\native.dll"));
  EXPECT_FALSE(Sees(L"C:\\Windows\\System32\\wow.dll"));
  EXPECT_FALSE(Sees(L"C:\\Windows\\Sysnative\\native.dll"));
  ASSERT_TRUE(fs_.DisableFsRedirection(&inner));
  bool otherThreadSeesNative = true;
  std::thread([&] { otherThreadSeesNative = Sees(L"C:\\Windows\\System32\\native.dll"); }).join();
  EXPECT_FALSE(otherThreadSeesNative);  // the switch is per thread
  ASSERT_TRUE(fs_.RevertFsRedirection(inner));
  EXPECT_TRUE(Sees(L"C:\\Windows\\System32\\native.dll"));  // still off: the outer switch holds
  ASSERT_TRUE(fs_.RevertFsRedirection(outer));
  EXPECT_FALSE(Sees(L"C:\\Windows\\System32\\native.dll"));
}

TEST(RedirectionByMachineTest, OlderAnd32BitSystemsRedirectLessOrNothing) {
  MachineOptions x86;
  x86.bitness = Bitness::x86;
  SimMachine machine32(x86);
  machine32.files.PutFile(L"C:\\Windows\\System32\\only.dll", "x");
  void* old = nullptr;
  EXPECT_FALSE(machine32.files.DisableFsRedirection(&old));
  EXPECT_EQ(AttributesStatus(machine32.files, L"C:\\Windows\\System32\\only.dll"), ERROR_SUCCESS);

  MachineOptions xp64;
  xp64.os = OsVersionInfo{5, 2, 3790, 2, false};
  SimMachine machineXp(xp64);
  machineXp.files.PutFile(L"C:\\WINDOWS\\system32\\DriverStore\\store.inf", "s");
  machineXp.files.PutFile(L"C:\\WINDOWS\\system32\\native.dll", "64");
  EXPECT_EQ(AttributesStatus(machineXp.files, L"C:\\WINDOWS\\system32\\DriverStore\\store.inf"),
            ERROR_PATH_NOT_FOUND);  // redirected before Windows 7
  EXPECT_EQ(AttributesStatus(machineXp.files, L"C:\\WINDOWS\\Sysnative\\native.dll"), ERROR_PATH_NOT_FOUND);
}

}  // namespace
}  // namespace orvix::sim
