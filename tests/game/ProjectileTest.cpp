// Bullets, super bullets and enemy bullets: scoring of kills, shields,
// walls and the reflector.

#include "Bullet.h"
#include "EnemyBullet.h"
#include "Explosion.h"
#include "Grape.h"
#include "Lemon.h"
#include "Points.h"
#include "Reflector.h"
#include "Shield.h"
#include "SuperBullet.h"
#include "Wall.h"
#include "Watermelon.h"
#include "game/GameFixture.h"

using cv::Vector;

namespace {

class ProjectileTest : public gametest::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    points = new Points;
  }

  /// `enemy` held still at `where`.
  template <typename T>
  T *enemyAt(Vector where) {
    T *enemy = new T;
    enemy->setPosition(where);
    enemy->setVelocity(Vector());
    return enemy;
  }

  /// A bullet at `where` that has bounced off a wall `bounces` times.
  Bullet *bulletAt(Vector where, bool reflected, int bounces) {
    auto *bullet = new Bullet(Vector(where.getX() - 3, where.getY()), reflected);
    Wall *wall = new Wall(Vector(where.getX(), where.getY() + 5));
    for (int i = 0; i < bounces; i++) {
      world().moveObject(bullet, wall->getPosition());
      bullet->setPosition(where);
    }
    world().markForDelete(wall);
    return bullet;
  }

  Points *points = nullptr;  ///< the score counter
};

TEST_F(ProjectileTest, BulletKillScoresBaseTimesReflectedTimesBounces) {
  const struct {
    const char *what;
    int bounces;
    bool reflected;
    int kind;  // 0 grape (10), 1 lemon (20), 2 watermelon (30)
    int expected;
  } kills[] = {
      {"plain grape", 0, false, 0, 10},
      {"lemon after two bounces", 2, false, 1, 60},
      {"reflected lemon after one bounce", 1, true, 1, 80},
      {"reflected watermelon", 0, true, 2, 60},
  };
  for (const auto &kill : kills) {
    SCOPED_TRACE(kill.what);
    world().markForDelete(points);  // a fresh counter, so no hundred is passed and no enemy added
    step();
    points = new Points;
    cv::Object *enemy = kill.kind == 0   ? static_cast<cv::Object *>(enemyAt<Grape>(Vector(20, 8)))
                        : kill.kind == 1 ? static_cast<cv::Object *>(enemyAt<Lemon>(Vector(20, 8)))
                                         : static_cast<cv::Object *>(enemyAt<Watermelon>(Vector(20, 8)));
    Bullet *bullet = bulletAt(Vector(20, 10), kill.reflected, kill.bounces);
    EXPECT_EQ(bullet->getBounces(), kill.bounces);
    world().moveObject(bullet, enemy->getPosition());
    EXPECT_EQ(points->getValue(), kill.expected);
    step();
    EXPECT_EQ(count("Enemy"), 0);
    EXPECT_EQ(count("Bullet"), 0);
  }
}

TEST_F(ProjectileTest, EnemyMovingIntoBulletIsScoredOnceEvenWhenTheyMeetAgain) {
  Grape *grape = enemyAt<Grape>(Vector(20, 8));
  Bullet *bullet = bulletAt(Vector(20, 10), false, 0);
  world().moveObject(grape, bullet->getPosition());
  // Both wait for deletion; meeting again in the same update changes nothing.
  world().moveObject(bullet, grape->getPosition());
  world().moveObject(grape, bullet->getPosition());
  EXPECT_EQ(points->getValue(), 10);
  EXPECT_EQ(count("Explosion"), 1);
  step();
  EXPECT_EQ(count("Enemy") + count("Bullet"), 0);
}

TEST_F(ProjectileTest, SuperBulletScoresWithItsKillCountAtEachKill) {
  auto *super_bullet = new SuperBullet(Vector(17, 12));
  Grape *grape = enemyAt<Grape>(Vector(20, 9));
  world().moveObject(super_bullet, grape->getPosition());
  EXPECT_EQ(super_bullet->getKills(), 1);
  EXPECT_EQ(points->getValue(), 20);  // its own kill counted before the grape scores

  // A watermelon moving into it scores before the kill is counted: 2 x 30.
  Watermelon *melon = enemyAt<Watermelon>(Vector(30, 4));
  world().moveObject(melon, super_bullet->getPosition());
  EXPECT_EQ(points->getValue(), 20 + 60);
  EXPECT_EQ(super_bullet->getKills(), 2);
  // Meeting the dying watermelon again neither scores nor counts.
  world().moveObject(super_bullet, melon->getPosition());
  EXPECT_EQ(points->getValue(), 80);
  EXPECT_EQ(super_bullet->getKills(), 2);

  // Moving into a third: kills already 3 when it scores, 4 x 30.
  Watermelon *third = enemyAt<Watermelon>(Vector(30, 4));
  world().moveObject(super_bullet, third->getPosition());
  EXPECT_EQ(points->getValue(), 80 + 120);
  step();
  EXPECT_EQ(count("Enemy"), 0);
  EXPECT_EQ(count("SuperBullet"), 1) << "the super bullet flies on";
}

