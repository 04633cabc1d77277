// The simulated file system: drive letters, folders and files in memory with
// the Win32 behaviour the logic depends on: case-insensitive names that keep
// their case, attributes, times from the machine's clock, generated 8.3
// names, DOS wildcards, sharing between handles, files held open by other
// programs, junctions, the delete-at-restart list and WOW64 redirection of
// the system folder for our 32-bit process.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "formats/text_codec.h"
#include "platform/file_system_api.h"
#include "platform/locale_api.h"
#include "platform/sim/sim_registry.h"
#include "platform/system_api.h"

namespace orvix::sim {

// What is behind a drive letter. Tests may change the fields of a drive they
// added, e.g. take the disc out of an optical drive.
struct SimDrive {
  DWORD type = DRIVE_FIXED;
  std::uint64_t total = 0;
  std::uint64_t free = 0;     // follows the files written and deleted
  bool mediaPresent = true;   // false: no disc or card, everything answers ERROR_NOT_READY
  bool shortNames = true;     // new long names get an 8.3 name
  std::wstring label;
  DWORD serialNumber = 0;
  std::wstring fileSystem;    // "NTFS" on fixed drives, "FAT32" on removable ones, "CDFS" on optical ones
};

// One recorded change to files, in the order they happened; reading leaves
// no trace (Close is recorded for handles opened for writing).
enum class FileOp { Write, SetEnd, Flush, Close, Delete, Move };

struct FileEvent {
  FileOp op = FileOp::Write;
  std::wstring path;          // the full path the file was opened or named by
  std::uint64_t offset = 0;   // Write: where it started; SetEnd: the new size
  std::uint64_t size = 0;     // Write: bytes written
  Bytes head;                 // Write: the first bytes written (up to 16)
  std::wstring to;            // Move: the new path
  DWORD flags = 0;            // Move: the MoveFileEx flags
};

// One MoveFileEx request with MOVEFILE_DELAY_UNTIL_REBOOT, as given; an empty
// `to` deletes `from` at the restart.
struct PendingMove {
  std::wstring from;
  std::wstring to;
  DWORD flags = 0;
};

class SimFileSystem : public IFileSystem {
 public:
  // `clock` (not owned, may be null) stamps file times; without one the
  // times come from `now`. The machine's Windows version decides which
  // system sub-folders escape redirection and whether "Sysnative" exists.
  SimFileSystem(Bitness machine, const OsVersionInfo& os, IClockApi* clock = nullptr);
  ~SimFileSystem() override;

