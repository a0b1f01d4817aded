#pragma once
// The hero's pick-up zone.

#include "world/Object.h"

/// The invisible 3 x 3 zone, type "Pickup", that travels with the hero;
/// ammunition boxes that touch it are collected.
class Pickup : public cv::Object {
 public:
  /// Places the zone at `position`.
  explicit Pickup(cv::Vector position);
  /// Takes "cv-step" and "cv-collision" without effect (returns 1); 0 otherwise.
  int eventHandler(const cv::Event *event) override;
};
