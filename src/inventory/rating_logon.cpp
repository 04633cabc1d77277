#include "inventory/rating_logon.h"

#include <algorithm>

#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr const wchar_t* kRunKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to) {
  for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

void AddOnce(std::vector<std::wstring>& folders, std::wstring folder) {
  if (folder.empty()) return;
  const bool known = std::any_of(folders.begin(), folders.end(), [&](const auto& f) { return SameText(f, folder); });
  if (!known) folders.push_back(std::move(folder));
}

void ReadRunKey(HKEY root, bool view64, std::vector<std::wstring>& folders) {
  try {
    TRegistry reg(KEY_READ | (view64 ? KEY_WOW64_64KEY : 0));
    reg.SetRootKey(root);
    if (!reg.OpenKeyReadOnly(kRunKey)) return;
    std::vector<std::wstring> names;
    reg.GetValueNames(names);
    for (const std::wstring& name : names) {
      if (name.empty()) continue;
      try {
        AddOnce(folders, LogonFolderOf(reg.ReadString(name)));
      } catch (const ERegistryException&) {
        // not text: starts nothing we can place
      }
    }
  } catch (const ERegistryException&) {
  }
}

}  // namespace

std::wstring LogonFolderOf(const std::wstring& command) {
  std::wstring path = Trim(command);
  const std::size_t slash = path.find(L'/');
  if (slash != std::wstring::npos) path = Trim(path.substr(0, slash + 1));
  // A quoted program path ends at its closing quote; what follows are its
  // arguments, which may hold backslashes of their own.
  if (path.starts_with(L'"')) {
    const std::size_t close = path.find(L'"', 1);
    path = path.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
  }
  ReplaceAll(path, L"\\\\", L"\\");
  const std::size_t end = path.rfind(L'\\');
  return end == std::wstring::npos ? std::wstring{} : path.substr(0, end + 1);
}

std::vector<std::wstring> ReadLogonFolders() {
  std::vector<std::wstring> folders;
  for (const bool view64 : {false, true}) {
    if (view64 && !IsWow64()) break;
    ReadRunKey(HKEY_LOCAL_MACHINE, view64, folders);
    ReadRunKey(HKEY_CURRENT_USER, view64, folders);
  }
  return folders;
}

}  // namespace orvix
