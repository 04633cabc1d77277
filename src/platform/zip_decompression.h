// Taking one enciphered entry out of an archive file into memory: the archive
// reader with the archive cipher as its deciphering routine. The add-on score
// database and the installer payload are read this way.
#pragma once

#include <string>

#include "formats/byte_stream.h"

namespace orvix {

class TZipDeCompression {
 public:
  // When the archive exists: opens it, extracts the entry named `entryName`
  // (ignoring case) into `stream` and rewinds the stream. Nothing happens
  // when the file does not exist; the reader's EArchiveError propagates.
  // `checkFileCrc` also checks the extracted content against its CRC-32.
  static void Extract(const std::wstring& archivePath, const std::wstring& entryName, TMemoryStream& stream,
                      const std::wstring& password, bool checkFileCrc = false);
};

}  // namespace orvix
