// Small file helpers over the current platform's file system, shared by every
// part that reads or rewrites files. None of them raises; failures answer
// false (or an empty result).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "formats/text_codec.h"
#include "platform/file_system_api.h"

namespace orvix {

bool FileExists(const std::wstring& path);       // exists and is not a folder
bool DirectoryExists(const std::wstring& path);  // a trailing backslash is allowed
// Whether the path itself is a junction, symbolic link or mount point (what
// it points to is not looked at); walks of the file system never enter one.
bool IsReparsePoint(const std::wstring& path);
// Where a path really leads: the longest part of it that exists, with every
// junction and symbolic link on the way resolved, followed by the rest as
// written. The path itself when nothing of it can be resolved.
std::wstring ResolvedPath(const std::wstring& path);
// Whether the path itself, or a folder on the way to it, is a reparse point:
// what is reached through it belongs to some other place. A part that cannot
// be checked counts as a link. Links that `trusted` accepts (a folder of the
// system that is a link, say) do not count.
bool ReachedThroughLink(const std::wstring& path,
                        const std::function<bool(const std::wstring& link)>& trusted = {});
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::wstring& path);

// Ends a folder listing on every path.
class TFindListing {
 public:
  TFindListing(IFileSystem& files, FindHandle handle) : files_(files), handle_(handle) {}
  ~TFindListing() { files_.FindClose(handle_); }
  TFindListing(const TFindListing&) = delete;
  TFindListing& operator=(const TFindListing&) = delete;

 private:
  IFileSystem& files_;
  FindHandle handle_;
};

// The whole content of a file; false when it cannot be opened or read, or
// holds more than maxSize bytes. Each reader caps its files at what its use
// can need: a 32-bit process cannot hold whatever size a file has.
bool ReadFileBytes(const std::wstring& path, Bytes& bytes, std::uint64_t maxSize);

// The one way the program rewrites a file: the bytes go to a temporary file in
// the same folder, which is flushed and then moved over the original in one
// step (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). Whatever fails,
// the path holds either its old content or the new one, never part of either,
// and no temporary file is left behind. The folder must exist.
bool ReplaceFileBytes(const std::wstring& path, const Bytes& bytes);

// How a text file is stored: a byte-order mark names UTF-16LE or UTF-8, no
// mark means the system's ANSI code page.
enum class TextEncoding { Ansi, Utf8Bom, Utf16LeBom };

// Decodes a text file's bytes by its byte-order mark (ANSI through the
// platform's locale when there is none) and says which encoding it found.
std::wstring DecodeTextFile(const Bytes& bytes, TextEncoding* encoding = nullptr);
// The bytes of a text file in an encoding, byte-order mark included.
Bytes EncodeTextFile(std::wstring_view text, TextEncoding encoding);
// True when the ANSI code page holds every character of the text.
bool FitsAnsiCodePage(std::wstring_view text);

}  // namespace orvix
