#pragma once
// The lemon enemy.

#include "MainEnemy.h"

/// A lemon: drifts straight down and fires two bullets down-left and
/// down-right every 40 steps. Leaving at the bottom brings it back at the top.
class Lemon : public MainEnemy {
 public:
  /// Sets the lemon up and places it at the top.
  Lemon();
 private:
  void fireVolley() override;
};
