#pragma once
// The ammunition a killed enemy drops.

#include "world/Object.h"

/// An ammunition box, type "AmmoBox": falls one cell every five steps and
/// gives every hero one bullet when it touches the hero's pick-up zone,
/// once only. Leaves once collected, out of the world or past a wall.
class AmmoBox : public cv::Object {
 public:
  /// Places the box at `position`, falling at 0.2 cells a step; logs "new ammo box!".
  explicit AmmoBox(cv::Vector position);
  /// Handles "cv-out", "cv-step" and "cv-collision" (returns 1); 0 otherwise.
  int eventHandler(const cv::Event *event) override;

 private:
  /// Gives every hero one bullet and removes the box.
  void collect();
  bool used;  ///< the box has been collected
};
