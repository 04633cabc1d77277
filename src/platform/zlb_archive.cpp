#include "platform/zlb_archive.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "platform/file_helpers.h"
#include "platform/file_stream.h"
#include "platform/platform.h"
#include "platform/private_temp_file.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr std::size_t kCrcBlock = 10240;
constexpr std::size_t kInflateBlock = 4096;
// deflate never shrinks data by more than this factor: an entry or table
// that claims more from its stored bytes is not a zlib stream of them.
constexpr std::uint64_t kMaxDeflateRatio = 1032;
constexpr std::uint64_t kDeflateSlack = 64;

const wchar_t kNotOpen[] = L"No archive is currently open";
const wchar_t kOutOfBounds[] = L"Index out of bounds";
const wchar_t kCorrupted[] = L"The archive appears to be corrupted";
const wchar_t kTableError[] = L"Error reading registry";
const wchar_t kNoPassword[] = L"No password given for encrypted file";
const wchar_t kNoDecryption[] = L"No decryption algorithm found";
const wchar_t kUnknownPosition[] = L"Unknown file position marker";
const wchar_t kVerifying[] = L"Verifying archive integrity";
const wchar_t kLoadingTable[] = L"Extracting registry";

// One extraction at a time in the process.
std::mutex& ExtractionLock() {
  static std::mutex lock;
  return lock;
}

// Opens the archive file denying other writers, or failing that sharing all.
std::unique_ptr<TFileStream> OpenArchiveFile(const std::wstring& fileName) {
  auto file = std::make_unique<TFileStream>(fileName, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (!file->IsOpen())
    file = std::make_unique<TFileStream>(fileName, GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (!file->IsOpen())
    throw EArchiveError(L"Cannot open file \"" + fileName + L"\" (error " + std::to_wstring(file->Error()) + L")");
  return file;
}

std::uint64_t MaxInflated(std::uint64_t storedBytes) { return storedBytes * kMaxDeflateRatio + kDeflateSlack; }

// Inflates exactly `size` bytes of the zlib stream at the input's position,
// handing each block of output to `sink`. False when the stream is broken or
// ends early.
template <typename Sink>
bool Inflate(TStream& input, std::uint64_t size, Sink&& sink) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return false;
  std::unique_ptr<z_stream, void (*)(z_stream*)> guard(&zs, [](z_stream* s) { inflateEnd(s); });
  std::uint8_t in[kInflateBlock];
  std::uint8_t out[kInflateBlock];
  std::uint64_t done = 0;
  while (done < size) {
    if (zs.avail_in == 0) {
      zs.avail_in = static_cast<uInt>(input.Read(in, sizeof in));
      zs.next_in = in;
    }
    // Without new input inflate may still hand out output it holds back.
    const bool noInput = zs.avail_in == 0;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof out, size - done));
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(want);
    const int result = inflate(&zs, Z_NO_FLUSH);
    const std::size_t produced = want - zs.avail_out;
    if (produced > 0) {
      if (!sink(out, produced)) return false;
      done += produced;
    }
    if (result == Z_STREAM_END) return done == size;
    if (result != Z_OK && result != Z_BUF_ERROR) return false;
    if (produced == 0 && noInput) return false;  // the stream ended before the size
  }
  return true;
}

}  // namespace

EArchiveError::EArchiveError(std::wstring message)
    : std::runtime_error(ToUtf8(message)), message_(std::move(message)) {}

std::wstring ArchiveMissingText(const std::wstring& fileName) {
  return fileName + L" is missing. please re-install the program.";
}

TZLBArc2::~TZLBArc2() {
  destroying_ = true;
  Close();
}

bool TZLBArc2::Open(const std::wstring& fileName) {
  Close();
  fileName_ = fileName;
  if (fileName.empty()) return false;
  if (!FileExists(fileName) && OnMissing) OnMissing(ArchiveMissingText(fileName));
  try {
    std::unique_ptr<TFileStream> file = OpenArchiveFile(fileName);
    const std::uint64_t size = file->Size();
    std::uint8_t raw[kZlbFooterSize];
    if (size < kZlbFooterSize || !file->Seek(size - kZlbFooterSize) || !file->ReadExactly(raw, sizeof raw))
      throw EArchiveError(kCorrupted);
    const TZlbFooter footer = ParseZlbFooter(raw);
    if (footer.version != 1 && footer.version != 2)
      throw EArchiveError(L"The archive was created with a different version of ZLBArchive (v" +
                          std::to_wstring(footer.version) + L")");
    // The data and the table lie between the base and the footer.
    const std::uint64_t room = size - kZlbFooterSize;
    if (footer.tableOffset < 0 || footer.tableSize < 0 || footer.count < 0 ||
        static_cast<std::uint64_t>(footer.tableOffset) > room ||
        static_cast<std::uint64_t>(footer.tableSize) > room - static_cast<std::uint64_t>(footer.tableOffset))
      throw EArchiveError(kCorrupted);
    footer_ = footer;
    base_ = static_cast<std::int64_t>(room) - footer.tableSize - footer.tableOffset;
    if (VerifyOnOpen) VerifyCrc(*file, room);
    try {
      LoadTable(*file);
    } catch (...) {
      throw EArchiveError(kTableError);
    }
  } catch (...) {
    Close();
    throw;
  }
  if (OnOpened) OnOpened(*this);
  ProgressDone();
  return true;
}

