#pragma once
// The hero's super bullet.

#include <vector>

#include "world/Object.h"

/// A super bullet, type "SuperBullet": flies straight through every enemy it
/// meets, killing each, and bounces off walls. Its kills so far and its
/// bounces raise the score of each further kill.
class SuperBullet : public cv::Object {
 public:
  /// Places the super bullet 3 cells right of `launch_point`, speed 1.
  /// The creator sets the velocity.
  explicit SuperBullet(cv::Vector launch_point);
  /// Leaves the world on "cv-out"; bounces and kills on "cv-collision".
  /// Returns 1 for those, 0 for any other event.
  int eventHandler(const cv::Event *event) override;
  /// Walls bounced off so far.
  int getBounces() const;
  /// Enemies passed through so far.
  int getKills() const;

 private:
  /// Whether `enemy` is one more kill: an enemy counts once, and not when
  /// something else killed it.
  bool countsAsKill(const cv::Object *enemy) const;
  int bounces;                   ///< walls bounced off
  int kills;                     ///< enemies passed through
  std::vector<int> killed_ids;   ///< ids of the enemies counted in kills
};
