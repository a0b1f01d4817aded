#pragma once
// What a killed enemy leaves behind.

#include <string>

#include "world/Object.h"

/// An explosion, type "Explosion": plays its sprite once, one frame per
/// step, then removes itself.
class Explosion : public cv::Object {
 public:
  /// Takes the sprite labelled `sprite_label` and plays "explosion-sound".
  /// The creator places it.
  explicit Explosion(const std::string &sprite_label);
  /// Counts down on "cv-step" and removes itself when done. Returns 1 for
  /// step events, 0 for any other.
  int eventHandler(const cv::Event *event) override;

 private:
  int time_to_live;  ///< steps it still stays
};
