// The layout of the archive container that carries the installer payload and
// the add-on score database: the entries' stored data from the archive's
// base, a table of fixed-size entry records (optionally deflated as one
// zlib stream) and a 36-byte footer at the very end of the file. Integers are
// little-endian. The reader (platform/zlb_archive) and the writer
// (formats/zlb_writer) share these definitions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "formats/text_codec.h"

namespace orvix {

inline constexpr std::size_t kZlbFooterSize = 36;
inline constexpr std::size_t kZlbRecordSizeV1 = 532;
inline constexpr std::size_t kZlbRecordSizeV2 = 550;
inline constexpr std::size_t kZlbNameField = 256;  // a length byte and up to 255 ANSI characters

// Storage methods of an entry; any other value is read as stored bytes.
inline constexpr std::uint8_t kZlbDeflated = 0;
inline constexpr std::uint8_t kZlbStored = 1;
inline constexpr std::uint8_t kZlbEncipheredDeflated = 2;
inline constexpr std::uint8_t kZlbEncipheredStored = 3;

inline bool ZlbMethodEnciphered(std::uint8_t method) {
  return method == kZlbEncipheredDeflated || method == kZlbEncipheredStored;
}
inline bool ZlbMethodDeflated(std::uint8_t method) {
  return method == kZlbDeflated || method == kZlbEncipheredDeflated;
}

struct TZlbFooter {
  std::int64_t tableOffset = 0;  // from the base: the size of the entries' data
  std::uint32_t crc = 0;         // CRC-32 of the data and the table
  std::int32_t count = 0;
  std::int32_t version = 2;      // as read: 1 and 2 are the known layouts
  std::int32_t tableSize = 0;    // as stored
  bool tableCompressed = false;
};

// One entry record, in the version-2 form (a version-1 record is widened).
struct TZlbEntry {
  std::string fileName;  // ANSI bytes
  std::string folder;    // ANSI bytes, "" or ending in a backslash
  std::int64_t size = 0;  // uncompressed
  std::int64_t size2 = 0;  // carried unchanged
  std::int64_t encipheredSize = 0;  // handed to the cipher; 0 when not enciphered
  std::int64_t offset = 0;          // of the stored data, from the base
  std::uint32_t crc = 0;            // of the uncompressed content
  std::uint8_t method = kZlbDeflated;
  std::uint8_t flags = 0;
};

// The footer of the last 36 bytes of an archive: the version-2 layout, or
// the version-1 layout when the version-2 version field says 1 or, not
// saying 2, the version-1 version field says 1. Any other version is kept
// as the version-2 field reads it, for the caller to refuse.
TZlbFooter ParseZlbFooter(const std::uint8_t* bytes);
void WriteZlbFooter(const TZlbFooter& footer, std::uint8_t* bytes);

std::size_t ZlbRecordSize(int version);
TZlbEntry ParseZlbRecord(const std::uint8_t* bytes, int version);
// Names longer than 255 bytes are cut; the caller checks them first.
void WriteZlbRecord(const TZlbEntry& entry, int version, std::uint8_t* bytes);

// CRC-32 of zlib and ISO 3309, continued from `crc` (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

// Where an entry's stored name lands under `folder`: the name's parts joined
// below it, or nothing when the name would leave the folder or name
// something other than a plain file there (an empty part, "." or "..", a
// drive or stream colon, a rooted or UNC path, a reserved device name such
// as "CON" or "lpt1.txt", a part ending in a dot or blank, characters
// Windows forbids in names).
std::optional<std::wstring> ArchiveEntryTargetPath(const std::wstring& folder, const std::wstring& storedName);

}  // namespace orvix
