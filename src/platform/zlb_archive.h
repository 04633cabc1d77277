// The reader of the archive container (formats/zlb_format) that holds the
// installer payload and the add-on score database. It opens an archive file
// of the current platform (possibly appended to other data), checks its
// footer and CRC, loads the entry table and extracts entries into streams,
// inflating and, through OnDecrypt, deciphering them. TZipDeCompression
// (platform/zip_decompression) is its one user in the program.
//
// Everything read from the file is checked before it is used: sizes, counts
// and offsets against the file and the data area, before anything is
// allocated or read. Errors are raised as EArchiveError with fixed texts.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/byte_stream.h"
#include "formats/zlb_format.h"

namespace orvix {

class EArchiveError : public std::runtime_error {
 public:
  explicit EArchiveError(std::wstring message);
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

// The text of the message box shown when an archive file is missing.
std::wstring ArchiveMissingText(const std::wstring& fileName);

class TZLBArc2 {
 public:
  // (source positioned at the entry's data, target, password, enciphered size)
  using DecryptEvent = std::function<void(TStream& source, TStream& target, const std::wstring& password,
                                          std::int64_t size)>;
  using ProgressEvent = std::function<void(const std::wstring& text, int percent)>;

  TZLBArc2() = default;
  ~TZLBArc2();
  TZLBArc2(const TZLBArc2&) = delete;
  TZLBArc2& operator=(const TZLBArc2&) = delete;

  std::wstring Password;
  bool VerifyOnOpen = true;
  bool CheckFileCrc = false;
  std::wstring TempDir;  // empty: the system's temporary folder

  DecryptEvent OnDecrypt;
  ProgressEvent OnProgress;
  std::function<void(TZLBArc2& archive)> OnOpened;
  std::function<void(const std::wstring& fullName)> OnExtracted;
  // Shown as a message box (caption "Error", warning icon) by the program
  // when the archive file does not exist; the opening then fails as usual.
  std::function<void(const std::wstring& text)> OnMissing;

  // False for an empty name; raises EArchiveError when the file cannot be
  // opened or is not a sound archive (the object is then closed).
  bool Open(const std::wstring& fileName);
  void Close();
  bool IsOpen() const { return base_ >= 0; }

  const std::wstring& FileName() const { return fileName_; }
  const TZlbFooter& Footer() const { return footer_; }
  std::int64_t Base() const { return base_; }  // -1 when closed
  int Count() const;
  const TZlbEntry& GetEntry(int index) const;
  // The entry's folder part and file name, from the ANSI code page.
  std::wstring EntryName(int index) const;

  // Extracts into the target at its position; `source`, when given, is the
  // archive file already open. Raises EArchiveError on any failure.
  bool ExtractEntry(int index, TStream& target, TStream* source = nullptr);
  // The first entry whose full stored name equals `name` ignoring case.
  void ExtractByName(const std::wstring& name, TStream& target);

 private:
  std::int64_t EntryPosition(const TZlbEntry& entry) const;
  void CheckEntryBounds(const TZlbEntry& entry) const;
  void VerifyCrc(TStream& file, std::uint64_t end);
  void LoadTable(TStream& file);
  void Unpack(const TZlbEntry& entry, TStream& input, TStream& target);
  void Progress(const std::wstring& text, std::uint64_t done, std::uint64_t total);
  void ProgressDone();

  std::wstring fileName_;
  std::vector<TZlbEntry> entries_;
  TZlbFooter footer_;
  std::int64_t base_ = -1;
  bool destroying_ = false;
};

}  // namespace orvix
