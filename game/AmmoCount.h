#pragma once
// The bullets counter.

#include "hud/ViewObject.h"

/// The "Bullets" counter at the bottom right: blue while a super shot is
/// possible (more than 2 bullets), yellow otherwise.
class AmmoCount : public cv::ViewObject {
 public:
  /// "Bullets" 2 in yellow at the bottom right, listening to "cv-step".
  AmmoCount();
  /// Takes matching view events (returns 1); recolours on steps (returns 0).
  int eventHandler(const cv::Event *event) override;
};
