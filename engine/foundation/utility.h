#pragma once
// Free functions on geometry, time and file names that the whole engine shares.

#include "foundation/Box.h"
#include "foundation/Vector.h"

#include <string>

namespace cv {

class Object;

/// The local time of day as "HH:MM:SS", or "(time error)". The buffer is
/// static and overwritten by every call.
const char *getTimeString();

/// The full name of `file_name`, taken from the working directory, for
/// telling a user where a file is; the name as given when it is empty or
/// cannot be made full.
std::string fullPath(const std::string &file_name);

/// True when the boxes overlap or touch (their ranges are closed).
bool boxIntersectsBox(const Box &a, const Box &b);

/// Euclidean distance between two points.
float distance(const Vector &a, const Vector &b);

/// The object's box moved to its position.
Box getWorldBox(const Object *object);

/// The object's box moved to `where`.
Box getWorldBox(const Object *object, Vector where);

/// World position to view position: minus the corner of the world's view.
Vector worldToView(Vector world_pos);

/// View position to world position: plus the corner of the world's view.
Vector viewToWorld(Vector view_pos);

/// The side of `other` from which `object` approaches: one of the eight unit
/// directions (y down), or (0, 0) when no side is found.
Vector getNormal(const Object *object, const Object *other);

/// True when min <= value <= max.
bool valueInRange(float value, float min, float max);

}  // namespace cv
