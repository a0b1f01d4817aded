#pragma once
// The rules enemies share: spawning, placing, scoring kills, and looking
// the world over for the hero and other objects by type.

#include <string>

namespace cv {
class EventCollision;
class Object;
}  // namespace cv

/// Each enemy kind's number in the spawning rule.
enum EnemyKind : int {
  BANANA = 0,
  WATERMELON = 1,
  LEMON = 2,
  DURIAN = 3,
  GRAPE = 4,
};

/// Number of objects of `type` in the world, inactive ones included.
int countOfType(const std::string &type);

/// Whether some object of type "Hero" is in the world.
bool heroExists();

/// The object of `collision` that is not `self` (the first when neither is).
cv::Object *otherObject(const cv::EventCollision *collision, const cv::Object *self);

/// Whether either object of `collision` has type `type`.
bool eitherIs(const cv::EventCollision *collision, const std::string &type);

/// Adds enemies while the field holds no more than the points counter's
/// level: one of a kind drawn at random, a grape when the draw gives
/// `exclude`, two grapes on a draw of 4. Nothing without a hero or counter.
void spawnEnemy(int exclude);

/// Puts `enemy` at a free spot at the top of the play field, pushed upward
/// while the spot is taken.
void placeAtTop(cv::Object *enemy);

/// Scores an enemy killed by a hero bullet, marks both for deletion and
/// leaves an explosion with sprite `explosion_sprite` where the enemy was.
void hitByBullet(const cv::EventCollision *collision, int points, const std::string &explosion_sprite);

/// Scores an enemy killed by a super bullet, which flies on, marks the
/// enemy for deletion and leaves an explosion where it was.
void hitBySuperBullet(const cv::EventCollision *collision, int points, const std::string &explosion_sprite);
