#pragma once

#include <vector>

#include "foundation/Vector.h"

namespace cv {

/// A filled regular polygon, as a Shape is drawn: `points` corners evenly
/// on a circle of `radius` pixels, the first straight above its centre,
/// turned by `rotation` degrees clockwise about `position`, which is the
/// corner of the unturned figure's bounding square (view pixels).
struct Polygon {
  int points = 0;           ///< corners, 3 or more to be a figure
  float radius = 0;         ///< pixels from the centre to every corner
  float rotation = 0;       ///< degrees, clockwise on the screen
  Vector position;          ///< top-left of the unturned bounding square, in view pixels
  unsigned char r = 255;    ///< red of the fill
  unsigned char g = 255;    ///< green of the fill
  unsigned char b = 255;    ///< blue of the fill
  unsigned char alpha = 255;  ///< opacity of the fill (255 opaque)

  /// The corners in view pixels, in order, computed as the window library
  /// places them, so every medium fills the same figure.
  std::vector<Vector> corners() const;

  /// The bounding box of the turned bounding square (pixels), as the window
  /// library reports a figure's bounds.
  void bounds(float &left, float &top, float &right, float &bottom) const;
};

}  // namespace cv
