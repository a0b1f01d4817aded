// Enemies: the spawning rule, placement at the top, volleys, collisions,
// leaving the world, and what their destruction leaves behind.

#include <cstdlib>
#include <typeinfo>

#include "AmmoBox.h"
#include "Banana.h"
#include "Bullet.h"
#include "Durian.h"
#include "EnemyBullet.h"
#include "Grape.h"
#include "Lemon.h"
#include "Points.h"
#include "Shield.h"
#include "Tomato.h"
#include "Watermelon.h"
#include "enemyRules.h"
#include "game/GameFixture.h"

using cv::Vector;

namespace {

class EnemyTest : public gametest::GameTest {
 protected:
  /// `enemy` held still at `where`.
  template <typename T>
  static T *still(T *enemy, Vector where) {
    enemy->setPosition(where);
    enemy->setVelocity(Vector());
    return enemy;
  }

  /// Seeds the generator so that the next rand() % 5 gives `draw`.
  static void seedForDraw(int draw) {
    for (unsigned seed = 1;; seed++) {
      srand(seed);
      if (rand() % 5 == draw) {
        srand(seed);
        return;
      }
    }
  }

  /// Readies a fresh game with a points counter at `level`, a hero and
  /// `enemies` lemons: the level is raised by passing hundreds before the
  /// hero exists, and the enemies that brings are cleared.
  void arrange(int level, int enemies) {
    auto *points = new Points;
    while (points->getLevel() < level) {
      points->setValue(points->getValue() + 95);
      step();
    }
    for (MainEnemy *enemy : all<MainEnemy>())
      delete enemy;
    new Tomato;
    for (int i = 0; i < enemies; i++)
      still(new Lemon, Vector(static_cast<float>(10 + 8 * i), 3));
  }

