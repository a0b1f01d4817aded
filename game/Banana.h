#pragma once
// The banana enemy.

#include "MainEnemy.h"

/// A banana: drifts down and sideways, turns at walls, shields and other
/// enemies, and fires one bullet at the hero every 30 steps. Leaving at the
/// bottom destroys it.
class Banana : public MainEnemy {
 public:
  /// Sets the banana up and places it at the top.
  Banana();
 private:
  void fireVolley() override;
  void leaveAtBottom() override;
  bool turnsOnContact() const override;
};
