#pragma once

namespace cv {

/// A 2-D value in world units (character cells): x to the right, y down.
class Vector {
 public:
  /// (0, 0).
  Vector();
  /// (x, y).
  Vector(float x, float y);

  /// Horizontal component.
  float getX() const;
  /// Vertical component.
  float getY() const;
  void setX(float new_x);
  void setY(float new_y);
  /// Sets both components.
  void setXY(float new_x, float new_y);

  /// Length of the vector, computed in double precision so that large
  /// components do not overflow on the way (a length beyond the float range
  /// is infinite).
  float getMagnitude() const;

  /// Whether both components are finite (neither infinite nor NaN).
  bool isFinite() const;

  /// Makes the length 1; a zero vector stays zero. A vector whose length is
  /// already 1 within float rounding is kept bit for bit, so normalising
  /// twice changes nothing. A vector with a component that is not finite
  /// stays as it is.
  void normalize();

  /// Multiplies both components by `s`.
  void scale(float s);

  /// Component-wise sum.
  Vector operator+(const Vector &other) const;
  /// Component-wise difference.
  Vector operator-(const Vector &other) const;
  /// Component-wise sum in place.
  Vector &operator+=(const Vector &other);
  /// Both components exactly equal.
  bool operator==(const Vector &other) const;
  /// Either component differs.
  bool operator!=(const Vector &other) const;

 private:
  float x;  ///< horizontal component
  float y;  ///< vertical component, growing downwards
};

}  // namespace cv
