#pragma once

#include "foundation/Vector.h"

namespace cv {

/// An axis-aligned rectangle covering the closed ranges
/// [corner.x, corner.x + horizontal] and [corner.y, corner.y + vertical].
class Box {
 public:
  Box();
  Box(Vector corner, float horizontal, float vertical);

  Vector getCorner() const;
  void setCorner(Vector new_corner);
  float getHorizontal() const;
  void setHorizontal(float new_horizontal);
  float getVertical() const;
  void setVertical(float new_vertical);

  bool operator==(const Box &other) const;
  bool operator!=(const Box &other) const;

 private:
  Vector corner;     ///< top-left corner
  float horizontal;  ///< extent along x
  float vertical;    ///< extent along y
};

}  // namespace cv
