#pragma once
// The hero's reflector.

#include "world/Object.h"

/// The reflector, type "Reflector", that the hero raises with the space bar:
/// enemy bullets that touch it come back as the hero's own.
class Reflector : public cv::Object {
 public:
  /// Places the reflector 3 cells right of `position`; the hero's next move
  /// brings it onto the hero.
  explicit Reflector(cv::Vector position);
  /// Takes "cv-step" and "cv-collision" without effect (returns 1); 0 otherwise.
  int eventHandler(const cv::Event *event) override;
};
