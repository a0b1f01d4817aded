#pragma once
// The walls that bound the play field.

#include "world/Object.h"

/// A wall, type "Wall": a hard object that stops the hero and the enemies
/// and turns projectiles back.
class Wall : public cv::Object {
 public:
  /// Places the wall at `position`.
  explicit Wall(cv::Vector position);
};
