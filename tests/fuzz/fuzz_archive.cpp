// Entry point of the archive reader: the input is an archive file from
// outside (the payload or a downloaded score database). Whatever it holds,
// opening and extracting every entry either works or raises the reader's
// error; no temporary file outlives an extraction, and no entry name leads
// out of its folder.
#include <string>

#include "formats/archive_cipher.h"
#include "formats/zlb_format.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_input.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/zlb_archive.h"

namespace orvix::fuzz {
namespace {

constexpr wchar_t kFolder[] = L"C:\\OrvixFuzzArchive";
constexpr wchar_t kArchive[] = L"C:\\OrvixFuzzArchive\\archive.dat";
constexpr wchar_t kTemp[] = L"C:\\OrvixFuzzArchive\\Temp";
constexpr wchar_t kTarget[] = L"C:\\Program Files\\Target";

bool FolderIsEmpty(const std::wstring& folder) {
  FindData data;
  FindHandle handle = 0;
  IFileSystem& files = CurrentPlatform().Files();
  if (files.FindFirst(folder + L"\\*", &data, &handle) != ERROR_SUCCESS) return true;
  TFindListing listing(files, handle);
  do {
    if (data.name != L"." && data.name != L"..") return false;
  } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
  return true;
}

}  // namespace

// Input: one byte of switches (verify on open, check file CRCs), then the
// archive file.
void FuzzZlbArchive(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint8_t switches = input.Byte();
  ForceDirectories(kTemp);
  FuzzCheck(ReplaceFileBytes(kArchive, input.Rest()), "the simulated disk takes the input");
  TZLBArc2 archive;
  archive.VerifyOnOpen = (switches & 1) != 0;
  archive.CheckFileCrc = (switches & 2) != 0;
  archive.Password = L"kqz7_1984";
  archive.TempDir = kTemp;
  archive.OnDecrypt = [](TStream& source, TStream& target, const std::wstring& password, std::int64_t bytes) {
    DecipherArchiveEntry(source, target, password, bytes);
  };
  try {
    archive.Open(kArchive);
  } catch (const EArchiveError&) {
    FuzzCheck(!archive.IsOpen(), "a failed opening leaves the archive closed");
  }
  if (archive.IsOpen()) {
    for (int i = 0; i < archive.Count(); ++i) {
      const std::wstring name = archive.EntryName(i);
      if (const auto path = ArchiveEntryTargetPath(kTarget, name)) {
        FuzzCheck(path->starts_with(std::wstring(kTarget) + L"\\"), "an entry lands inside its folder");
        FuzzCheck(path->find(L"\\..\\") == std::wstring::npos && !path->ends_with(L"\\.."),
                  "no parent folder in a landing path");
      }
      TMemoryStream target;
      try {
        archive.ExtractEntry(i, target);
        FuzzCheck(target.Size() == static_cast<std::uint64_t>(archive.GetEntry(i).size),
                  "an extracted entry has its recorded size");
      } catch (const EArchiveError&) {
      }
      FuzzCheck(FolderIsEmpty(kTemp), "no deciphering file stays behind");
    }
  }
  archive.Close();
  CurrentPlatform().Files().DeleteFile(kArchive);
}

}  // namespace orvix::fuzz
