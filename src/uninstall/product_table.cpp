#include "uninstall/product_table.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Builds a row whose keys and folders follow the maker's usual layout:
// HKLM and HKCU "Software\Orvix\<name>", the product's folders in both
// application-data folders and its Start-menu folder.
TFilterData ProductRow(const std::wstring& name, const std::wstring& filter, const std::wstring& extraReg = L"",
                       const std::wstring& extraPath = L"") {
  TFilterData row;
  row.Key = LowerCase(L"Orvix " + name);
  row.Reg = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\" + name + L",HKEY_CURRENT_USER\\Software\\Orvix\\" + name;
  if (!extraReg.empty()) row.Reg += L"," + extraReg;
  row.Path = L"CSIDL_APPDATA\\Orvix\\" + name + L",CSIDL_COMMON_APPDATA\\Orvix\\" + name +
             L",CSIDL_COMMON_PROGRAMS\\Orvix " + name;
  if (!extraPath.empty()) row.Path += L"," + extraPath;
  row.Filter = filter;
  return row;
}

}  // namespace

TFileterManage::TFileterManage() {
  rows_ = {
      ProductRow(L"Disk Tidy", L"CSIDL_LOCAPTION\\Reports,CSIDL_LOCAPTION\\license.dat"),
      ProductRow(L"Clip Vault", L"CSIDL_LOCAPTION\\Vault,CSIDL_LOCAPTION\\vault.key",
                 L"HKEY_CURRENT_USER\\Software\\Classes\\OrvixClipVault.Clip"),
      ProductRow(L"Backup Bay", L"CSIDL_LOCAPTION\\Backups,CSIDL_LOCAPTION\\Schedules\\jobs.xml",
                 L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\OrvixBackupBay",
                 L"CSIDL_COMMON_APPDATA\\Orvix\\Backup Bay Logs"),
      ProductRow(L"Net Meter", L"CSIDL_LOCAPTION\\History\\traffic.db"),
      ProductRow(L"Font Shelf", L"CSIDL_LOCAPTION\\Collections,CSIDL_LOCAPTION\\license.dat"),
      ProductRow(L"Photo Frame", L"CSIDL_LOCAPTION\\Albums", L"HKEY_CLASSES_ROOT\\OrvixPhotoFrame.Album"),
      ProductRow(L"Tab Keeper", L"CSIDL_LOCAPTION\\Sessions",
                 L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\OrvixTabKeeper"),
      ProductRow(L"Key Locker", L"CSIDL_LOCAPTION\\Safe,CSIDL_LOCAPTION\\locker.key"),
      ProductRow(L"Media Shrink", L"CSIDL_LOCAPTION\\Presets,CSIDL_LOCAPTION\\license.dat"),
      ProductRow(L"Startup Pilot", L"CSIDL_LOCAPTION\\Restore\\startup-backup.ini",
                 L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\OrvixStartupPilot.Profile"),
      ProductRow(L"Browser Shield", L"CSIDL_LOCAPTION\\Rules,CSIDL_LOCAPTION\\shield.cfg",
                 L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\OrvixShield",
                 L"CSIDL_APPDATA\\Orvix\\Browser Shield Backup"),
  };
}

const TFilterData* TFileterManage::Row(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &rows_[static_cast<std::size_t>(index)];
}

std::wstring TFileterManage::FindProductRow(const std::wstring& text, IPump* pump) const {
  for (const TFilterData& row : rows_) {
    if (pump != nullptr) pump->ProcessMessages();
    if (text.find(row.Key) != std::wstring::npos) return row.Key;
  }
  return {};
}

std::wstring TFileterManage::ProductColumn(const std::wstring& rowKey, const std::wstring& column,
                                           const std::wstring& fallback) const {
  const std::wstring key = LowerCase(rowKey);
  const std::wstring name = LowerCase(column);
  for (const TFilterData& row : rows_) {
    if (row.Key != key) continue;
    if (name == L"reg") return row.Reg;
    if (name == L"path") return row.Path;
    if (name == L"filter") return row.Filter;
    return fallback;
  }
  return fallback;
}

const TFileterManage& ProductTable() {
  static const TFileterManage table;
  return table;
}

std::wstring ExpandMacroPath(const std::wstring& macroPath, const TSoftInfo& record) {
  const std::size_t slash = macroPath.find(L'\\');
  if (slash == std::wstring::npos) return {};
  const std::wstring prefix = macroPath.substr(0, slash);
  const std::wstring rest = macroPath.substr(slash + 1);
  if (Trim(rest).empty()) return {};

  std::wstring folder;
  IShellApi& shell = CurrentPlatform().Shell();
  if (prefix == L"CSIDL_COMMON_PROGRAMS") {
    folder = shell.GetSpecialFolder(CSIDL_COMMON_PROGRAMS);
  } else if (prefix == L"CSIDL_APPDATA") {
    folder = shell.GetSpecialFolder(CSIDL_APPDATA);
  } else if (prefix == L"CSIDL_COMMON_APPDATA") {
    folder = shell.GetSpecialFolder(CSIDL_COMMON_APPDATA);
  } else if (prefix == L"CSIDL_LOCAPTION") {
    folder = Trim(record.InstallLocation);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  } else {
    return {};
  }
  if (folder.empty()) return {};
  return folder + L"\\" + rest;
}

std::vector<std::wstring> SplitProductList(const std::wstring& list) {
  std::vector<std::wstring> elements;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(L',', start), list.size());
    std::wstring element = Trim(std::wstring_view(list).substr(start, end - start));
    if (!element.empty()) elements.push_back(std::move(element));
    start = end + 1;
  }
  return elements;
}

}  // namespace orvix
