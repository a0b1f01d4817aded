#pragma once
// The durian's shield.

#include "world/Object.h"

/// A shield, type "Shield", carried below a durian: it absorbs two hero
/// bullets and disappears on the step after the second; a super bullet
/// removes it at once. Enemy bullets pass through.
class Shield : public cv::Object {
 public:
  /// Places the shield 3 rows below `position`.
  explicit Shield(cv::Vector position);
  /// Handles "cv-step" and "cv-collision" (returns 1); 0 otherwise.
  int eventHandler(const cv::Event *event) override;
  /// Bullets it can still take.
  int getHitsLeft() const;

 private:
  int hits_left;       ///< bullets it can still take
  int last_bullet_id;  ///< the bullet that hit it last, counted once
};
