// The review tree's pictures as a Win32 image list: the portable
// descriptions of the result tree (uninstall/tree_images.h) turned into the
// shell's small icons.
#pragma once

#include "uninstall/tree_images.h"
#include "ui/win.h"

namespace orvix::ui {

// A new image list (the caller destroys it) with one small icon per image,
// in order, at `dpi`.
HIMAGELIST MakeTreeImageList(const TTreeImageList& images, UINT dpi);

}  // namespace orvix::ui
