#pragma once
// The reflector power counter.

#include "hud/ViewObject.h"

/// The "RFL POWER" counter at the centre right: turns red when the power
/// goes below zero and yellow again once it is back at full.
class ReflectorDisplay : public cv::ViewObject {
 public:
  /// "RFL POWER" 30 in yellow at the centre right, listening to "cv-step".
  ReflectorDisplay();
  /// Takes matching view events (returns 1); recolours on steps (returns 0).
  int eventHandler(const cv::Event *event) override;
};
