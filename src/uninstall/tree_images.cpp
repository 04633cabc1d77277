#include "uninstall/tree_images.h"

namespace orvix {

TTreeImageList TTreeImageList::WithDefaultPictures() {
  TTreeImageList list;
  for (const TTreePicture picture : {tpRegistryCategory, tpKey, tpValue, tpFileCategory}) {
    TTreeImage image;
    image.Picture = picture;
    list.Add(image);
  }
  return list;
}

std::int32_t TTreeImageList::Add(const TTreeImage& image) {
  images_.push_back(image);
  return Count() - 1;
}

const TTreeImage* TTreeImageList::At(std::int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &images_[static_cast<std::size_t>(index)];
}

}  // namespace orvix
