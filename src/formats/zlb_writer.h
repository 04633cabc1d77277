// Our writer of the archive container (formats/zlb_format): the build makes
// the installer payload and the add-on score database with it, and the tests
// make their archives, sound and hostile, from it.
#pragma once

#include <string>
#include <vector>

#include "formats/text_codec.h"
#include "formats/zlb_format.h"

namespace orvix {

struct TZlbSourceFile {
  std::string folder;    // ANSI bytes: "" or ending in a backslash
  std::string fileName;  // ANSI bytes
  Bytes content;
  std::uint8_t method = kZlbDeflated;
};

struct TZlbWriteOptions {
  int version = 2;
  bool compressTable = true;
  std::wstring password;  // for the enciphered methods
};

// The whole archive: each file's data in order, the table and the footer.
// Enciphered methods need version 2 (a version-1 record has no enciphered
// size); names are cut at 255 bytes.
Bytes BuildZlbArchive(const std::vector<TZlbSourceFile>& files, const TZlbWriteOptions& options = {});

// A zlib stream of the bytes, as the deflated methods and the table store them.
Bytes ZlibCompress(const Bytes& bytes);

}  // namespace orvix
