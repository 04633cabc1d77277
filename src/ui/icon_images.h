// The software list's icons: one image list for both views (details rows
// draw them, the icon view shows them), filled by the analysis through
// IIconList. Position 0 is the generic program icon that entries show
// until the analysis finds theirs.
#pragma once

#include "inventory/analysis_view.h"
#include "ui/win.h"

namespace orvix::ui {

class IconImages : public IIconList {
 public:
  // Icons of 32 pixels at 96 DPI, scaled for `dpi`.
  explicit IconImages(UINT dpi);
  ~IconImages() override;
  IconImages(const IconImages&) = delete;
  IconImages& operator=(const IconImages&) = delete;

  HIMAGELIST Handle() const { return images_; }
  std::int32_t AddIcons(IconHandle small, IconHandle large) override;

 private:
  HIMAGELIST images_;
};

}  // namespace orvix::ui
