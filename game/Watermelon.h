#pragma once
// The watermelon enemy.

#include "MainEnemy.h"

/// A watermelon: drifts straight down and fires three bullets down and to
/// both sides every 45 steps. Leaving at the bottom brings it back at the top.
class Watermelon : public MainEnemy {
 public:
  /// Sets the watermelon up and places it at the top.
  Watermelon();
 private:
  void fireVolley() override;
  void leaveAtBottom() override;
};