  /// The classes of the enemies in the world, by name.
  static std::vector<std::string> kinds() {
    std::vector<std::string> names;
    for (MainEnemy *enemy : all<MainEnemy>())
      names.push_back(dynamic_cast<Grape *>(enemy)        ? "Grape"
                      : dynamic_cast<Banana *>(enemy)     ? "Banana"
                      : dynamic_cast<Lemon *>(enemy)      ? "Lemon"
                      : dynamic_cast<Watermelon *>(enemy) ? "Watermelon"
                                                          : "Durian");
    return names;
  }
};

TEST_F(EnemyTest, SpawnRuleByDrawAndEnemyCount) {
  using Names = std::vector<std::string>;
  const struct {
    int draw, exclude, level, enemies;
    Names added;
  } cases[] = {
      {0, 4, 1, 1, {"Banana"}},
      {1, 4, 1, 1, {"Watermelon"}},
      {2, 4, 1, 1, {"Lemon"}},
      {3, 4, 1, 1, {"Grape"}},  // a durian needs two enemies on the field
      {3, 4, 2, 2, {"Durian"}},
      {4, 0, 1, 1, {"Grape", "Grape"}},
      {2, 2, 1, 1, {"Grape"}},  // the excluded kind gives a grape
      {4, 4, 1, 1, {"Grape"}},
      {0, 4, 1, 0, {"Banana"}},
      {0, 4, 1, 2, {}},  // more enemies than the level allows
  };
  for (const auto &rule : cases) {
    SCOPED_TRACE("draw " + std::to_string(rule.draw) + ", exclude " + std::to_string(rule.exclude) + ", level " +
                 std::to_string(rule.level) + ", " + std::to_string(rule.enemies) + " enemies");
    engine.stop();
    ASSERT_EQ(engine.start(), 0);
    arrange(rule.level, rule.enemies);
    const Names before = kinds();
    seedForDraw(rule.draw);
    spawnEnemy(rule.exclude);
    Names added = kinds();
    added.erase(added.begin(), added.begin() + static_cast<long>(before.size()));
    EXPECT_EQ(added, rule.added);
    EXPECT_EQ(timesLogged("current enemy count: " + std::to_string(rule.enemies)), rule.added.empty() ? 0 : 1);
  }
}

TEST_F(EnemyTest, NoSpawnWithoutHeroOrCounter) {
  new Points;
  spawnEnemy(GRAPE);
  EXPECT_EQ(count("Enemy"), 0);
  auto *hero = new Tomato;
  world().markForDelete(all<Points>()[0]);
  step();
  spawnEnemy(GRAPE);
  EXPECT_EQ(count("Enemy"), 0);
  (void)hero;
}

TEST_F(EnemyTest, PlacedAtTopPushedUpwardWhenCrowdedAndSafeInNarrowWorlds) {
  // More grapes than the 42 columns by 3 rows of spots at the top: whatever
  // the C library's random sequence, some must meet another and move up.
  for (int i = 0; i < 42 * 3 + 1; i++) {
    auto *grape = new Grape;
    const Vector at = grape->getPosition();
    EXPECT_EQ(at.getX(), static_cast<float>(static_cast<int>(at.getX())));
    EXPECT_TRUE((at.getX() >= 7 && at.getX() <= 48) || (at.getX() >= -13 && at.getX() < 28)) << at.getX();
    EXPECT_LE(at.getY(), 2);
  }
  // Some had to move up past the top row.
  float highest = 0;
  for (Grape *grape : all<Grape>())
    highest = std::min(highest, grape->getPosition().getY());
  EXPECT_LT(highest, 0);

  for (float width : {10.0f, 10.5f, 4.0f, 0.0f}) {
    world().setBoundary(cv::Box(Vector(), width, 24));
    auto *lemon = new Lemon;  // the column draw would divide by zero here
    EXPECT_EQ(lemon->getPosition().getX(), 7 > width * 3 / 5 ? -13 : 7);
  }
}

TEST_F(EnemyTest, VolleysOfEachKind) {
  auto *hero = new Tomato;  // at (40, 18)
  still(new Lemon, Vector(20, 5));
  step(39);
  EXPECT_EQ(count("EnemyBullet"), 0);
  step();
  std::vector<EnemyBullet *> shots = all<EnemyBullet>();
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_TRUE(near(shots[0]->getVelocity(), Vector(0.35f, 0.5f)));
  EXPECT_TRUE(near(shots[1]->getVelocity(), Vector(-0.35f, 0.5f)));
  for (EnemyBullet *shot : shots)
    delete shot;
  for (MainEnemy *enemy : all<MainEnemy>())
    delete enemy;

  // A banana aims at the hero; one on the hero's very spot fires nothing.
  still(new Banana, Vector(40, 8));
  still(new Banana, hero->getPosition())->setSolidness(cv::SPECTRAL);  // would touch the hero otherwise
  step(30);
  shots = all<EnemyBullet>();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_NEAR(shots[0]->getVelocity().getX(), 0, 1e-5);
  EXPECT_NEAR(shots[0]->getVelocity().getY(), 0.5f, 1e-5);
  for (EnemyBullet *shot : shots)
    delete shot;
  for (MainEnemy *enemy : all<MainEnemy>())
    delete enemy;

  // A grape fires only from the upper three quarters; a watermelon fires three.
  still(new Grape, Vector(20, 18));
  still(new Watermelon, Vector(30, 5));
  step(45);
  shots = all<EnemyBullet>();
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_TRUE(near(shots[0]->getVelocity(), Vector(0, 0.5f)));
  EXPECT_TRUE(near(shots[1]->getVelocity(), Vector(-0.25f, 0.5f)));
  EXPECT_TRUE(near(shots[2]->getVelocity(), Vector(0.25f, 0.5f)));
}

TEST_F(EnemyTest, CollisionsLookAtTheOtherObject) {
  auto *hero = new Tomato;
  Grape *grape = still(new Grape, Vector(20, 5));
  Grape *other_grape = still(new Grape, Vector(20, 8));
  world().moveObject(other_grape, grape->getPosition());
  EXPECT_EQ(other_grape->getPosition(), Vector(20, 8)) << "hard enemies block each other";
  Banana *banana = still(new Banana, Vector(30, 5));
  banana->setVelocity(Vector(0.5f, 0.1f));
  Banana *other_banana = still(new Banana, Vector(32, 5));
  other_banana->setVelocity(Vector(-0.5f, 0.1f));
  world().moveObject(banana, other_banana->getPosition());
  EXPECT_EQ(banana->getVelocity().getX(), -0.5f);
  EXPECT_EQ(other_banana->getVelocity().getX(), 0.5f);
  step();
  EXPECT_EQ(count("Enemy"), 4) << "no enemy hurt another";

  // A lemon moving onto the hero kills both.
  Lemon *lemon = still(new Lemon, Vector(40, 16));
  world().moveObject(lemon, Vector(40, 17.2f));
  step();
  EXPECT_EQ(count("Hero"), 0);
  EXPECT_EQ(all<Lemon>().size(), 0u);
  (void)hero;
}

TEST_F(EnemyTest, LeavingAtTheBottom) {
  new Tomato;
  new Points;
  Banana *banana = still(new Banana, Vector(20, 24));
  Grape *grape = still(new Grape, Vector(30, 24));
  banana->setVelocity(Vector(0, 1));
  grape->setVelocity(Vector(0, 1));
  step();
  EXPECT_EQ(all<Banana>().size(), 0u) << "a banana leaving at the bottom is destroyed";
  EXPECT_LE(grape->getPosition().getY(), 2) << "a grape comes back at the top";
  EXPECT_EQ(timesLogged("stimmy"), 1);
  EXPECT_EQ(timesLogged("stimulus package"), 1);
  EXPECT_GE(timesLogged("new ammo box!"), 1);
}

TEST_F(EnemyTest, DestroyedEnemyDropsAmmoOnlyWhileTheHeroLives) {
  Lemon *lemon = still(new Lemon, Vector(20, 5));
  world().markForDelete(lemon);
  step();
  EXPECT_EQ(count("AmmoBox"), 0);
  new Tomato;
  lemon = still(new Lemon, Vector(20, 5));
  world().markForDelete(lemon);
  step();
  ASSERT_EQ(count("AmmoBox"), 1);
  EXPECT_EQ(all<AmmoBox>()[0]->getPosition(), Vector(20, 5));
}

TEST_F(EnemyTest, DurianCarriesItsShieldAndRemovesItOnlyIfStillThere) {
  Durian *durian = new Durian;
  ASSERT_EQ(all<Shield>().size(), 1u);
  Shield *shield = all<Shield>()[0];
  EXPECT_EQ(shield->getPosition(), durian->getPosition() + Vector(0, 6));
  step();
  EXPECT_EQ(shield->getPosition(), durian->getPosition() + Vector(0, 3)) << "re-attached on its step";
  EXPECT_EQ(shield->getVelocity(), durian->getVelocity());

  // The shield goes first; the durian's later destruction must not touch it.
  world().markForDelete(shield);
  step();
  world().markForDelete(durian);
  step();
  EXPECT_EQ(count("Enemy") + count("Shield"), 0);

  // A durian destroyed with its shield takes the shield along.
  new Durian;
  world().markForDelete(all<Durian>()[0]);
  step();
  EXPECT_EQ(count("Shield"), 0);
}

}  // namespace
