#include "ui/icon_images.h"

#include "ui/dpi.h"

namespace orvix::ui {

IconImages::IconImages(UINT dpi) {
  const int size = Scale(32, dpi);
  images_ = ::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 64, 64);
  HICON generic = static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */, IMAGE_ICON,
                                                  size, size, LR_SHARED));
  ::ImageList_ReplaceIcon(images_, -1, generic);
}

IconImages::~IconImages() { ::ImageList_Destroy(images_); }

std::int32_t IconImages::AddIcons(IconHandle small, IconHandle large) {
  // The list is drawn at 32 pixels and more: the large icon is the sharper one.
  const IconHandle icon = large != 0 ? large : small;
  if (icon == 0) return 0;
  const int position = ::ImageList_ReplaceIcon(images_, -1, reinterpret_cast<HICON>(icon));
  return position < 0 ? 0 : position;
}

}  // namespace orvix::ui
