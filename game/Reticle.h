#pragma once
// The hero's aim point.

#include "world/Object.h"

/// The reticle, type "Reticle": a red "+" that follows the mouse.
class Reticle : public cv::Object {
 public:
  /// A spectral object at altitude 4 in the middle cell of the world,
  /// listening to "cv-mouse".
  Reticle();
  /// Moves to the mouse on a mouse move and returns 1; 0 otherwise.
  int eventHandler(const cv::Event *event) override;
  /// Draws a red "+" at the position; returns the display's result.
  int draw() override;
};