void TZLBArc2::VerifyCrc(TStream& file, std::uint64_t end) {
  std::uint8_t block[kCrcBlock];
  std::uint32_t crc = 0;
  const auto base = static_cast<std::uint64_t>(base_);
  if (!file.Seek(base)) throw EArchiveError(kCorrupted);
  for (std::uint64_t done = 0; done < end - base;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof block, end - base - done));
    if (!file.ReadExactly(block, n)) throw EArchiveError(kCorrupted);
    crc = Crc32(crc, block, n);
    done += n;
    Progress(kVerifying, done, end - base);
  }
  if (crc != footer_.crc) throw EArchiveError(kCorrupted);
}

void TZLBArc2::LoadTable(TStream& file) {
  const std::size_t recordSize = ZlbRecordSize(footer_.version);
  const std::uint64_t tableStart = static_cast<std::uint64_t>(base_ + footer_.tableOffset);
  const std::uint64_t tableEnd = tableStart + static_cast<std::uint64_t>(footer_.tableSize);
  const std::uint64_t wanted = static_cast<std::uint64_t>(footer_.count) * recordSize;
  // What the table can hold, checked before anything is allocated.
  const std::uint64_t limit = footer_.tableCompressed ? MaxInflated(footer_.tableSize) : footer_.tableSize;
  if (wanted > limit) throw EArchiveError(kTableError);
  TStreamWindow table(file, tableStart, tableEnd);
  if (!table.Seek(tableStart)) throw EArchiveError(kTableError);
  Bytes records;
  records.reserve(static_cast<std::size_t>(wanted));
  if (footer_.tableCompressed) {
    const bool ok = Inflate(table, wanted, [&](const std::uint8_t* data, std::size_t size) {
      records.insert(records.end(), data, data + size);
      Progress(kLoadingTable, records.size(), wanted);
      return true;
    });
    if (!ok) throw EArchiveError(kTableError);
  } else {
    records.resize(static_cast<std::size_t>(wanted));
    if (!table.ReadExactly(records.data(), records.size())) throw EArchiveError(kTableError);
  }
  entries_.reserve(static_cast<std::size_t>(footer_.count));
  for (std::size_t at = 0; at < records.size(); at += recordSize)
    entries_.push_back(ParseZlbRecord(records.data() + at, footer_.version));
}

void TZLBArc2::Close() {
  entries_.clear();
  footer_ = TZlbFooter{};
  fileName_.clear();
  base_ = -1;
  ProgressDone();
}

int TZLBArc2::Count() const {
  if (!IsOpen()) throw EArchiveError(kNotOpen);
  return static_cast<int>(entries_.size());
}

const TZlbEntry& TZLBArc2::GetEntry(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) throw EArchiveError(kOutOfBounds);
  return entries_[static_cast<std::size_t>(index)];
}

std::wstring TZLBArc2::EntryName(int index) const {
  const TZlbEntry& entry = GetEntry(index);
  return CurrentPlatform().Locale().FromAnsi(entry.folder + entry.fileName);
}

std::int64_t TZLBArc2::EntryPosition(const TZlbEntry& entry) const {
  if (base_ < 0) throw EArchiveError(kUnknownPosition);
  return base_ + entry.offset;
}

