#include "presentation/display/Polygon.h"

#include <algorithm>
#include <cmath>

namespace cv {

namespace {

// The window library's pi, in float, so the corners agree with its own.
const float PI = 3.141592654f;

// The turn and shift of a polygon, as the window library's transform holds
// them: x' = a * x + b * y + tx, y' = c * x + d * y + ty.
struct Transform {
  float a, b, tx, c, d, ty;

  explicit Transform(const Polygon &polygon) {
    const float angle = -polygon.rotation * PI / 180.f;
    const float cosine = static_cast<float>(std::cos(angle));
    const float sine = static_cast<float>(std::sin(angle));
    a = cosine;
    b = sine;
    tx = polygon.position.getX();
    c = -sine;
    d = cosine;
    ty = polygon.position.getY();
  }

  Vector apply(float x, float y) const { return Vector(a * x + b * y + tx, c * x + d * y + ty); }
};

}  // namespace

std::vector<Vector> Polygon::corners() const {
  std::vector<Vector> result;
  if (points <= 0)
    return result;
  const Transform transform(*this);
  for (int index = 0; index < points; index++) {
    const float angle = static_cast<float>(index) * 2 * PI / static_cast<float>(points) - PI / 2;
    const float x = std::cos(angle) * radius;
    const float y = std::sin(angle) * radius;
    result.push_back(transform.apply(radius + x, radius + y));
  }
  return result;
}

void Polygon::bounds(float &left, float &top, float &right, float &bottom) const {
  // The unturned corners' box, turned, and the box around that.
  float min_x = 0, min_y = 0, max_x = 0, max_y = 0;
  bool first = true;
  for (int index = 0; index < points; index++) {
    const float angle = static_cast<float>(index) * 2 * PI / static_cast<float>(points) - PI / 2;
    const float x = radius + std::cos(angle) * radius;
    const float y = radius + std::sin(angle) * radius;
    min_x = first ? x : std::min(min_x, x);
    min_y = first ? y : std::min(min_y, y);
    max_x = first ? x : std::max(max_x, x);
    max_y = first ? y : std::max(max_y, y);
    first = false;
  }
  // Kept as a corner and a size, as the library keeps a box.
  const float width = max_x - min_x, height = max_y - min_y;
  const Transform transform(*this);
  const Vector box[] = {transform.apply(min_x, min_y), transform.apply(min_x, min_y + height),
                        transform.apply(min_x + width, min_y), transform.apply(min_x + width, min_y + height)};
  left = right = box[0].getX();
  top = bottom = box[0].getY();
  for (const Vector &corner : box) {
    left = std::min(left, corner.getX());
    right = std::max(right, corner.getX());
    top = std::min(top, corner.getY());
    bottom = std::max(bottom, corner.getY());
  }
}

}  // namespace cv
