#include "platform/zip_decompression.h"

#include "formats/archive_cipher.h"
#include "platform/file_helpers.h"
#include "platform/zlb_archive.h"

namespace orvix {

void TZipDeCompression::Extract(const std::wstring& archivePath, const std::wstring& entryName,
                                TMemoryStream& stream, const std::wstring& password, bool checkFileCrc) {
  if (!FileExists(archivePath)) return;
  TZLBArc2 archive;
  archive.Password = password;
  archive.CheckFileCrc = checkFileCrc;
  // The cipher swallows its own errors; what it could not decipher fails
  // the inflation or the size check that follows.
  archive.OnDecrypt = [](TStream& source, TStream& target, const std::wstring& key, std::int64_t size) {
    DecipherArchiveEntry(source, target, key, size);
  };
  archive.Open(archivePath);
  archive.ExtractByName(entryName, stream);
  stream.Seek(0);
}

}  // namespace orvix
