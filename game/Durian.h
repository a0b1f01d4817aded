#pragma once
// The durian enemy.

#include "MainEnemy.h"

/// A durian: drifts slowly down and sideways, turns at walls, shields and
/// other enemies, never fires, and carries a shield three rows below it
/// that takes two bullets. Leaving at the bottom brings it back at the top.
class Durian : public MainEnemy {
 public:
  /// Sets the durian up, places it at the top and gives it its shield.
  Durian();
  /// Removes its shield if the shield is still in the world.
  ~Durian() override;

 private:
  void stepKind() override;
  bool turnsOnContact() const override;
  int shield_id;  ///< id of the shield it was given; the shield may be gone
};
