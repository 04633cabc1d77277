#include "platform/sim/sim_file_system.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/sim/sim_dos_names.h"
#include "platform/text.h"

namespace orvix::sim {

struct SimFileSystem::Entry {
  std::wstring name;
  std::wstring shortName;  // empty when the name is already a short one
  DWORD attributes = 0;    // as stored; FILE_ATTRIBUTE_NORMAL never is
  FILETIME64 created = 0;
  FILETIME64 accessed = 0;
  FILETIME64 written = 0;
  std::shared_ptr<Bytes> bytes = std::make_shared<Bytes>();  // shared by the names of a hard-linked file
  std::map<std::wstring, EntryPtr, TextLess> children;  // listed in this order, like NTFS
  Entry* parent = nullptr;                              // null for a root and for a removed entry
  wchar_t drive = 0;
  DWORD reparseTag = 0;
  std::wstring linkTarget;
  bool listDenied = false;
  std::optional<DWORD> heldShare;  // another program holds it open with this sharing

  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsLink() const { return reparseTag != 0; }
  DWORD Reported() const { return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes; }
};

struct SimFileSystem::OpenFileState {
  EntryPtr entry;
  std::wstring path;
  DWORD access = 0;
  DWORD share = 0;
  std::uint64_t position = 0;
};

struct SimFileSystem::Listing {
  std::vector<FindData> entries;
  std::size_t next = 0;
};

struct SimFileSystem::DriveState {
  SimDrive info;
  EntryPtr root;
};

namespace {

constexpr DWORD kFileReadData = 0x1;
constexpr DWORD kFileWriteData = 0x2;
constexpr DWORD kFileAppendData = 0x4;
constexpr DWORD kGenericAll = 0x10000000;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// READONLY, HIDDEN, SYSTEM, ARCHIVE, TEMPORARY, OFFLINE, NOT_CONTENT_INDEXED.
constexpr DWORD kSettableAttributes = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000;
constexpr int kMaxLinkDepth = 31;
constexpr std::size_t kJournalHead = 16;

bool Reads(DWORD access) { return (access & (GENERIC_READ | kGenericAll | kFileReadData)) != 0; }
bool Writes(DWORD access) {
  return (access & (GENERIC_WRITE | kGenericAll | kFileWriteData | kFileAppendData)) != 0;
}
bool Deletes(DWORD access) { return (access & (DELETE | kGenericAll)) != 0; }

// Whether sharing `share`, granted by one opener, admits another's `access`.
bool Admits(DWORD share, DWORD access) {
  return (!Reads(access) || (share & FILE_SHARE_READ)) && (!Writes(access) || (share & FILE_SHARE_WRITE)) &&
         (!Deletes(access) || (share & FILE_SHARE_DELETE));
}

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::uint64_t TreeSize(const SimFileSystem::Entry& entry) {
  std::uint64_t size = entry.bytes->size();
  for (const auto& [name, child] : entry.children) size += TreeSize(*child);
  return size;
}

// "C:", "C:\" or "C:/": the drive letter in upper case, 0 for anything else.
wchar_t RootLetter(std::wstring_view root) {
  if (root.size() < 2 || root.size() > 3 || !IsLetter(root[0]) || root[1] != L':') return 0;
  if (root.size() == 3 && !IsSeparator(root[2])) return 0;
  return UpperChar(root[0]);
}

DWORD VolumeFlags(const std::wstring& fileSystem) {
  if (SameText(fileSystem, L"NTFS")) return 0x03E706FF;
  if (SameText(fileSystem, L"CDFS")) return 0x00080005;  // read-only volume
  return 0x00000006;                                     // case-preserved Unicode names
}

}  // namespace

std::wstring SimFileSystem::Parsed::Text() const {
  std::wstring text = root;
  for (std::size_t i = 0; i < written.size(); ++i) text += (i == 0 ? L"" : L"\\") + written[i];
  return text;
}

SimFileSystem::SimFileSystem(Bitness machine, const OsVersionInfo& os, IClockApi* clock)
    : machine_(machine), os_(os), clock_(clock) {
  AddDrive(L'C', DRIVE_FIXED, 256ull << 30, 128ull << 30);
}

SimFileSystem::~SimFileSystem() = default;

FILETIME64 SimFileSystem::Now() const { return clock_ != nullptr ? clock_->NowUtc() : now; }

// ---- paths ----

DWORD SimFileSystem::Parse(std::wstring_view text, bool wildcardLeaf, Parsed* out) const {
  *out = Parsed{};
  if (text.starts_with(L"\\\\?\\")) text.remove_prefix(4);
  if (text.size() < 2 || text[1] != L':' || !IsLetter(text[0])) {
    // Relative and network paths: the current folder holds nothing.
    const bool oneName = !text.empty() && std::none_of(text.begin(), text.end(), IsSeparator);
    return oneName ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  }
  out->drive = UpperChar(text[0]);
  out->root = std::wstring(text.substr(0, 2)) + L"\\";
  const std::wstring_view rest = text.substr(2);
  out->trailingSlash = !rest.empty() && IsSeparator(rest.back());

  std::vector<std::wstring_view> pieces;
  for (std::size_t start = 0; start < rest.size();) {
    std::size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    if (end > start) pieces.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    std::wstring part(pieces[i]);
    if (part == L".") continue;
    if (part == L"..") {
      if (!out->parts.empty()) out->parts.pop_back();
      continue;
    }
    const bool pattern = wildcardLeaf && i + 1 == pieces.size() && HasWildcards(part);
    // Windows drops trailing dots and spaces from names, not from patterns ("*.").
    if (!pattern) {
      while (!part.empty() && (part.back() == L'.' || part.back() == L' ')) part.pop_back();
      if (part.empty()) continue;
    }
    for (wchar_t c : part) {
      const bool wildcard = c == L'*' || c == L'?';
      if (c < 32 || std::wstring_view(L"<>:\"|").find(c) != std::wstring_view::npos || (wildcard && !pattern))
        return ERROR_INVALID_NAME;
    }
    if (part.size() > 255) return ERROR_INVALID_NAME;
    out->parts.push_back(std::move(part));
  }
  out->written = out->parts;
  return ERROR_SUCCESS;
}

// A 32-bit program's view of a 64-bit machine: %windir%\System32 is
// SysWOW64 apart from a few shared sub-folders, and %windir%\Sysnative is
// the real System32.
void SimFileSystem::Redirect(Parsed* parsed) const {
  if (machine_ != Bitness::x64) return;
  const auto off = redirectionOff_.find(std::this_thread::get_id());
  if (off != redirectionOff_.end() && off->second) return;
  Parsed windows;
  if (Parse(windowsDir_, false, &windows) != ERROR_SUCCESS || windows.drive != parsed->drive) return;
  std::vector<std::wstring>& parts = parsed->parts;
  const std::size_t at = windows.parts.size();
  if (parts.size() <= at) return;
  for (std::size_t i = 0; i < at; ++i) {
    if (!SameText(parts[i], windows.parts[i])) return;
  }
  if (SameText(parts[at], L"System32")) {
    const std::wstring next = parts.size() > at + 1 ? parts[at + 1] : L"";
    const bool windows7 = os_.major > 6 || (os_.major == 6 && os_.minor >= 1);
    const bool shared = SameText(next, L"catroot") || SameText(next, L"catroot2") || SameText(next, L"logfiles") ||
                        SameText(next, L"spool") || (windows7 && SameText(next, L"driverstore")) ||
                        (SameText(next, L"drivers") && parts.size() > at + 2 && SameText(parts[at + 2], L"etc"));
    if (!shared) parts[at] = L"SysWOW64";
  } else if (SameText(parts[at], L"Sysnative") && os_.major >= 6) {
    parts[at] = L"System32";
  }
}

SimFileSystem::EntryPtr SimFileSystem::Child(const Entry& folder, std::wstring_view name) const {
  const auto it = folder.children.find(name);
  if (it != folder.children.end()) return it->second;
  for (const auto& [key, child] : folder.children) {
    if (!child->shortName.empty() && SameText(child->shortName, name)) return child;
  }
  return nullptr;
}

SimFileSystem::EntryPtr SimFileSystem::FollowLink(const EntryPtr& link, int depth, DWORD* status) const {
  if (depth >= kMaxLinkDepth) {
    *status = ERROR_CANT_RESOLVE_FILENAME;
    return nullptr;
  }
  Parsed target;
  *status = Parse(link->linkTarget, false, &target);
  if (*status != ERROR_SUCCESS) return nullptr;
  Located found = Locate(target, true, depth + 1);
  *status = found.status;
  return found.entry;
}

SimFileSystem::Located SimFileSystem::Locate(const Parsed& parsed, bool followLeaf, int depth) const {
  Located out;
  const auto drive = drives_.find(parsed.drive);
  if (drive == drives_.end()) {
    out.status = ERROR_PATH_NOT_FOUND;
    return out;
  }
  if (!drive->second.info.mediaPresent) {
    out.status = ERROR_NOT_READY;
    return out;
  }
  EntryPtr folder = drive->second.root;
  for (std::size_t i = 0; i < parsed.parts.size(); ++i) {
    if (folder->IsLink()) {
      DWORD status = ERROR_SUCCESS;
      folder = FollowLink(folder, depth, &status);
      if (folder == nullptr) return Located{status == ERROR_CANT_RESOLVE_FILENAME ? status : ERROR_PATH_NOT_FOUND};
    }
    if (!folder->IsFolder()) return Located{ERROR_PATH_NOT_FOUND};
    EntryPtr child = Child(*folder, parsed.parts[i]);
    out.parent = folder;
    if (child == nullptr) {
      out.status = i + 1 == parsed.parts.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
      return out;
    }
    out.chain.push_back(child);
    folder = std::move(child);
  }
  out.entry = folder;
  if (followLeaf && folder->IsLink()) {
    DWORD status = ERROR_SUCCESS;
    out.entry = FollowLink(folder, depth, &status);
    // A dangling link is not a free name to create something at.
    if (out.entry == nullptr) out.status = status == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : status;
  }
  return out;
}

SimFileSystem::Located SimFileSystem::Find(const std::wstring& path, bool followLeaf, Parsed* parsed) const {
  Parsed local;
  Parsed& target = parsed != nullptr ? *parsed : local;
  if (const DWORD status = Parse(path, false, &target); status != ERROR_SUCCESS) return Located{status};
  Redirect(&target);
  return Locate(target, followLeaf);
}

// ---- the tree ----

void SimFileSystem::Attach(const EntryPtr& folder, const EntryPtr& entry, const std::wstring& name) {
  SimDrive& drive = drives_.at(folder->drive).info;
  entry->name = name;
  entry->shortName.clear();
  if (drive.shortNames && !IsShortName(name)) {
    entry->shortName = MakeShortName(name, [&](const std::wstring& candidate) { return Child(*folder, candidate) != nullptr; });
  }
  entry->parent = folder.get();
  entry->drive = folder->drive;
  drive.free -= std::min(drive.free, TreeSize(*entry));
  folder->children[name] = entry;
  folder->written = Now();
}

void SimFileSystem::Detach(const EntryPtr& entry) {
  Entry* folder = entry->parent;
  if (folder == nullptr) return;
  drives_.at(folder->drive).info.free += TreeSize(*entry);
  folder->children.erase(entry->name);
  folder->written = Now();
  entry->parent = nullptr;
}

SimFileSystem::EntryPtr SimFileSystem::NewChild(const EntryPtr& folder, const std::wstring& name, DWORD attributes) {
  auto entry = std::make_shared<Entry>();
  entry->attributes = attributes;
  entry->created = entry->accessed = entry->written = Now();
  Attach(folder, entry, name);
  return entry;
}

DWORD SimFileSystem::Resize(Entry& entry, std::uint64_t size) {
  if (entry.parent != nullptr) {
    SimDrive& drive = drives_.at(entry.drive).info;
    if (size > entry.bytes->size()) {
      const std::uint64_t growth = size - entry.bytes->size();
      if (growth > drive.free) return ERROR_DISK_FULL;
      drive.free -= growth;
    } else {
      drive.free += entry.bytes->size() - size;
    }
  }
  entry.bytes->resize(size);
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::CheckSharing(const Entry& entry, DWORD access, DWORD share) const {
  if (!Reads(access) && !Writes(access) && !Deletes(access)) return ERROR_SUCCESS;  // attributes only
  for (const auto& [id, file] : files_) {
    if (file->entry.get() == &entry && (!Admits(file->share, access) || !Admits(share, file->access)))
      return ERROR_SHARING_VIOLATION;
  }
  if (entry.heldShare && (!Admits(*entry.heldShare, access) || !Admits(share, GENERIC_READ)))
    return ERROR_SHARING_VIOLATION;
  return ERROR_SUCCESS;
}

// Whether a file below `folder` is open here or held by another program.
bool SimFileSystem::HeldBelow(const Entry& folder) const {
  auto below = [&](const Entry* entry) {
    for (; entry != nullptr; entry = entry->parent) {
      if (entry == &folder) return true;
    }
    return false;
  };
  for (const auto& [id, file] : files_) {
    if (below(file->entry.get())) return true;
  }
  return std::any_of(locked_.begin(), locked_.end(), [&](const std::weak_ptr<Entry>& weak) {
    const EntryPtr entry = weak.lock();
    return entry && entry->heldShare && below(entry.get());
  });
}

bool SimFileSystem::ReadOnlyMedia(const Entry& entry) const { return drives_.at(entry.drive).info.type == DRIVE_CDROM; }

FindData SimFileSystem::DataOf(const Entry& entry, const std::wstring& name) const {
  FindData data;
  data.attributes = entry.Reported();
  data.creationTime = entry.created;
  data.lastAccessTime = entry.accessed;
  data.lastWriteTime = entry.written;
  data.size = entry.IsFolder() ? 0 : entry.bytes->size();
  data.name = name;
  data.alternateName = name == entry.name ? entry.shortName : L"";
  data.reparseTag = entry.reparseTag;
  return data;
}

void SimFileSystem::Record(FileEvent event) { journal_.push_back(std::move(event)); }

// ---- listings and attributes ----

DWORD SimFileSystem::FindFirst(const std::wstring& pattern, FindData* data, FindHandle* handle) {
  std::lock_guard lock(mutex_);
  *handle = 0;
  Parsed parsed;
  if (const DWORD status = Parse(pattern, true, &parsed); status != ERROR_SUCCESS) return status;
  if (parsed.parts.empty() || parsed.trailingSlash)
    return drives_.contains(parsed.drive) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  const std::wstring leaf = parsed.parts.back();
  parsed.parts.pop_back();
  parsed.written.pop_back();
  Redirect(&parsed);
  const Located folder = Locate(parsed, true);
  if (folder.status != ERROR_SUCCESS) return folder.status == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : folder.status;
  const Entry& dir = *folder.entry;
  if (!dir.IsFolder()) return ERROR_PATH_NOT_FOUND;
  if (dir.listDenied || (!folder.chain.empty() && folder.chain.back()->listDenied)) return ERROR_ACCESS_DENIED;

  auto listing = std::make_unique<Listing>();
  if (dir.parent != nullptr) {  // every folder but a root lists itself and its parent first
    if (MatchesPattern(leaf, L".")) listing->entries.push_back(DataOf(dir, L"."));
    if (MatchesPattern(leaf, L"..")) listing->entries.push_back(DataOf(*dir.parent, L".."));
  }
  for (const auto& [key, child] : dir.children) {
    if (MatchesPattern(leaf, child->name) || (!child->shortName.empty() && MatchesPattern(leaf, child->shortName)))
      listing->entries.push_back(DataOf(*child, child->name));
  }
  if (listing->entries.empty()) return ERROR_FILE_NOT_FOUND;
  *data = listing->entries.front();
  listing->next = 1;
  *handle = nextHandle_;
  nextHandle_ += 4;
  listings_.emplace(*handle, std::move(listing));
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::FindNext(FindHandle handle, FindData* data) {
  std::lock_guard lock(mutex_);
  const auto it = listings_.find(handle);
  if (it == listings_.end()) return ERROR_INVALID_HANDLE;
  Listing& listing = *it->second;
  if (listing.next >= listing.entries.size()) return ERROR_NO_MORE_FILES;
  *data = listing.entries[listing.next++];
  return ERROR_SUCCESS;
}

void SimFileSystem::FindClose(FindHandle handle) {
  std::lock_guard lock(mutex_);
  listings_.erase(handle);
}

DWORD SimFileSystem::GetAttributes(const std::wstring& path, FileAttributeData* data) {
  std::lock_guard lock(mutex_);
  const Located found = Find(path, false);
  if (found.status != ERROR_SUCCESS) return found.status;
  const FindData entry = DataOf(*found.entry, found.entry->name);
  if (data != nullptr) *data = entry;
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::SetAttributes(const std::wstring& path, DWORD attributes) {
  std::lock_guard lock(mutex_);
  const Located found = Find(path, false);
  if (found.status != ERROR_SUCCESS) return found.status;
  Entry& entry = *found.entry;
  if (ReadOnlyMedia(entry)) return ERROR_ACCESS_DENIED;
  entry.attributes = (entry.attributes & ~kSettableAttributes) | (attributes & kSettableAttributes);
  return ERROR_SUCCESS;
}

// Names containing "~" may be short names and are replaced by the long
// ones; the others stay as written, as Windows leaves them.
DWORD SimFileSystem::GetLongPathName(const std::wstring& path, std::wstring* longPath) {
  std::lock_guard lock(mutex_);
  Parsed parsed;
  const Located found = Find(path, false, &parsed);
  if (found.status != ERROR_SUCCESS) return found.status;
  std::wstring out = parsed.root;
  for (std::size_t i = 0; i < parsed.parts.size(); ++i) {
    const bool redirected = parsed.parts[i] != parsed.written[i];
    const bool maybeShort = parsed.written[i].find(L'~') != std::wstring::npos;
    out += (i == 0 ? L"" : L"\\") + (maybeShort && !redirected ? found.chain[i]->name : parsed.written[i]);
  }
  if (parsed.trailingSlash && !parsed.parts.empty()) out += L"\\";
  *longPath = out;
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::GetShortPathName(const std::wstring& path, std::wstring* shortPath) {
  std::lock_guard lock(mutex_);
  Parsed parsed;
  const Located found = Find(path, false, &parsed);
  if (found.status != ERROR_SUCCESS) return found.status;
  std::wstring out = parsed.root;
  for (std::size_t i = 0; i < parsed.parts.size(); ++i) {
    const std::wstring& written = parsed.written[i];
    const Entry& entry = *found.chain[i];
    std::wstring name = written;
    if (parsed.parts[i] == written && !IsShortName(written)) name = entry.shortName.empty() ? entry.name : entry.shortName;
    out += (i == 0 ? L"" : L"\\") + name;
  }
  if (parsed.trailingSlash && !parsed.parts.empty()) out += L"\\";
  *shortPath = out;
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::GetFinalPathName(const std::wstring& path, std::wstring* finalPath) {
  std::lock_guard lock(mutex_);
  const Located found = Find(path, true);
  if (found.status != ERROR_SUCCESS) return found.status;
  *finalPath = PathOf(*found.entry);
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::GetLinkCount(const std::wstring& path, DWORD* links) {
  std::lock_guard lock(mutex_);
  const Located found = Find(path, false);
  if (found.status != ERROR_SUCCESS) return found.status;
  const Entry& entry = *found.entry;
  *links = entry.IsFolder() || entry.IsLink() ? 1 : static_cast<DWORD>(entry.bytes.use_count());
  return ERROR_SUCCESS;
}

std::wstring SimFileSystem::PathOf(const Entry& entry) const {
  std::vector<const Entry*> names;
  for (const Entry* up = &entry; up->parent != nullptr; up = up->parent) names.push_back(up);
  std::wstring path = std::wstring(1, entry.drive) + L":\\";
  for (auto it = names.rbegin(); it != names.rend(); ++it) path += (it == names.rbegin() ? L"" : L"\\") + (*it)->name;
  return path;
}

// ---- folders and files by name ----

DWORD SimFileSystem::CreateDirectory(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  Parsed parsed;
  const Located found = Find(path, false, &parsed);
  if (found.status == ERROR_SUCCESS) return parsed.parts.empty() ? ERROR_ACCESS_DENIED : ERROR_ALREADY_EXISTS;
  if (found.status != ERROR_FILE_NOT_FOUND) return found.status;
  if (ReadOnlyMedia(*found.parent)) return ERROR_ACCESS_DENIED;
  NewChild(found.parent, parsed.parts.back(), FILE_ATTRIBUTE_DIRECTORY);
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::RemoveDirectory(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  const Located found = Find(path, false);
  if (found.status != ERROR_SUCCESS) return found.status;
  const Entry& entry = *found.entry;
  if (found.parent == nullptr) return ERROR_ACCESS_DENIED;  // a drive root
  if (!entry.IsFolder()) return ERROR_DIRECTORY;
  // A junction goes alone, however full its target is.
  if (!entry.IsLink() && !entry.children.empty()) return ERROR_DIR_NOT_EMPTY;
  if ((entry.attributes & FILE_ATTRIBUTE_READONLY) || ReadOnlyMedia(entry)) return ERROR_ACCESS_DENIED;
  if (entry.heldShare && !(*entry.heldShare & FILE_SHARE_DELETE)) return ERROR_SHARING_VIOLATION;
  Detach(found.entry);
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::DeleteFile(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  Parsed parsed;
  const Located found = Find(path, false, &parsed);
  if (found.status != ERROR_SUCCESS) return found.status;
  const Entry& entry = *found.entry;
  if (entry.IsFolder() || (entry.attributes & FILE_ATTRIBUTE_READONLY) || ReadOnlyMedia(entry))
    return ERROR_ACCESS_DENIED;
  if (const DWORD status = CheckSharing(entry, DELETE, kShareAll); status != ERROR_SUCCESS) return status;
  Detach(found.entry);  // handles opened with FILE_SHARE_DELETE keep the data
  Record({FileOp::Delete, parsed.Text()});
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) {
  std::lock_guard lock(mutex_);
  const Located source = Find(from, true);
  if (source.status != ERROR_SUCCESS) return source.status;
  if (source.entry->IsFolder()) return ERROR_ACCESS_DENIED;
  if (const DWORD status = CheckSharing(*source.entry, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE);
      status != ERROR_SUCCESS)
    return status;
  Parsed targetPath;
  const Located target = Find(to, true, &targetPath);
  if (target.status != ERROR_SUCCESS && target.status != ERROR_FILE_NOT_FOUND) return target.status;
  EntryPtr copy = target.entry;
  if (copy == source.entry) return ERROR_SHARING_VIOLATION;
  if (copy != nullptr) {
    if (copy->IsFolder()) return ERROR_ACCESS_DENIED;
    if (failIfExists) return ERROR_FILE_EXISTS;
    if (copy->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) return ERROR_ACCESS_DENIED;
    if (const DWORD status = CheckSharing(*copy, GENERIC_WRITE, 0); status != ERROR_SUCCESS) return status;
  }
  if (ReadOnlyMedia(*target.parent)) return ERROR_ACCESS_DENIED;
  const bool created = copy == nullptr;
  if (created) copy = NewChild(target.parent, targetPath.parts.back(), 0);
  if (const DWORD status = Resize(*copy, source.entry->bytes->size()); status != ERROR_SUCCESS) {
    if (created) Detach(copy);
    return status;
  }
  *copy->bytes = *source.entry->bytes;
  copy->attributes = (source.entry->attributes & kSettableAttributes) | FILE_ATTRIBUTE_ARCHIVE;
  copy->written = source.entry->written;
  copy->accessed = source.entry->accessed = Now();
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::MoveEntry(const EntryPtr& source, const Located& target, const std::wstring& targetName,
                               DWORD flags, bool force) {
  const EntryPtr& existing = target.entry;
  const EntryPtr& folder = target.parent;
  if (existing != nullptr && existing != source) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return ERROR_ALREADY_EXISTS;
    if (existing->IsFolder() || source->IsFolder()) return ERROR_ACCESS_DENIED;
    if (!force && ((existing->attributes & FILE_ATTRIBUTE_READONLY) ||
                   CheckSharing(*existing, DELETE, kShareAll) != ERROR_SUCCESS))
      return ERROR_ACCESS_DENIED;
  }
  if (!force && (ReadOnlyMedia(*folder) || ReadOnlyMedia(*source))) return ERROR_ACCESS_DENIED;
  for (const Entry* up = folder.get(); up != nullptr; up = up->parent) {
    if (up == source.get()) return ERROR_SHARING_VIOLATION;  // a folder into itself
  }
  if (folder->drive != source->drive) {
    if (source->IsFolder() || !(flags & MOVEFILE_COPY_ALLOWED)) return ERROR_NOT_SAME_DEVICE;
    if (existing != nullptr) Detach(existing);
    const EntryPtr copy = NewChild(folder, targetName, source->attributes);
    if (const DWORD status = Resize(*copy, source->bytes->size()); status != ERROR_SUCCESS) {
      Detach(copy);
      return status;
    }
    *copy->bytes = *source->bytes;
    copy->created = source->created;
    copy->written = source->written;
    Detach(source);
    return ERROR_SUCCESS;
  }
  if (existing != nullptr && existing != source) Detach(existing);
  Detach(source);
  Attach(folder, source, targetName);
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::MoveFile(const std::wstring& from, const std::wstring& to, DWORD flags) {
  std::lock_guard lock(mutex_);
  if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) {
    if (flags & MOVEFILE_COPY_ALLOWED) return ERROR_INVALID_PARAMETER;
    Parsed parsed;
    if (const DWORD status = Parse(from, false, &parsed); status != ERROR_SUCCESS) return status;
    pending_.push_back({from, to, flags});
    return ERROR_SUCCESS;
  }
  if (to.empty()) return ERROR_INVALID_PARAMETER;
  Parsed sourcePath;
  const Located source = Find(from, false, &sourcePath);
  if (source.status != ERROR_SUCCESS) return source.status;
  if (source.parent == nullptr) return ERROR_ACCESS_DENIED;
  Parsed targetPath;
  const Located target = Find(to, false, &targetPath);
  if (target.status != ERROR_SUCCESS && target.status != ERROR_FILE_NOT_FOUND) return target.status;
  if (targetPath.parts.empty()) return ERROR_ACCESS_DENIED;
  if (const DWORD status = CheckSharing(*source.entry, DELETE, kShareAll); status != ERROR_SUCCESS) return status;
  if (source.entry->IsFolder() && !source.entry->IsLink() && HeldBelow(*source.entry)) return ERROR_ACCESS_DENIED;
  const DWORD status = MoveEntry(source.entry, target, targetPath.parts.back(), flags, false);
  if (status == ERROR_SUCCESS) {
    FileEvent event{FileOp::Move, sourcePath.Text()};
    event.to = targetPath.Text();
    event.flags = flags;
    Record(std::move(event));
  }
  return status;
}

// ---- open files ----

SimFileSystem::OpenFileState* SimFileSystem::Handle(FileHandle handle) {
  const auto it = files_.find(handle);
  return it == files_.end() ? nullptr : it->second.get();
}

DWORD SimFileSystem::OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                              FileHandle* handle) {
  std::lock_guard lock(mutex_);
  *handle = 0;
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) return ERROR_INVALID_PARAMETER;
  Parsed parsed;
  const Located found = Find(path, true, &parsed);
  if (found.status != ERROR_SUCCESS && found.status != ERROR_FILE_NOT_FOUND) return found.status;
  const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  EntryPtr entry = found.entry;
  if (entry != nullptr) {
    if (entry->IsFolder()) return ERROR_ACCESS_DENIED;
    if (disposition == CREATE_NEW) return ERROR_FILE_EXISTS;
    if (disposition == TRUNCATE_EXISTING && !Writes(access)) return ERROR_INVALID_PARAMETER;
    // Replacing a hidden or system file needs its attributes given, which we never do.
    if (disposition == CREATE_ALWAYS && (entry->attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
      return ERROR_ACCESS_DENIED;
    if ((Writes(access) || truncates) && ((entry->attributes & FILE_ATTRIBUTE_READONLY) || ReadOnlyMedia(*entry)))
      return ERROR_ACCESS_DENIED;
    if (const DWORD status = CheckSharing(*entry, truncates ? access | GENERIC_WRITE : access, share);
        status != ERROR_SUCCESS)
      return status;
    if (truncates) {
      Resize(*entry, 0);
      entry->written = Now();
      if (disposition == CREATE_ALWAYS) entry->attributes |= FILE_ATTRIBUTE_ARCHIVE;
    }
  } else {
    if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) return ERROR_FILE_NOT_FOUND;
    if (ReadOnlyMedia(*found.parent)) return ERROR_ACCESS_DENIED;
    entry = NewChild(found.parent, parsed.parts.back(), FILE_ATTRIBUTE_ARCHIVE);
  }
  entry->accessed = Now();
  auto state = std::make_unique<OpenFileState>();
  state->entry = std::move(entry);
  state->path = parsed.Text();
  state->access = access;
  state->share = share;
  *handle = nextHandle_;
  nextHandle_ += 4;
  files_.emplace(*handle, std::move(state));
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::ReadFile(FileHandle handle, void* buffer, DWORD size, DWORD* read) {
  std::lock_guard lock(mutex_);
  if (read != nullptr) *read = 0;
  OpenFileState* file = Handle(handle);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  if (!Reads(file->access)) return ERROR_ACCESS_DENIED;
  if (buffer == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  Entry& entry = *file->entry;
  const std::uint64_t available = file->position < entry.bytes->size() ? entry.bytes->size() - file->position : 0;
  const auto count = static_cast<DWORD>(std::min<std::uint64_t>(size, available));
  if (count > 0) std::memcpy(buffer, entry.bytes->data() + file->position, count);
  file->position += count;
  entry.accessed = Now();
  if (read != nullptr) *read = count;
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::WriteFile(FileHandle handle, const void* buffer, DWORD size, DWORD* written) {
  std::lock_guard lock(mutex_);
  if (written != nullptr) *written = 0;
  OpenFileState* file = Handle(handle);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  if (!Writes(file->access)) return ERROR_ACCESS_DENIED;
  if (buffer == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  Entry& entry = *file->entry;
  const std::uint64_t end = file->position + size;
  if (end > entry.bytes->size()) {
    if (const DWORD status = Resize(entry, end); status != ERROR_SUCCESS) return status;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  if (size > 0) std::memcpy(entry.bytes->data() + file->position, bytes, size);
  FileEvent event{FileOp::Write, file->path, file->position, size};
  event.head.assign(bytes, bytes + std::min<std::size_t>(size, kJournalHead));
  Record(std::move(event));
  file->position = end;
  entry.written = entry.accessed = Now();
  if (written != nullptr) *written = size;
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::SeekFile(FileHandle handle, std::uint64_t offset) {
  std::lock_guard lock(mutex_);
  OpenFileState* file = Handle(handle);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  file->position = offset;
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::GetFileSize(FileHandle handle, std::uint64_t* size) {
  std::lock_guard lock(mutex_);
  OpenFileState* file = Handle(handle);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  *size = file->entry->bytes->size();
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::SetEndOfFile(FileHandle handle) {
  std::lock_guard lock(mutex_);
  OpenFileState* file = Handle(handle);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  if (!Writes(file->access)) return ERROR_ACCESS_DENIED;
  if (const DWORD status = Resize(*file->entry, file->position); status != ERROR_SUCCESS) return status;
  file->entry->written = Now();
  Record({FileOp::SetEnd, file->path, file->position});
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::FlushFile(FileHandle handle) {
  std::lock_guard lock(mutex_);
  OpenFileState* file = Handle(handle);
  if (file == nullptr) return ERROR_INVALID_HANDLE;
  if (!Writes(file->access)) return ERROR_ACCESS_DENIED;
  Record({FileOp::Flush, file->path});
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::CloseFile(FileHandle handle) {
  std::lock_guard lock(mutex_);
  const auto it = files_.find(handle);
  if (it == files_.end()) return ERROR_INVALID_HANDLE;
  if (Writes(it->second->access)) Record({FileOp::Close, it->second->path});
  files_.erase(it);
  return ERROR_SUCCESS;
}

// "<first three characters of prefix><hex number>.tmp", created empty.
DWORD SimFileSystem::GetTempFileName(const std::wstring& folder, const std::wstring& prefix, std::wstring* path) {
  std::lock_guard lock(mutex_);
  const Located found = Find(folder, true);
  if (found.status != ERROR_SUCCESS || !found.entry->IsFolder()) return ERROR_DIRECTORY;
  if (ReadOnlyMedia(*found.entry)) return ERROR_ACCESS_DENIED;
  for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
    tempCounter_ = tempCounter_ % 0xFFFF + 1;
    wchar_t number[8];
    std::swprintf(number, 8, L"%X", tempCounter_);
    const std::wstring name = prefix.substr(0, 3) + number + L".tmp";
    if (Child(*found.entry, name) != nullptr) continue;
    NewChild(found.entry, name, FILE_ATTRIBUTE_ARCHIVE);
    *path = folder + (folder.empty() || IsSeparator(folder.back()) ? L"" : L"\\") + name;
    return ERROR_SUCCESS;
  }
  return ERROR_FILE_EXISTS;
}

// ---- drives ----

std::vector<std::wstring> SimFileSystem::GetLogicalDrives() {
  std::lock_guard lock(mutex_);
  std::vector<std::wstring> roots;
  for (const auto& [letter, drive] : drives_) roots.push_back(std::wstring(1, letter) + L":\\");
  return roots;
}

DWORD SimFileSystem::GetDriveType(const std::wstring& root) {
  std::lock_guard lock(mutex_);
  const auto it = drives_.find(root.empty() ? L'C' : RootLetter(root));
  return it == drives_.end() ? DRIVE_NO_ROOT_DIR : it->second.info.type;
}

DWORD SimFileSystem::GetVolumeInformation(const std::wstring& root, VolumeInfo* info) {
  std::lock_guard lock(mutex_);
  const wchar_t letter = RootLetter(root);
  if (letter == 0) return ERROR_INVALID_NAME;
  const auto it = drives_.find(letter);
  if (it == drives_.end()) return ERROR_PATH_NOT_FOUND;
  const SimDrive& drive = it->second.info;
  if (!drive.mediaPresent) return ERROR_NOT_READY;
  info->label = drive.label;
  info->serialNumber = drive.serialNumber;
  info->maxComponentLength = 255;
  info->flags = VolumeFlags(drive.fileSystem);
  info->fileSystem = drive.fileSystem;
  return ERROR_SUCCESS;
}

DWORD SimFileSystem::GetDiskFreeSpace(const std::wstring& path, DiskSpace* space) {
  std::lock_guard lock(mutex_);
  const Located found = Find(path, true);
  if (found.status != ERROR_SUCCESS) return found.status;
  if (!found.entry->IsFolder()) return ERROR_DIRECTORY;
  const SimDrive& drive = drives_.at(found.entry->drive).info;
  space->freeToCaller = drive.free;
  space->total = drive.total;
  space->totalFree = drive.free;
  return ERROR_SUCCESS;
}

// The old value says whether redirection was off before: null when it was on.
bool SimFileSystem::DisableFsRedirection(void** oldValue) {
  std::lock_guard lock(mutex_);
  if (machine_ != Bitness::x64 || oldValue == nullptr) return false;
  bool& off = redirectionOff_[std::this_thread::get_id()];
  *oldValue = off ? reinterpret_cast<void*>(1) : nullptr;
  off = true;
  return true;
}

bool SimFileSystem::RevertFsRedirection(void* oldValue) {
  std::lock_guard lock(mutex_);
  if (machine_ != Bitness::x64) return false;
  if (oldValue == nullptr) {
    redirectionOff_.erase(std::this_thread::get_id());
  } else {
    redirectionOff_[std::this_thread::get_id()] = true;
  }
  return true;
}

bool SimFileSystem::RedirectionOffOnThisThread() const {
  std::lock_guard lock(mutex_);
  const auto off = redirectionOff_.find(std::this_thread::get_id());
  return off != redirectionOff_.end() && off->second;
}

// ---- set-up and inspection for tests ----

SimDrive& SimFileSystem::AddDrive(wchar_t letter, DWORD type, std::uint64_t total, std::uint64_t free) {
  std::lock_guard lock(mutex_);
  if (!IsLetter(letter)) throw std::invalid_argument("not a drive letter");
  letter = UpperChar(letter);
  DriveState& drive = drives_[letter];
  drive.info.type = type;
  drive.info.total = total;
  drive.info.free = free;
  drive.info.fileSystem = type == DRIVE_CDROM ? L"CDFS" : type == DRIVE_REMOVABLE ? L"FAT32" : L"NTFS";
  drive.info.serialNumber = 0x5A3C0000u + letter;
  if (drive.root == nullptr) {
    drive.root = std::make_shared<Entry>();
    drive.root->attributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    drive.root->drive = letter;
    drive.root->created = drive.root->accessed = drive.root->written = Now();
  }
  return drive.info;
}

SimDrive& SimFileSystem::Drive(wchar_t letter) {
  std::lock_guard lock(mutex_);
  const auto it = drives_.find(UpperChar(letter));
  if (it == drives_.end()) throw std::invalid_argument("no such drive");
  return it->second.info;
}

void SimFileSystem::SetWindowsDirectory(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  windowsDir_ = path;
}

SimFileSystem::Parsed SimFileSystem::ParseForTest(const std::wstring& path) const {
  Parsed parsed;
  if (Parse(path, false, &parsed) != ERROR_SUCCESS || !drives_.contains(parsed.drive))
    throw std::invalid_argument("bad path for the simulated file system: " + ToUtf8(path));
  return parsed;
}

SimFileSystem::EntryPtr SimFileSystem::LocateForTest(const std::wstring& path) const {
  const Located found = Locate(ParseForTest(path), false);
  if (found.status != ERROR_SUCCESS) throw std::invalid_argument("nothing at " + ToUtf8(path));
  return found.entry;
}

// The folder named by the first `count` names, created where missing.
SimFileSystem::EntryPtr SimFileSystem::EnsureFolder(const Parsed& parsed, std::size_t count) {
  EntryPtr folder = drives_.at(parsed.drive).root;
  for (std::size_t i = 0; i <= count; ++i) {
    if (folder->IsLink()) {
      DWORD status = ERROR_SUCCESS;
      folder = FollowLink(folder, 0, &status);
      if (folder == nullptr) throw std::invalid_argument("dangling junction in " + ToUtf8(parsed.Text()));
    }
    if (!folder->IsFolder()) throw std::invalid_argument("a file is in the way of " + ToUtf8(parsed.Text()));
    if (i == count) break;
    EntryPtr child = Child(*folder, parsed.parts[i]);
    folder = child != nullptr ? child : NewChild(folder, parsed.parts[i], FILE_ATTRIBUTE_DIRECTORY);
  }
  return folder;
}

void SimFileSystem::PutFolder(const std::wstring& path, DWORD attributes) {
  std::lock_guard lock(mutex_);
  const Parsed parsed = ParseForTest(path);
  if (parsed.parts.empty()) return;
  const EntryPtr parent = EnsureFolder(parsed, parsed.parts.size() - 1);
  EntryPtr folder = Child(*parent, parsed.parts.back());
  if (folder == nullptr) folder = NewChild(parent, parsed.parts.back(), FILE_ATTRIBUTE_DIRECTORY);
  if (!folder->IsFolder()) throw std::invalid_argument("a file is at " + ToUtf8(path));
  folder->attributes = (folder->attributes & ~kSettableAttributes) | (attributes & kSettableAttributes);
}

void SimFileSystem::PutFile(const std::wstring& path, Bytes data, DWORD attributes) {
  std::lock_guard lock(mutex_);
  const Parsed parsed = ParseForTest(path);
  if (parsed.parts.empty()) throw std::invalid_argument("a drive root is no file");
  const EntryPtr parent = EnsureFolder(parsed, parsed.parts.size() - 1);
  EntryPtr file = Child(*parent, parsed.parts.back());
  if (file == nullptr) file = NewChild(parent, parsed.parts.back(), 0);
  if (file->IsFolder()) throw std::invalid_argument("a folder is at " + ToUtf8(path));
  // Set-up never fails for want of space: the drive is just full.
  SimDrive& drive = drives_.at(file->drive).info;
  drive.free += file->bytes->size();
  drive.free -= std::min<std::uint64_t>(drive.free, data.size());
  *file->bytes = std::move(data);
  file->attributes = attributes & kSettableAttributes;
  file->written = Now();
}

void SimFileSystem::PutFile(const std::wstring& path, std::string_view text, DWORD attributes) {
  PutFile(path, Bytes(text.begin(), text.end()), attributes);
}

void SimFileSystem::MakeJunction(const std::wstring& path, const std::wstring& target, DWORD tag, DWORD attributes) {
  std::lock_guard lock(mutex_);
  const Parsed parsed = ParseForTest(path);
  if (parsed.parts.empty()) throw std::invalid_argument("a drive root cannot be a junction");
  const EntryPtr parent = EnsureFolder(parsed, parsed.parts.size() - 1);
  if (Child(*parent, parsed.parts.back()) != nullptr) throw std::invalid_argument("something is at " + ToUtf8(path));
  const EntryPtr link = NewChild(parent, parsed.parts.back(),
                                 FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                     (attributes & kSettableAttributes));
  link->reparseTag = tag;
  link->linkTarget = target;
}

void SimFileSystem::MakeFileSymlink(const std::wstring& path, const std::wstring& target) {
  std::lock_guard lock(mutex_);
  const Parsed parsed = ParseForTest(path);
  if (parsed.parts.empty()) throw std::invalid_argument("a drive root cannot be a link");
  const EntryPtr parent = EnsureFolder(parsed, parsed.parts.size() - 1);
  if (Child(*parent, parsed.parts.back()) != nullptr) throw std::invalid_argument("something is at " + ToUtf8(path));
  const EntryPtr link = NewChild(parent, parsed.parts.back(), FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE);
  link->reparseTag = IO_REPARSE_TAG_SYMLINK;
  link->linkTarget = target;
}

void SimFileSystem::MakeHardLink(const std::wstring& path, const std::wstring& existing) {
  std::lock_guard lock(mutex_);
  const EntryPtr original = LocateForTest(existing);
  if (original == nullptr || original->IsFolder() || original->IsLink())
    throw std::invalid_argument("no file at " + ToUtf8(existing));
  const Parsed parsed = ParseForTest(path);
  const EntryPtr parent = EnsureFolder(parsed, parsed.parts.size() - 1);
  if (Child(*parent, parsed.parts.back()) != nullptr) throw std::invalid_argument("something is at " + ToUtf8(path));
  const EntryPtr name = NewChild(parent, parsed.parts.back(), original->attributes);
  name->bytes = original->bytes;
}

void SimFileSystem::DenyListing(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  LocateForTest(path)->listDenied = true;
}

void SimFileSystem::LockFile(const std::wstring& path, DWORD share) {
  std::lock_guard lock(mutex_);
  const EntryPtr entry = LocateForTest(path);
  entry->heldShare = share;
  locked_.push_back(entry);
}

void SimFileSystem::UnlockFile(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  LocateForTest(path)->heldShare.reset();
}

void SimFileSystem::SetTimes(const std::wstring& path, FILETIME64 creation, FILETIME64 access, FILETIME64 write) {
  std::lock_guard lock(mutex_);
  const EntryPtr entry = LocateForTest(path);
  entry->created = creation;
  entry->accessed = access;
  entry->written = write;
}

void SimFileSystem::Remove(const std::wstring& path) {
  std::lock_guard lock(mutex_);
  Detach(LocateForTest(path));
}

bool SimFileSystem::Exists(const std::wstring& path) const { return Attributes(path).has_value(); }

bool SimFileSystem::IsFolder(const std::wstring& path) const {
  const std::optional<FileAttributeData> data = Attributes(path);
  return data && (data->attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<FileAttributeData> SimFileSystem::Attributes(const std::wstring& path) const {
  std::lock_guard lock(mutex_);
  Parsed parsed;
  if (Parse(path, false, &parsed) != ERROR_SUCCESS) return std::nullopt;
  const Located found = Locate(parsed, false);
  if (found.status != ERROR_SUCCESS) return std::nullopt;
  return DataOf(*found.entry, found.entry->name);
}

std::optional<Bytes> SimFileSystem::FileBytes(const std::wstring& path) const {
  std::lock_guard lock(mutex_);
  Parsed parsed;
  if (Parse(path, false, &parsed) != ERROR_SUCCESS) return std::nullopt;
  const Located found = Locate(parsed, true);
  if (found.status != ERROR_SUCCESS || found.entry->IsFolder()) return std::nullopt;
  return *found.entry->bytes;
}

std::optional<std::string> SimFileSystem::FileText(const std::wstring& path) const {
  const std::optional<Bytes> bytes = FileBytes(path);
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

std::vector<std::wstring> SimFileSystem::ListNames(const std::wstring& folder) const {
  std::lock_guard lock(mutex_);
  std::vector<std::wstring> names;
  Parsed parsed;
  if (Parse(folder, false, &parsed) != ERROR_SUCCESS) return names;
  const Located found = Locate(parsed, true);
  if (found.status != ERROR_SUCCESS) return names;
  for (const auto& [key, child] : found.entry->children) names.push_back(child->name);
  return names;
}

std::vector<PendingMove> SimFileSystem::PendingDeletes() const {
  std::lock_guard lock(mutex_);
  return pending_;
}

void SimFileSystem::Restart() {
  std::lock_guard lock(mutex_);
  for (const PendingMove& move : pending_) {
    Parsed source;
    if (Parse(move.from, false, &source) != ERROR_SUCCESS) continue;
    const Located found = Locate(source, false);
    if (found.status != ERROR_SUCCESS || found.parent == nullptr) continue;
    if (move.to.empty()) {
      const bool empty = !found.entry->IsFolder() || found.entry->IsLink() || found.entry->children.empty();
      if (empty) Detach(found.entry);
      continue;
    }
    Parsed target;
    if (Parse(move.to, false, &target) != ERROR_SUCCESS || target.parts.empty()) continue;
    const Located destination = Locate(target, false);
    if (destination.status == ERROR_SUCCESS || destination.status == ERROR_FILE_NOT_FOUND)
      MoveEntry(found.entry, destination, target.parts.back(), move.flags, true);
  }
  pending_.clear();
  for (const std::weak_ptr<Entry>& weak : locked_) {
    if (const EntryPtr entry = weak.lock()) entry->heldShare.reset();
  }
  locked_.clear();
}

std::vector<FileEvent> SimFileSystem::Journal() const {
  std::lock_guard lock(mutex_);
  return journal_;
}

void SimFileSystem::ClearJournal() {
  std::lock_guard lock(mutex_);
  journal_.clear();
}

std::size_t SimFileSystem::OpenHandleCount() const {
  std::lock_guard lock(mutex_);
  return files_.size() + listings_.size();
}

}  // namespace orvix::sim
