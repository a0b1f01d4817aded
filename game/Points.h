#pragma once
// The score counter.

#include "hud/ViewObject.h"

/// The "Points" counter at the top right: adds a point every 30 steps, and
/// each time the score passes a multiple of 100 brings in an extra enemy
/// and lets the game keep one more enemy on the field, up to six.
class Points : public cv::ViewObject {
 public:
  /// "Points" 0 in yellow at the top right, level 1, listening to "cv-step".
  Points();
  /// Takes matching view events; on steps adds the time point or checks
  /// for a passed hundred. Returns 1 for a view event taken and for a step
  /// that added the time point, 0 otherwise.
  int eventHandler(const cv::Event *event) override;
  /// Adds one enemy of a random kind while no more than the maximum level of
  /// enemies exist. Logs "spawning new enemy...".
  void spawnNewEnemy();
  /// The largest enemy count at which a replacement still brings a new enemy.
  int getLevel() const;

 private:
  int level;           ///< largest enemy count at which spawning still adds one
  int max_level;       ///< ceiling of level
  int last_remainder;  ///< the value modulo 100 at the previous check
};
