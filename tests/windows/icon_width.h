// The width of an icon the Win32 backend handed out, to tell a live icon.
#pragma once

#include "platform/icon_api.h"
#include "platform/win32/windows_api.h"

namespace orvix {

// The width of an icon in pixels; 0 when the handle is no live icon.
inline int IconWidth(IconHandle icon) {
  ICONINFO info = {};
  if (!::GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
  BITMAP bitmap = {};
  ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

}  // namespace orvix
