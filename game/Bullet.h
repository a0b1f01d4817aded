#pragma once
// The hero's ordinary bullet.

#include "world/Object.h"

namespace cv {
class EventCollision;
}

/// A hero bullet, type "Bullet": flies straight, bounces off walls, kills
/// the first enemy it meets and is absorbed by shields. Bounces and a
/// reflected origin raise the score of its kill.
class Bullet : public cv::Object {
 public:
  /// Places the bullet 3 cells right of `launch_point`, speed 1, and plays
  /// "shoot". The creator sets the velocity.
  Bullet(cv::Vector launch_point, bool was_reflected);
  /// Leaves the world on "cv-out"; bounces, kills and is absorbed on
  /// "cv-collision". Returns 1 for those, 0 for any other event.
  int eventHandler(const cv::Event *event) override;
  /// Walls bounced off so far.
  int getBounces() const;
  /// Whether the bullet was made from a reflected enemy bullet.
  bool isReflected() const;

 private:
  /// Applies the collision rules.
  void collide(const cv::EventCollision *collision);
  int bounces;     ///< walls bounced off
  bool reflected;  ///< made from a reflected enemy bullet
};
