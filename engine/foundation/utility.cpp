#include "foundation/utility.h"

#include <cmath>
#include <cstdio>
#include <ctime>  // Required for: time()
#include <exception>
#include <filesystem>
#include <system_error>

#include "foundation/LogManager.h"
#include "platform/platform.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace cv {

const char *getTimeString() {
  static char time_string[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !platform::localTime(now, local)) {
    std::snprintf(time_string, sizeof time_string, "(time error)");
    return time_string;
  }
  std::snprintf(time_string, sizeof time_string, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return time_string;
}

std::string fullPath(const std::string &file_name) {
  if (file_name.empty())
    return file_name;
  try {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(std::filesystem::u8path(file_name), error);
    return error ? file_name : full.u8string();
  } catch (const std::exception &) {
    return file_name;
  }
}

bool boxIntersectsBox(const Box &a, const Box &b) {
  const float ax = a.getCorner().getX(), ay = a.getCorner().getY();
  const float bx = b.getCorner().getX(), by = b.getCorner().getY();
  const bool x_overlap = valueInRange(ax, bx, bx + b.getHorizontal()) ||
                         valueInRange(bx, ax, ax + a.getHorizontal());
  const bool y_overlap = valueInRange(ay, by, by + b.getVertical()) ||
                         valueInRange(by, ay, ay + a.getVertical());
  return x_overlap && y_overlap;
}

float distance(const Vector &a, const Vector &b) {
  const float dx = a.getX() - b.getX();
  const float dy = a.getY() - b.getY();
  return std::sqrt(dx * dx + dy * dy);
}

Box getWorldBox(const Object *object) { return getWorldBox(object, object->getPosition()); }

Box getWorldBox(const Object *object, Vector where) {
  Box box = object->getBox();
  const Vector corner = box.getCorner();
  box.setCorner(Vector(corner.getX() + where.getX(), corner.getY() + where.getY()));
  return box;
}

Vector worldToView(Vector world_pos) {
  return world_pos - WorldManager::getInstance().getView().getCorner();
}

Vector viewToWorld(Vector view_pos) {
  return view_pos + WorldManager::getInstance().getView().getCorner();
}

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

Vector getNormal(const Object *object, const Object *other) {
  // Halve toward the contact point: find the farthest point along the
  // velocity at which the object does not yet touch `other`.
  Vector velocity = object->getVelocity();
  Vector free_position = object->getPosition();
  const Box target = getWorldBox(other);
  float t = 0.5f;
  float step = 1.0f;
  for (int pass = 1; pass <= 7; pass++) {
    velocity.scale(t);
    const Vector candidate = object->getPosition() + velocity;
    step *= 0.5f;
    if (boxIntersectsBox(getWorldBox(object, candidate), target)) {
      t -= step;
    } else {
      free_position = candidate;
      t += step;
    }
  }

  // The neighbouring box of `other`'s size that the free box touches names the side.
  const Box approach = getWorldBox(object, free_position);
  const float x = target.getCorner().getX(), y = target.getCorner().getY();
  const float w = target.getHorizontal(), h = target.getVertical();
  const struct {
    float corner_x, corner_y;
    Vector normal;
  } sides[] = {
      {x, y - h, Vector(0, -1)},     {x, y + h, Vector(0, 1)},      {x - w, y, Vector(-1, 0)},
      {x + w, y, Vector(1, 0)},      {x - w, y - h, Vector(-1, -1)}, {x + w, y - h, Vector(1, -1)},
      {x - w, y + h, Vector(-1, 1)}, {x + w, y + h, Vector(1, 1)},
  };
  for (const auto &side : sides)
    if (boxIntersectsBox(approach, Box(Vector(side.corner_x, side.corner_y), w, h)))
      return side.normal;
  LogManager::getInstance().writeLog("getNormal(): collision not detected. Returning (0,0).");
  return Vector(0, 0);
}

}  // namespace cv
