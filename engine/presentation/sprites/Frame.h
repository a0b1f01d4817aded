#pragma once

#include <string>

#include "foundation/Vector.h"
#include "presentation/display/Color.h"

namespace cv {

/// One picture of a sprite: `height` rows of `width` characters, kept as
/// UTF-8 text. A default frame (empty text) stands for no frame and draws
/// nothing.
class Frame {
 public:
  /// The empty frame: no size, no text.
  Frame();
  /// A frame of `height` rows of `width` characters given row by row, in
  /// UTF-8 (one character per cell).
  Frame(int width, int height, std::string frame_str);

  /// Characters per row.
  int getWidth() const;
  /// Number of rows.
  int getHeight() const;
  /// The rows, top first, without separators, as the UTF-8 text given.
  std::string getString() const;
  /// The rows, top first, without separators, one code point per cell.
  /// A byte of the text that is not UTF-8 gives NOT_UTF8 (foundation/utf8.h).
  std::u32string getCharacters() const;

  /// Draws the frame centred on `position`, one character per cell, skipping
  /// the cells that hold `transparency` (0 for none). A byte of the text
  /// that is not UTF-8 is drawn as '?', and skipped when `transparency` is
  /// that byte as a char converts to char32_t, so a char transparency past
  /// ASCII still stands for that byte. -1 if drawing a character failed.
  int draw(Vector position, Color color, char32_t transparency) const;

 private:
  int width;              ///< characters per row
  int height;             ///< number of rows
  std::string frame_str;  ///< the rows, top first, without separators, in UTF-8
};

}  // namespace cv
