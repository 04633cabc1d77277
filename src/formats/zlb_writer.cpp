#include "formats/zlb_writer.h"

#include <zlib.h>

#include "formats/archive_cipher.h"

namespace orvix {

Bytes ZlibCompress(const Bytes& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION) != Z_OK)
    return {};
  out.resize(size);
  return out;
}

Bytes BuildZlbArchive(const std::vector<TZlbSourceFile>& files, const TZlbWriteOptions& options) {
  Bytes archive;
  Bytes table;
  const std::size_t recordSize = ZlbRecordSize(options.version);
  for (const TZlbSourceFile& file : files) {
    TZlbEntry entry;
    entry.fileName = file.fileName;
    entry.folder = file.folder;
    entry.size = static_cast<std::int64_t>(file.content.size());
    entry.size2 = entry.size;
    entry.crc = Crc32(0, file.content.data(), file.content.size());
    entry.method = file.method;
    entry.offset = static_cast<std::int64_t>(archive.size());
    Bytes stored = ZlbMethodDeflated(file.method) ? ZlibCompress(file.content) : file.content;
    if (ZlbMethodEnciphered(file.method)) {
      stored = EncipherArchiveEntry(stored, options.password);
      entry.encipheredSize = static_cast<std::int64_t>(stored.size());
    }
    archive.insert(archive.end(), stored.begin(), stored.end());
    const std::size_t at = table.size();
    table.resize(at + recordSize);
    WriteZlbRecord(entry, options.version, table.data() + at);
  }
  TZlbFooter footer;
  footer.version = options.version;
  footer.count = static_cast<std::int32_t>(files.size());
  footer.tableOffset = static_cast<std::int64_t>(archive.size());
  footer.tableCompressed = options.compressTable && !files.empty();
  if (footer.tableCompressed) table = ZlibCompress(table);
  footer.tableSize = static_cast<std::int32_t>(table.size());
  archive.insert(archive.end(), table.begin(), table.end());
  footer.crc = Crc32(0, archive.data(), archive.size());
  const std::size_t at = archive.size();
  archive.resize(at + kZlbFooterSize);
  WriteZlbFooter(footer, archive.data() + at);
  return archive;
}

}  // namespace orvix