// An entry's claims against the data area: its data starts inside it, and
// what it says it stores, enciphers or inflates to fits what is there.
void TZLBArc2::CheckEntryBounds(const TZlbEntry& entry) const {
  const std::int64_t dataSize = footer_.tableOffset;
  if (entry.offset < 0 || entry.offset > dataSize || entry.size < 0) throw EArchiveError(kCorrupted);
  std::uint64_t stored = static_cast<std::uint64_t>(dataSize - entry.offset);
  if (ZlbMethodEnciphered(entry.method)) {
    constexpr std::int64_t kHeader = 24;  // salt and vector
    if (entry.encipheredSize < kHeader || static_cast<std::uint64_t>(entry.encipheredSize) > stored)
      throw EArchiveError(kCorrupted);
    stored = static_cast<std::uint64_t>(entry.encipheredSize - kHeader);
  }
  const std::uint64_t limit = ZlbMethodDeflated(entry.method) ? MaxInflated(stored) : stored;
  if (static_cast<std::uint64_t>(entry.size) > limit) throw EArchiveError(kCorrupted);
}

bool TZLBArc2::ExtractEntry(int index, TStream& target, TStream* source) {
  const TZlbEntry& entry = GetEntry(index);
  const auto position = static_cast<std::uint64_t>(EntryPosition(entry));
  CheckEntryBounds(entry);
  const bool enciphered = ZlbMethodEnciphered(entry.method);
  if (enciphered && Trim(Password).empty()) throw EArchiveError(kNoPassword);
  if (enciphered && !OnDecrypt) throw EArchiveError(kNoDecryption);

  std::unique_ptr<TFileStream> own;
  if (source == nullptr) {
    own = OpenArchiveFile(fileName_);
    source = own.get();
  }
  TStreamWindow data(*source, static_cast<std::uint64_t>(base_),
                     static_cast<std::uint64_t>(base_ + footer_.tableOffset));
  if (!data.Seek(position)) throw EArchiveError(kCorrupted);

  if (enciphered) {
    TPrivateTempFile temp(TempDir, L"ZLB");
    if (!temp.Ok()) throw EArchiveError(L"Cannot create a temporary file for deciphering");
    OnDecrypt(data, temp.Stream(), Password, entry.encipheredSize);
    if (!temp.Stream().Seek(0)) throw EArchiveError(kCorrupted);
    Unpack(entry, temp.Stream(), target);
  } else {
    Unpack(entry, data, target);
  }

  if (CheckFileCrc) {
    const std::uint64_t end = target.Position();
    std::uint8_t block[kCrcBlock];
    std::uint32_t crc = 0;
    if (!target.Seek(0)) throw EArchiveError(kCorrupted);
    for (std::size_t n; (n = target.Read(block, sizeof block)) > 0;) crc = Crc32(crc, block, n);
    target.Seek(end);
    if (crc != entry.crc) throw EArchiveError(CurrentPlatform().Locale().FromAnsi(entry.fileName) + L" failed CRC check");
  }
  return true;
}

void TZLBArc2::Unpack(const TZlbEntry& entry, TStream& input, TStream& target) {
  const auto size = static_cast<std::uint64_t>(entry.size);
  const std::wstring text = L"Extracting " + CurrentPlatform().Locale().FromAnsi(entry.fileName);
  std::uint64_t done = 0;
  const auto write = [&](const std::uint8_t* data, std::size_t n) {
    if (!target.WriteAll(data, n)) return false;
    done += n;
    Progress(text, done, size);
    return true;
  };
  if (ZlbMethodDeflated(entry.method)) {
    if (!Inflate(input, size, write)) throw EArchiveError(kCorrupted);
    return;
  }
  std::uint8_t block[kInflateBlock];
  while (done < size) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof block, size - done));
    if (!input.ReadExactly(block, n) || !write(block, n)) throw EArchiveError(kCorrupted);
  }
}

void TZLBArc2::ExtractByName(const std::wstring& name, TStream& target) {
  if (!IsOpen()) throw EArchiveError(kNotOpen);
  const std::wstring wanted = LowerCase(name);
  int found = -1;
  for (std::size_t i = 0; i < entries_.size() && found < 0; ++i)
    if (LowerCase(EntryName(static_cast<int>(i))) == wanted) found = static_cast<int>(i);
  if (found < 0) throw EArchiveError(name + L" not found in archive");
  {
    std::lock_guard<std::mutex> lock(ExtractionLock());
    if (ExtractEntry(found, target) && OnExtracted) OnExtracted(EntryName(found));
  }
  ProgressDone();
}

void TZLBArc2::Progress(const std::wstring& text, std::uint64_t done, std::uint64_t total) {
  if (destroying_ || !OnProgress) return;
  const int percent = total == 0 ? 100 : static_cast<int>(std::lround(100.0 * static_cast<double>(done) /
                                                                      static_cast<double>(total)));
  OnProgress(text, percent);
}

void TZLBArc2::ProgressDone() {
  if (!destroying_ && OnProgress) OnProgress(fileName_, 0);
}

}  // namespace orvix
