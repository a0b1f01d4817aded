#pragma once
// The grape enemy.

#include "MainEnemy.h"

/// A grape: drifts straight down and, while in the upper three quarters of
/// the world, fires one bullet at the hero every 30 steps. Leaving at the
/// bottom brings it back at the top.
class Grape : public MainEnemy {
 public:
  /// Sets the grape up and places it at the top.
  Grape();
  /// Notes every departure from the world in the log, then handles the
  /// event as every enemy does.
  int eventHandler(const cv::Event *event) override;
 private:
  void fireVolley() override;
  void leaveAtBottom() override;
};
