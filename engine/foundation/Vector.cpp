#include "foundation/Vector.h"

#include <cmath>

namespace cv {

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

float Vector::getMagnitude() const { return std::sqrt(x * x + y * y); }

void Vector::normalize() {
  const float magnitude = getMagnitude();
  if (magnitude > 0) {
    x /= magnitude;
    y /= magnitude;
  }
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
