// The pictures of the leftover tree, described portably: the window that
// draws the tree turns each description into an icon.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvix {

enum TTreeImageKind : std::int32_t {
  tikPicture = 0,      // one of the review window's own pictures, by number
  tikFileIcon = 1,     // the shell's small icon for a file name, taken by attributes (the file is not opened)
  tikFileOwnIcon = 2,  // the icon a file itself holds (a program's DisplayIcon), at IconIndex
};

struct TTreeImage {
  TTreeImageKind Kind = tikPicture;
  std::int32_t Picture = 0;  // tikPicture
  std::wstring Source;       // tikFileIcon, tikFileOwnIcon: the file name or path
  std::int32_t IconIndex = 0;
  bool IsFolder = false;  // tikFileIcon: a folder's icon rather than a file's
};

// The review window's own pictures, the first four images of every tree.
enum TTreePicture : std::int32_t {
  tpRegistryCategory = 0,
  tpKey = 1,
  tpValue = 2,
  tpFileCategory = 3,
};

class TTreeImageList {
 public:
  // A list holding the four default pictures.
  static TTreeImageList WithDefaultPictures();

  // Appends an image and answers its index.
  std::int32_t Add(const TTreeImage& image);
  std::int32_t Count() const { return static_cast<std::int32_t>(images_.size()); }
  // The image at an index; nullptr outside the list.
  const TTreeImage* At(std::int32_t index) const;

 private:
  std::vector<TTreeImage> images_;
};

}  // namespace orvix
