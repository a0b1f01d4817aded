#pragma once

#include "foundation/Vector.h"

namespace cv {

/// An axis-aligned rectangle covering the closed ranges
/// [corner.x, corner.x + horizontal] and [corner.y, corner.y + vertical].
class Box {
 public:
  /// Corner (0, 0), extents 0.
  Box();
  /// The given corner and extents; any extent is accepted, negative too.
  Box(Vector corner, float horizontal, float vertical);

  /// Top-left corner.
  Vector getCorner() const;
  void setCorner(Vector new_corner);
  /// Extent along x.
  float getHorizontal() const;
  void setHorizontal(float new_horizontal);
  /// Extent along y.
  float getVertical() const;
  void setVertical(float new_vertical);

  /// Corners equal and both extents exactly equal.
  bool operator==(const Box &other) const;
  /// Not equal.
  bool operator!=(const Box &other) const;

 private:
  Vector corner;     ///< top-left corner
  float horizontal;  ///< extent along x
  float vertical;    ///< extent along y
};

}  // namespace cv