TEST_F(ProjectileTest, ProjectilesBounceOffWallsAndLeaveOnlyWhenOut) {
  Wall *wall = new Wall(Vector(30, 12));
  wall->setBox(cv::Box(Vector(-0.5f, -5), 1, 10));
  auto *bullet = new Bullet(Vector(26, 12), false);
  bullet->setVelocity(Vector(1, 0));
  auto *enemy_bullet = new EnemyBullet(Vector(29, 10), Vector(0.5f, 0.5f));
  auto *super_bullet = new SuperBullet(Vector(25, 14));
  super_bullet->setVelocity(Vector(0.6f, -0.8f));
  step();  // the bullet and the enemy bullet reach the wall
  EXPECT_EQ(bullet->getVelocity(), Vector(-1, 0));
  EXPECT_EQ(bullet->getBounces(), 1);
  EXPECT_NEAR(enemy_bullet->getVelocity().getX(), -0.7071f, 1e-3);
  EXPECT_NEAR(enemy_bullet->getVelocity().getMagnitude(), 1.0f, 1e-5);
  EXPECT_GT(enemy_bullet->getVelocity().getY(), 0);
  step();
  EXPECT_EQ(super_bullet->getBounces(), 1);
  EXPECT_NEAR(super_bullet->getVelocity().getX(), -0.6f, 1e-5);
  EXPECT_NEAR(super_bullet->getVelocity().getY(), -0.8f, 1e-5);

  EXPECT_EQ(count("Bullet"), 1);
  bullet->setPosition(Vector(0.6f, 12));
  step();
  EXPECT_EQ(count("Bullet"), 1) << "still touching the world";
  step(2);
  EXPECT_EQ(count("Bullet"), 0);
}

TEST_F(ProjectileTest, ShieldTakesTwoBulletsWhicheverMoves) {
  auto *shield = new Shield(Vector(20, 7));  // placed at (20, 10)
  auto *first = new Bullet(Vector(17, 13), false);
  world().moveObject(first, shield->getPosition());
  // The shield moves into the absorbed bullet before it is gone: counted once.
  world().moveObject(shield, Vector(20, 11));
  EXPECT_EQ(shield->getHitsLeft(), 1);
  step();
  EXPECT_EQ(count("Bullet"), 0);
  EXPECT_EQ(count("Shield"), 1);

  // The shield moving into the second bullet takes it as a shield does.
  auto *second = new Bullet(Vector(17, 12), false);
  world().moveObject(shield, second->getPosition());
  EXPECT_EQ(shield->getHitsLeft(), 0);
  EXPECT_EQ(count("Shield"), 1) << "not at once, but on the next step";
  step();
  EXPECT_EQ(count("Bullet") + count("Shield"), 0);
}

TEST_F(ProjectileTest, SuperBulletRemovesShieldAtOnceAndEnemyBulletsPassIt) {
  auto *shield = new Shield(Vector(20, 7));
  auto *enemy_bullet = new EnemyBullet(Vector(20, 8), Vector(0, 0.5f));
  world().moveObject(enemy_bullet, shield->getPosition());
  EXPECT_EQ(shield->getHitsLeft(), 2);
  auto *super_bullet = new SuperBullet(Vector(17, 12));
  world().moveObject(super_bullet, shield->getPosition());
  step();
  EXPECT_EQ(count("Shield"), 0);
  EXPECT_EQ(count("SuperBullet"), 1);
  EXPECT_EQ(count("EnemyBullet"), 1);
}

TEST_F(ProjectileTest, ReflectorTurnsEnemyBulletIntoOneReflectedBullet) {
  auto *reflector = new Reflector(Vector(17, 15));  // placed at (20, 15)
  EXPECT_EQ(reflector->getPosition(), Vector(20, 15));
  auto *enemy_bullet = new EnemyBullet(Vector(20, 13.5f), Vector(0.3f, 0.5f));
  step();
  step();
  const std::vector<Bullet *> bullets = all<Bullet>();
  ASSERT_EQ(bullets.size(), 1u);
  EXPECT_TRUE(bullets[0]->isReflected());
  EXPECT_NEAR(bullets[0]->getVelocity().getX(), 0.3f, 1e-5);
  EXPECT_NEAR(bullets[0]->getVelocity().getY(), -0.5f, 1e-5);
  EXPECT_EQ(count("EnemyBullet"), 0);
  (void)enemy_bullet;
}

}  // namespace
