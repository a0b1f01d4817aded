#pragma once

namespace cv {

/// A 2-D value in world units (character cells): x to the right, y down.
class Vector {
 public:
  Vector();
  Vector(float x, float y);

  float getX() const;
  float getY() const;
  void setX(float new_x);
  void setY(float new_y);
  void setXY(float new_x, float new_y);

  /// Length of the vector.
  float getMagnitude() const;

  /// Makes the length 1; a zero vector stays zero.
  void normalize();

  /// Multiplies both components by `s`.
  void scale(float s);

  Vector operator+(const Vector &other) const;
  Vector operator-(const Vector &other) const;
  Vector &operator+=(const Vector &other);
  bool operator==(const Vector &other) const;
  bool operator!=(const Vector &other) const;

 private:
  float x;  ///< horizontal component
  float y;  ///< vertical component, growing downwards
};

}  // namespace cv
