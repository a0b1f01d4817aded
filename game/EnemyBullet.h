#pragma once
// The enemies' bullet.

#include "world/Object.h"

/// An enemy bullet, type "EnemyBullet": kills the hero it touches, bounces
/// off walls and turns into a reflected hero bullet at the hero's reflector.
class EnemyBullet : public cv::Object {
 public:
  /// Places the bullet at `position` with `velocity`.
  EnemyBullet(cv::Vector position, cv::Vector velocity);
  /// Leaves the world on "cv-out"; bounces, kills and is reflected on
  /// "cv-collision". Returns 1 for those, 0 for any other event.
  int eventHandler(const cv::Event *event) override;

 private:
  /// Replaces this bullet by a reflected hero bullet flying back up.
  void reflect();
};
