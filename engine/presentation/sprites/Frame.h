#pragma once

#include <string>

#include "foundation/Vector.h"
#include "presentation/display/Color.h"

namespace cv {

/// One picture of a sprite: `height` rows of `width` characters.
/// A default frame (empty text) stands for no frame and draws nothing.
class Frame {
 public:
  /// The empty frame: no size, no text.
  Frame();
  /// A frame of `height` rows of `width` characters given row by row.
  Frame(int width, int height, std::string frame_str);

  /// Characters per row.
  int getWidth() const;
  /// Number of rows.
  int getHeight() const;
  /// The rows, top first, without separators.
  std::string getString() const;

  /// Draws the frame centred on `position`, skipping `transparency`
  /// characters (0 for none). -1 if drawing a character failed.
  int draw(Vector position, Color color, char transparency) const;

 private:
  int width;              ///< characters per row
  int height;             ///< number of rows
  std::string frame_str;  ///< the rows, top first, without separators
};

}  // namespace cv