  // IFileSystem, for the program: a 32-bit process. Paths are full paths
  // ("C:\Foo\a.txt", "\\?\C:\Foo", "/" as separator, "." and ".." resolved
  // as text); a relative path is looked up in an empty current folder.
  DWORD FindFirst(const std::wstring& pattern, FindData* data, FindHandle* handle) override;
  DWORD FindNext(FindHandle handle, FindData* data) override;
  void FindClose(FindHandle handle) override;
  DWORD GetAttributes(const std::wstring& path, FileAttributeData* data) override;
  DWORD SetAttributes(const std::wstring& path, DWORD attributes) override;
  DWORD GetLongPathName(const std::wstring& path, std::wstring* longPath) override;
  DWORD GetShortPathName(const std::wstring& path, std::wstring* shortPath) override;
  DWORD GetFinalPathName(const std::wstring& path, std::wstring* finalPath) override;
  DWORD GetLinkCount(const std::wstring& path, DWORD* links) override;
  DWORD CreateDirectory(const std::wstring& path) override;
  DWORD RemoveDirectory(const std::wstring& path) override;
  DWORD DeleteFile(const std::wstring& path) override;
  DWORD CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) override;
  DWORD MoveFile(const std::wstring& from, const std::wstring& to, DWORD flags) override;
  DWORD OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                 FileHandle* handle) override;
  DWORD ReadFile(FileHandle handle, void* buffer, DWORD size, DWORD* read) override;
  DWORD WriteFile(FileHandle handle, const void* buffer, DWORD size, DWORD* written) override;
  DWORD SeekFile(FileHandle handle, std::uint64_t offset) override;
  DWORD GetFileSize(FileHandle handle, std::uint64_t* size) override;
  DWORD SetEndOfFile(FileHandle handle) override;
  DWORD FlushFile(FileHandle handle) override;
  DWORD CloseFile(FileHandle handle) override;
  DWORD GetTempFileName(const std::wstring& folder, const std::wstring& prefix, std::wstring* path) override;
  std::vector<std::wstring> GetLogicalDrives() override;
  DWORD GetDriveType(const std::wstring& root) override;
  DWORD GetVolumeInformation(const std::wstring& root, VolumeInfo* info) override;
  DWORD GetDiskFreeSpace(const std::wstring& path, DiskSpace* space) override;
  // Per thread; false on a 32-bit machine, which has nothing to redirect.
  bool DisableFsRedirection(void** oldValue) override;
  bool RevertFsRedirection(void* oldValue) override;
  // Whether the calling thread has switched redirection off.
  bool RedirectionOffOnThisThread() const;

  // Set-up and inspection for tests. Paths name what is stored, never
  // redirected; missing parent folders are created. A bad path or a missing
  // drive throws std::invalid_argument.
  SimDrive& AddDrive(wchar_t letter, DWORD type, std::uint64_t total, std::uint64_t free);
  SimDrive& Drive(wchar_t letter);
  // The folder whose "System32" a 32-bit program sees redirected.
  void SetWindowsDirectory(const std::wstring& path);
  void PutFolder(const std::wstring& path, DWORD attributes = 0);
  void PutFile(const std::wstring& path, Bytes data, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
  void PutFile(const std::wstring& path, std::string_view text, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
  // A junction (or, with IO_REPARSE_TAG_SYMLINK, a folder symbolic link) at
  // `path` to the folder `target`; paths through it reach the target.
  void MakeJunction(const std::wstring& path, const std::wstring& target, DWORD tag = IO_REPARSE_TAG_MOUNT_POINT,
                    DWORD attributes = 0);
  // A symbolic link to a file: opening `path` opens `target`.
  void MakeFileSymlink(const std::wstring& path, const std::wstring& target);
  // A second name for an existing file: both names share one content.
  void MakeHardLink(const std::wstring& path, const std::wstring& existing);
  // Listing the folder is denied (as on Windows' compatibility junctions);
  // paths through it still work.
  void DenyListing(const std::wstring& path);
  // Another program holds the file (or folder) open with sharing `share`
  // and read access: opening it for writing or deleting fails, and so does
  // opening it for reading without FILE_SHARE_READ.
  void LockFile(const std::wstring& path, DWORD share = FILE_SHARE_READ);
  void UnlockFile(const std::wstring& path);
  void SetTimes(const std::wstring& path, FILETIME64 creation, FILETIME64 access, FILETIME64 write);
  // Removes a file or a whole folder tree, whatever holds it.
  void Remove(const std::wstring& path);

  bool Exists(const std::wstring& path) const;
  bool IsFolder(const std::wstring& path) const;
  std::optional<Bytes> FileBytes(const std::wstring& path) const;
  std::optional<std::string> FileText(const std::wstring& path) const;
  // The long names in a folder, in listing order, without "." and "..".
  std::vector<std::wstring> ListNames(const std::wstring& folder) const;
  std::optional<FileAttributeData> Attributes(const std::wstring& path) const;

  std::vector<PendingMove> PendingDeletes() const;
  // The restart: carries out the pending moves and deletes in order, then
  // forgets them and the files other programs held open.
  void Restart();

  std::vector<FileEvent> Journal() const;
  void ClearJournal();
  // Files and listings still open, to catch leaks.
  std::size_t OpenHandleCount() const;

  // File times when there is no clock.
  FILETIME64 now = 133485408000000000ull;  // 2024-01-01 00:00 UTC

  struct Entry;

 private:
  struct OpenFileState;
  struct Listing;
  struct DriveState;
  using EntryPtr = std::shared_ptr<Entry>;

  // A path split into its drive and the names under the root.
  struct Parsed {
    wchar_t drive = 0;                  // upper case
    std::wstring root;                  // "C:\" as written
    std::vector<std::wstring> parts;    // what is looked up, after redirection
    std::vector<std::wstring> written;  // the names as the caller wrote them
    bool trailingSlash = false;
    std::wstring Text() const;
  };
  // Where a path leads: the entry, or the folder it would be created in.
  struct Located {
    DWORD status = ERROR_SUCCESS;
    EntryPtr entry;
    EntryPtr parent;
    std::vector<EntryPtr> chain;  // the entry reached by each name
  };

  DWORD Parse(std::wstring_view text, bool wildcardLeaf, Parsed* out) const;
  void Redirect(Parsed* parsed) const;
  Located Locate(const Parsed& parsed, bool followLeaf, int depth = 0) const;
  // Parses, redirects (for the program's own calls) and locates.
  Located Find(const std::wstring& path, bool followLeaf, Parsed* parsed = nullptr) const;
  EntryPtr FollowLink(const EntryPtr& link, int depth, DWORD* status) const;
  EntryPtr Child(const Entry& folder, std::wstring_view name) const;
  Parsed ParseForTest(const std::wstring& path) const;
  EntryPtr LocateForTest(const std::wstring& path) const;
  EntryPtr EnsureFolder(const Parsed& parsed, std::size_t count);
  EntryPtr NewChild(const EntryPtr& folder, const std::wstring& name, DWORD attributes);
  void Attach(const EntryPtr& folder, const EntryPtr& entry, const std::wstring& name);
  void Detach(const EntryPtr& entry);
  // Answers ERROR_DISK_FULL when the drive lacks room for the growth.
  DWORD Resize(Entry& entry, std::uint64_t size);
  DWORD CheckSharing(const Entry& entry, DWORD access, DWORD share) const;
  bool HeldBelow(const Entry& folder) const;
  bool ReadOnlyMedia(const Entry& entry) const;
  DWORD MoveEntry(const EntryPtr& source, const Located& target, const std::wstring& targetName, DWORD flags,
                  bool force);
  OpenFileState* Handle(FileHandle handle);
  FILETIME64 Now() const;
  FindData DataOf(const Entry& entry, const std::wstring& name) const;
  // The long path of an entry still in the tree, from its drive's root.
  std::wstring PathOf(const Entry& entry) const;
  void Record(FileEvent event);

  Bitness machine_;
  OsVersionInfo os_;
  IClockApi* clock_;
  mutable std::recursive_mutex mutex_;
  std::map<wchar_t, DriveState> drives_;
  std::wstring windowsDir_ = L"C:\\Windows";
  std::map<FileHandle, std::unique_ptr<OpenFileState>> files_;
  std::map<FindHandle, std::unique_ptr<Listing>> listings_;
  std::uintptr_t nextHandle_ = 0x100;
  std::map<std::thread::id, bool> redirectionOff_;
  std::vector<std::weak_ptr<Entry>> locked_;
  std::vector<PendingMove> pending_;
  std::vector<FileEvent> journal_;
  unsigned tempCounter_ = 0;
};

}  // namespace orvix::sim
