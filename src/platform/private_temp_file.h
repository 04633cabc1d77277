// A temporary file in a folder of its own with an unpredictable name, for
// data that must not be read or replaced by others while it is there (the
// archive reader's deciphered entries). The file and its folder are removed
// when the object goes, on every path.
#pragma once

#include <memory>
#include <string>

#include "platform/file_stream.h"

namespace orvix {

class TPrivateTempFile {
 public:
  // Under `parent` (the system's temporary folder when empty): a new folder
  // "<prefix><32 random hex digits>" and a file made there by
  // GetTempFileNameW with the prefix, opened for reading and writing by this
  // process alone (shared only when that fails). Ok() tells whether it worked.
  TPrivateTempFile(const std::wstring& parent, const std::wstring& prefix);
  ~TPrivateTempFile();
  TPrivateTempFile(const TPrivateTempFile&) = delete;
  TPrivateTempFile& operator=(const TPrivateTempFile&) = delete;

  bool Ok() const { return stream_ != nullptr && stream_->IsOpen(); }
  TFileStream& Stream() { return *stream_; }
  const std::wstring& Folder() const { return folder_; }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring folder_;  // empty when it could not be made
  std::wstring path_;
  std::unique_ptr<TFileStream> stream_;
};

}  // namespace orvix
