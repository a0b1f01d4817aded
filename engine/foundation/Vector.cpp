#include "foundation/Vector.h"

#include <cfloat>
#include <cmath>

namespace cv {

namespace {

// How far from 1 the length of a vector normalised in float may lie: each
// component carries at most about one rounding step of its own.
const double UNIT_TOLERANCE = 2.0 * FLT_EPSILON;

// The length in double: no float square overflows there.
double lengthOf(float x, float y) { return std::hypot(static_cast<double>(x), static_cast<double>(y)); }

}  // namespace

Vector::Vector() : x(0), y(0) {}

Vector::Vector(float x, float y) : x(x), y(y) {}

float Vector::getX() const { return x; }

float Vector::getY() const { return y; }

void Vector::setX(float new_x) { x = new_x; }

void Vector::setY(float new_y) { y = new_y; }

void Vector::setXY(float new_x, float new_y) {
  x = new_x;
  y = new_y;
}

float Vector::getMagnitude() const { return static_cast<float>(lengthOf(x, y)); }

bool Vector::isFinite() const { return std::isfinite(x) && std::isfinite(y); }

void Vector::normalize() {
  if (!isFinite())
    return;
  const double magnitude = lengthOf(x, y);
  if (magnitude == 0 || std::fabs(magnitude - 1) <= UNIT_TOLERANCE)
    return;
  x = static_cast<float>(x / magnitude);
  y = static_cast<float>(y / magnitude);
}

void Vector::scale(float s) {
  x *= s;
  y *= s;
}

Vector Vector::operator+(const Vector &other) const { return Vector(x + other.x, y + other.y); }

Vector Vector::operator-(const Vector &other) const { return Vector(x - other.x, y - other.y); }

Vector &Vector::operator+=(const Vector &other) {
  x += other.x;
  y += other.y;
  return *this;
}

bool Vector::operator==(const Vector &other) const { return x == other.x && y == other.y; }

bool Vector::operator!=(const Vector &other) const { return !(*this == other); }

}  // namespace cv
