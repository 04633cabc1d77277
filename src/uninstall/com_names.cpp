// Names shared by the COM and shell areas.
#include <array>

#include "platform/text.h"
#include "uninstall/com_areas.h"

namespace orvix {

const std::vector<std::wstring>& CommonFileClasses() {
  static const std::vector<std::wstring> names = {
      L"*",       L"directory", L"folder",  L"drive",   L"lnkfile",       L"internetshortcut",
      L"exefile", L"dllfile",   L"ocxfile", L"giffile", L"icofile",       L"jpegfile",
      L"Paint.Picture", L"pngfile", L"TIFImage.Document", L"wmffile"};
  return names;
}

bool IsOwnClassName(const std::wstring& name) {
  // Keys under the classes that hold what every program registers.
  static constexpr std::array<const wchar_t*, 18> kSharedKeys = {
      L"AllFilesystemObjects", L"AppID",     L"Applications", L"CLSID",     L"Component Categories", L"DirectShow",
      L"Installer",            L"Interface", L"Local Settings", L"Media Type", L"MediaFoundation",   L"MIME",
      L"Network",              L"Protocols", L"SystemFileAssociations", L"TypeLib", L"Unknown",    L"Wow6432Node"};
  if (Trim(name).empty() || name.find(L'\\') != std::wstring::npos || name.starts_with(L".")) return false;
  for (const std::wstring& common : CommonFileClasses()) {
    if (SameText(name, common)) return false;
  }
  for (const wchar_t* shared : kSharedKeys) {
    if (SameText(name, shared)) return false;
  }
  return true;
}

}  // namespace orvix
