#include "uninstall/file_walk.h"

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

std::wstring WithBackslash(const std::wstring& path) { return path.ends_with(L'\\') ? path : path + L'\\'; }

std::wstring LastName(const std::wstring& path) {
  std::wstring text = path;
  while (!text.empty() && text.back() == L'\\') text.pop_back();
  return text.substr(text.rfind(L'\\') + 1);  // npos + 1 is 0: the whole text
}

bool IsDotName(const std::wstring& name) { return !name.empty() && name.front() == L'.'; }
bool IsFolder(const FindData& data) { return (data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
bool IsLink(const FindData& data) { return (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

}  // namespace

std::wstring SeenForm(const std::wstring& path) {
  std::wstring text = LowerCase(Trim(path));
  while (!text.empty() && text.back() == L'\\') text.pop_back();
  return text;
}

bool TFileWalk::Report(const std::wstring& path, TScanFileKind kind, std::int64_t size) {
  const std::wstring key = SeenForm(path);
  if (key.empty() || seen_.contains(key) || leftAlone_.contains(key)) return false;
  if (IsDotName(LastName(path)) || scan_.IsProtected(path)) return false;
  seen_.insert(key);

  TScanFileInfo finding{path, size, kind, 0};
  if (TTreeImageList* images = scan_.Images()) {
    TTreeImage icon;
    icon.Kind = tikFileIcon;
    icon.Source = path;
    icon.IsFolder = kind == sfkFolder;
    finding.ImageIndex = images->Add(icon);
  }
  scan_.FileOutput().push_back(std::move(finding));
  return true;
}

bool TFileWalk::ListAll(const std::wstring& prefix, const std::function<bool(const FindData&)>& visit) {
  IFileSystem& files = CurrentPlatform().Files();
  FindData data;
  FindHandle handle = 0;
  if (files.FindFirst(prefix + L"*.*", &data, &handle) != ERROR_SUCCESS) return true;
  TFindListing listing(files, handle);
  do {
    if (!scan_.Tick()) return false;
    if (data.name != L"." && data.name != L".." && !visit(data)) return false;
  } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
  return true;
}

bool TFileWalk::ListFolder(const std::wstring& prefix, const std::function<bool(const FindData&)>& visit) {
  return ListAll(prefix, [&](const FindData& data) { return IsDotName(data.name) || visit(data); });
}

bool TFileWalk::HoldsDotNames(const std::wstring& folder) {
  bool found = false;
  ListAll(WithBackslash(folder), [&](const FindData& data) {
    found = IsDotName(data.name);
    return !found;
  });
  return found;
}

void TFileWalk::WalkFolder(const std::wstring& folder) {
  if (Trim(folder).empty()) return;
  const std::wstring prefix = WithBackslash(folder);
  // What a link points to belongs to someone else, however it got here.
  if (IsReparsePoint(prefix) || leftAlone_.contains(SeenForm(prefix))) return;
  ListFolder(prefix, [&](const FindData& data) {
    const std::wstring path = prefix + data.name;
    if (!IsFolder(data)) {
      Report(path, sfkFile, static_cast<std::int64_t>(data.size));
    } else if (!leftAlone_.contains(SeenForm(path)) && !scan_.IsProtected(path)) {
      // Left alone, or protected: neither offered nor entered.
      Report(path, sfkFolder, 0);
      if (!IsLink(data)) WalkFolder(path);
    }
    return true;
  });
}

std::wstring TFileWalk::FindNamedFolder(const std::wstring& root, const std::wstring& name) {
  if (Trim(root).empty() || name.empty()) return {};
  const std::wstring prefix = WithBackslash(root);
  std::wstring found;
  ListFolder(prefix, [&](const FindData& data) {
    if (IsFolder(data) && !IsLink(data) && SameText(data.name, name)) found = prefix + data.name;
    return found.empty();
  });
  return found;
}

}  // namespace orvix
