#include "foundation/Box.h"

namespace cv {

Box::Box() : corner(), horizontal(0), vertical(0) {}

Box::Box(Vector corner, float horizontal, float vertical)
    : corner(corner), horizontal(horizontal), vertical(vertical) {}

Vector Box::getCorner() const { return corner; }

void Box::setCorner(Vector new_corner) { corner = new_corner; }

float Box::getHorizontal() const { return horizontal; }

void Box::setHorizontal(float new_horizontal) { horizontal = new_horizontal; }

float Box::getVertical() const { return vertical; }

void Box::setVertical(float new_vertical) { vertical = new_vertical; }

bool Box::operator==(const Box &other) const {
  return corner == other.corner && horizontal == other.horizontal && vertical == other.vertical;
}

bool Box::operator!=(const Box &other) const { return !(*this == other); }

}  // namespace cv
