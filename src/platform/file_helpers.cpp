#include "platform/file_helpers.h"

#include <algorithm>
#include <limits>
#include <new>

#include "platform/platform.h"

namespace orvix {
namespace {

constexpr std::uint8_t kUtf16LeBom[] = {0xFF, 0xFE};
constexpr std::uint8_t kUtf8Bom[] = {0xEF, 0xBB, 0xBF};
constexpr DWORD kChunkSize = 1 << 20;

bool IsDriveRoot(std::wstring_view path) { return path.size() == 3 && path[1] == L':' && path[2] == L'\\'; }

// "C:\Foo\" -> "C:\Foo", while "C:\" stays a root.
std::wstring WithoutTrailingBackslash(std::wstring path) {
  while (path.size() > 1 && path.back() == L'\\' && !IsDriveRoot(path)) path.pop_back();
  return path;
}

bool StartsWith(const Bytes& bytes, const std::uint8_t* mark, std::size_t size) {
  return bytes.size() >= size && std::equal(mark, mark + size, bytes.begin());
}

bool WriteAll(IFileSystem& files, FileHandle handle, const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunkSize));
    DWORD written = 0;
    if (files.WriteFile(handle, bytes.data() + done, size, &written) != ERROR_SUCCESS || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

bool FileExists(const std::wstring& path) {
  FileAttributeData data;
  return !path.empty() && CurrentPlatform().Files().GetAttributes(path, &data) == ERROR_SUCCESS &&
         (data.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::wstring& path) {
  FileAttributeData data;
  return !path.empty() &&
         CurrentPlatform().Files().GetAttributes(WithoutTrailingBackslash(path), &data) == ERROR_SUCCESS &&
         (data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsReparsePoint(const std::wstring& path) {
  FileAttributeData data;
  return !path.empty() &&
         CurrentPlatform().Files().GetAttributes(WithoutTrailingBackslash(path), &data) == ERROR_SUCCESS &&
         (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

namespace {

// Where the names below a drive or share root begin: 3 for "C:\", past
// "\\server\share\" for a share; npos for a path of neither form.
std::size_t NamesStart(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return 3;
  if (!path.starts_with(L"\\\\")) return std::wstring::npos;
  const std::size_t server = path.find(L'\\', 2);
  const std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
  return share == std::wstring::npos ? share : share + 1;
}

// Whether a part of a path is, or may be, a reparse point: one whose
// attributes cannot be read (access denied, a failing disk) may be a link,
// and only a part that is not there is surely none.
bool MayBeReparsePoint(const std::wstring& part) {
  FileAttributeData data;
  const DWORD error = CurrentPlatform().Files().GetAttributes(WithoutTrailingBackslash(part), &data);
  if (error == ERROR_SUCCESS) return (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::wstring ResolvedPath(const std::wstring& path) {
  IFileSystem& files = CurrentPlatform().Files();
  const std::size_t names = NamesStart(path);
  if (names == std::wstring::npos) return path;
  std::wstring head = WithoutTrailingBackslash(path);
  std::wstring rest = head.size() < path.size() ? L"\\" : L"";
  while (head.size() > names) {
    std::wstring found;
    if (files.GetFinalPathName(head, &found) == ERROR_SUCCESS && !found.empty()) return found + rest;
    const std::size_t slash = head.rfind(L'\\');
    if (slash == std::wstring::npos || slash + 1 < names) break;
    rest = head.substr(slash) + rest;
    head.resize(std::max(slash, names));
  }
  return path;
}

bool ReachedThroughLink(const std::wstring& path, const std::function<bool(const std::wstring& link)>& trusted) {
  const std::size_t names = NamesStart(path);
  if (names == std::wstring::npos) return false;
  const auto untrustedLink = [&](const std::wstring& part) {
    return MayBeReparsePoint(part) && !(trusted && trusted(part));
  };
  for (std::size_t end = names; end != std::wstring::npos && end < path.size(); end = path.find(L'\\', end + 1)) {
    if (end > names && untrustedLink(path.substr(0, end))) return true;
  }
  return untrustedLink(path);
}

bool ForceDirectories(const std::wstring& path) {
  const std::wstring folder = WithoutTrailingBackslash(path);
  if (folder.empty()) return false;
  if (DirectoryExists(folder)) return true;
  const std::size_t slash = folder.rfind(L'\\');
  if (slash != std::wstring::npos) {
    const std::wstring parent = WithoutTrailingBackslash(folder.substr(0, slash + 1));
    // A missing drive root or server name cannot be created.
    if (parent.size() >= folder.size() || !ForceDirectories(parent)) return false;
  }
  return CurrentPlatform().Files().CreateDirectory(folder) == ERROR_SUCCESS || DirectoryExists(folder);
}

bool ReadFileBytes(const std::wstring& path, Bytes& bytes, std::uint64_t maxSize) {
  bytes.clear();
  IFileSystem& files = CurrentPlatform().Files();
  FileHandle handle = 0;
  if (files.OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                     &handle) != ERROR_SUCCESS)
    return false;
  std::uint64_t size = 0;
  bool ok = files.GetFileSize(handle, &size) == ERROR_SUCCESS && size <= maxSize &&
            size <= std::numeric_limits<std::size_t>::max();
  try {
    if (ok) bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    ok = false;  // within the cap, yet more than this process can hold now
  }
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunkSize));
    ok = files.ReadFile(handle, bytes.data() + done, want, &read) == ERROR_SUCCESS;
    if (read == 0) break;  // the file became shorter while we read it
    done += read;
  }
  files.CloseFile(handle);
  bytes.resize(ok ? done : 0);
  return ok;
}

bool ReplaceFileBytes(const std::wstring& path, const Bytes& bytes) {
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return false;
  IFileSystem& files = CurrentPlatform().Files();
  std::wstring temp;
  if (files.GetTempFileName(path.substr(0, slash + 1), L"orv", &temp) != ERROR_SUCCESS) return false;
  FileHandle handle = 0;
  bool ok = files.OpenFile(temp, GENERIC_WRITE, 0, CREATE_ALWAYS, &handle) == ERROR_SUCCESS;
  if (ok) {
    ok = WriteAll(files, handle, bytes) && files.FlushFile(handle) == ERROR_SUCCESS;
    ok = files.CloseFile(handle) == ERROR_SUCCESS && ok;
  }
  ok = ok && files.MoveFile(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == ERROR_SUCCESS;
  if (!ok) files.DeleteFile(temp);
  return ok;
}

std::wstring DecodeTextFile(const Bytes& bytes, TextEncoding* encoding) {
  TextEncoding found = TextEncoding::Ansi;
  std::wstring text;
  if (StartsWith(bytes, kUtf16LeBom, sizeof kUtf16LeBom)) {
    found = TextEncoding::Utf16LeBom;
    text = FromUtf16Le(bytes.data() + sizeof kUtf16LeBom, bytes.size() - sizeof kUtf16LeBom);
  } else if (StartsWith(bytes, kUtf8Bom, sizeof kUtf8Bom)) {
    found = TextEncoding::Utf8Bom;
    text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + sizeof kUtf8Bom,
                                     bytes.size() - sizeof kUtf8Bom));
  } else {
    text = CurrentPlatform().Locale().FromAnsi(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  if (encoding != nullptr) *encoding = found;
  return text;
}

Bytes EncodeTextFile(std::wstring_view text, TextEncoding encoding) {
  Bytes bytes;
  switch (encoding) {
    case TextEncoding::Utf16LeBom: {
      bytes.assign(std::begin(kUtf16LeBom), std::end(kUtf16LeBom));
      const Bytes body = ToUtf16Le(text);
      bytes.insert(bytes.end(), body.begin(), body.end());
      break;
    }
    case TextEncoding::Utf8Bom: {
      bytes.assign(std::begin(kUtf8Bom), std::end(kUtf8Bom));
      const std::string body = ToUtf8(text);
      bytes.insert(bytes.end(), body.begin(), body.end());
      break;
    }
    case TextEncoding::Ansi: {
      const std::string body = CurrentPlatform().Locale().ToAnsi(text);
      bytes.assign(body.begin(), body.end());
      break;
    }
  }
  return bytes;
}

bool FitsAnsiCodePage(std::wstring_view text) {
  ILocaleApi& locale = CurrentPlatform().Locale();
  return locale.FromAnsi(locale.ToAnsi(text)) == text;
}

}  // namespace orvix
