#pragma once
// What every fruit enemy shares.

#include <string>

#include "world/Object.h"

namespace cv {
class EventCollision;
}

/// Base of the five enemy kinds, type "Enemy": a hard object at altitude 2
/// that fires volleys at its own interval, dies to hero bullets and super
/// bullets, kills the hero on contact and removes itself once past a wall.
/// Its destruction may spawn a new enemy and drops an ammunition box while
/// the hero lives.
class MainEnemy : public cv::Object {
 public:
  /// Type "Enemy", altitude 2, position (0, 0), listening to "cv-step".
  MainEnemy();
  /// Tries to spawn a replacement and, while the hero lives, drops an
  /// ammunition box where the enemy was.
  ~MainEnemy() override;
  /// Fires and checks the walls on "cv-step", handles "cv-out" and
  /// "cv-collision". Returns 1 for those, 0 for any other event.
  int eventHandler(const cv::Event *event) override;
  /// Base score for a kill.
  int getPoints() const;
  /// Whether a bullet, a super bullet or the hero has already killed the
  /// enemy; it then waits for its deletion and takes no further hits.
  bool isKilled() const;
  /// Records the kill by the object with id `killer_id`, so the enemy is
  /// scored only once.
  void setKilled(int killer_id);
  /// Id of the object that killed the enemy, 0 while it lives.
  int getKillerId() const;

 protected:
  /// Sets the per-kind parameters: the kind's number in the spawning rule,
  /// the x below which it removes itself, its base score, its explosion
  /// sprite, the steps between volleys and the first bullet's velocity.
  void setKind(int new_kind, float new_left_limit, int new_points, std::string new_explosion_sprite,
               int new_fire_interval = 0, cv::Vector new_bullet_velocity = cv::Vector());
  /// Fires one volley; kinds that fire override it.
  virtual void fireVolley();
  /// What the kind does on each step before the wall check; by default counts
  /// up to the next volley.
  virtual void stepKind();
  /// What the kind does when it leaves the world at the bottom.
  virtual void leaveAtBottom();
  /// Whether the kind turns around on touching enemies, walls and shields.
  virtual bool turnsOnContact() const;
  /// Fires one bullet aimed at every hero, at speed 0.5; none at a hero
  /// exactly on this enemy's position.
  void fireAtHeroes();
  /// The kind's number in the spawning rule.
  int getKind() const;
  cv::Vector bullet_velocity;  ///< velocity of a volley's first bullet

 private:
  /// Applies the collision rules of the kind.
  void collide(const cv::EventCollision *collision);
  /// Marks the enemy for deletion once it is past either wall.
  void checkWalls();
  int fire_interval;             ///< steps between volleys
  int fire_counter;              ///< steps since the last volley
  int points;                    ///< base score for a kill
  int kind;                      ///< number in the spawning rule
  float left_limit;              ///< x below which the enemy removes itself
  std::string explosion_sprite;  ///< sprite of the explosion it leaves
  int killer_id;                 ///< id of the object that killed it, 0 while it lives
};
