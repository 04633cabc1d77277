// What the analysis changes on the screen, seen from the analysis: the rows
// of the software list and its two image lists. The windows implement
// these; the analysis calls them on the user-interface thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/icon_api.h"

namespace orvix {

class ISoftwareListView {
 public:
  virtual ~ISoftwareListView() = default;
  // The row of the entry at `position` in Items (the row whose fourth
  // sub-item is that number) shows the image, the size text (sub-item 1)
  // and the date text (sub-item 2), and an empty sub-item 0. Nothing
  // happens when no row shows that entry.
  virtual void UpdateRow(std::size_t position, std::int32_t imageIndex, const std::wstring& sizeText,
                         const std::wstring& dateText) = 0;
};

// The small and the large image list of the software list, filled in step.
class IIconList {
 public:
  virtual ~IIconList() = default;
  // Adds copies of the icons, the small one to the small list and the large
  // one to the large list; answers the large list's new last position.
  virtual std::int32_t AddIcons(IconHandle small, IconHandle large) = 0;
};

}  // namespace orvix
