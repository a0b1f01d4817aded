#pragma once
// The player's hero.

#include "world/Object.h"

namespace cv {
class EventKeyboard;
}
class Pickup;
class Reflector;
class Reticle;

/// The hero, type "Hero": walks the lower half of the play field with W, A,
/// S and D, fires bullets at the reticle with the left mouse button and a
/// super bullet with the right one, and raises its reflector with the space
/// bar. Q ends the program. Its destruction starts the game-over screen.
class Tomato : public cv::Object {
 public:
  /// Places the hero at the middle of the world's width, three quarters
  /// down, and creates its reticle and pick-up zone.
  Tomato();
  /// Plays "player-death-sound" and shows the game-over screen.
  ~Tomato() override;
  /// Handles keyboard, mouse, step, collision and out events (returns 1);
  /// 0 for any other.
  int eventHandler(const cv::Event *event) override;
  /// Fires one bullet toward `target`, when the cooldown has run out and a
  /// bullet is left. A target exactly on the hero fires nothing.
  void fire(cv::Vector target);
  /// Fires a super bullet toward `target` with all bullets (at least 3) and
  /// 60 reflector power. A target exactly on the hero fires nothing.
  void superFire(cv::Vector target);
  /// Bullets left.
  int getAmmo() const;
  /// Adds `amount` bullets.
  void addAmmo(int amount);
  /// Current reflector power; may be negative.
  int getReflectorPower() const;
  /// Whether the reflector power has yet to recharge to full.
  bool isReflectorDepleted() const;
  /// Whether the reflector is up.
  bool isReflectorOn() const;
  /// The hero's reticle.
  Reticle *getReticle() const;

 private:
  /// Counts down the cooldowns, drains or recharges the reflector and moves.
  void step();
  /// Moves by (dx, dy) when the move cooldown has run out, staying in the
  /// lower half above the last row with its picture clear of the walls;
  /// the reflector and pick-up zone follow.
  void move(int dx, int dy);
  /// Whether the hero's picture, drawn at `where`, would overlap a wall.
  bool pictureMeetsWall(cv::Vector where) const;
  /// Applies the movement, reflector and quit keys.
  void keyboard(const cv::EventKeyboard *event);
  /// Raises or lowers the reflector.
  void toggleReflector();
  /// Takes the reflector down.
  void dropReflector();
  /// Sends `value` to the counter labelled `tag`.
  void report(const char *tag, int value) const;
  /// Unit vector toward `target`, or zero when the target is on the hero.
  cv::Vector aimAt(cv::Vector target) const;
  Reticle *reticle;      ///< aim point for both kinds of shot
  int ammo;              ///< bullets left
  bool rfl_depleted;     ///< power went below zero and has not recharged to full
  int rfl_max;           ///< full reflector power
  int rfl_power;         ///< current reflector power; may be negative
  int fire_slowdown;     ///< steps between two ordinary shots
  int fire_countdown;    ///< steps until the next ordinary shot is allowed
  int move_countdown;    ///< steps until the next move is allowed
  int move_slowdown;     ///< steps between two moves
  bool reflector_on;     ///< a reflector is up
  int move_dy;           ///< vertical move per move step
  int move_dx;           ///< horizontal move per move step
  Pickup *pickup;        ///< the hero's pick-up zone
  Reflector *reflector;  ///< the reflector, valid while reflector_on
};
