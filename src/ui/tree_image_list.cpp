// Icons for the review tree: stock shell icons for the window's own
// pictures, the shell's icon for a file name (by attributes, the file is not
// opened), and the icon a program file holds.
#include "ui/tree_image_list.h"

#include <shellapi.h>

#include "ui/dpi.h"

namespace orvix::ui {
namespace {

HICON StockIcon(SHSTOCKICONID id) {
  SHSTOCKICONINFO info = {};
  info.cbSize = sizeof(info);
  if (FAILED(::SHGetStockIconInfo(id, SHGSI_ICON | SHGSI_SMALLICON, &info))) return nullptr;
  return info.hIcon;
}

HICON PictureIcon(std::int32_t picture) {
  switch (picture) {
    case tpValue:
      return StockIcon(SIID_DOCNOASSOC);
    case tpFileCategory:
      return StockIcon(SIID_DRIVEFIXED);
    case tpRegistryCategory:
      return StockIcon(SIID_SERVER);
    default:  // a key
      return StockIcon(SIID_FOLDER);
  }
}

HICON ImageIcon(const TTreeImage& image) {
  if (image.Kind == tikPicture) return PictureIcon(image.Picture);
  if (image.Kind == tikFileOwnIcon) {
    HICON icon = nullptr;
    if (::ExtractIconExW(image.Source.c_str(), image.IconIndex, nullptr, &icon, 1) > 0 && icon != nullptr) return icon;
    return StockIcon(SIID_APPLICATION);
  }
  SHFILEINFOW info = {};
  const DWORD attributes = image.IsFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  if (::SHGetFileInfoW(image.Source.c_str(), attributes, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) != 0 &&
      info.hIcon != nullptr)
    return info.hIcon;
  return StockIcon(image.IsFolder ? SIID_FOLDER : SIID_DOCNOASSOC);
}

}  // namespace

HIMAGELIST MakeTreeImageList(const TTreeImageList& images, UINT dpi) {
  const int size = Scale(16, dpi);
  HIMAGELIST list = ::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, images.Count(), 8);
  for (std::int32_t i = 0; i < images.Count(); ++i) {
    HICON icon = ImageIcon(*images.At(i));
    // An icon that cannot be had keeps the positions of those after it.
    if (icon == nullptr) icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::ImageList_AddIcon(list, icon);
    ::DestroyIcon(icon);
  }
  return list;
}

}  // namespace orvix::ui
