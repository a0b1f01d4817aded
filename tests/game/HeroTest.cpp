// The hero: shots and their costs, the reflector's states and power, and
// movement within the lower half and between the walls.

#include "AmmoCount.h"
#include "Bullet.h"
#include "ReflectorDisplay.h"
#include "Reticle.h"
#include "SuperBullet.h"
#include "Tomato.h"
#include "Wall.h"
#include "game/GameFixture.h"

using cv::Vector;

namespace {

class HeroTest : public gametest::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    hero = new Tomato;
    bullets = new AmmoCount;
    power = new ReflectorDisplay;
  }

  void leftClick() { mouse(hero, cv::CLICKED, cv::Mouse::LEFT_BUTTON); }
  void rightClick() { mouse(hero, cv::CLICKED, cv::Mouse::RIGHT_BUTTON); }
  void aimAt(Vector where) { mouse(hero->getReticle(), cv::MOVED, cv::Mouse::MOUSE_BUTTON_UNDEFINED, where); }

  Tomato *hero = nullptr;               ///< the hero, at (40, 18) in the 80 x 24 world
  AmmoCount *bullets = nullptr;         ///< "Bullets" counter
  ReflectorDisplay *power = nullptr;    ///< "RFL POWER" counter
};

TEST_F(HeroTest, StartsCentredWithReticlePickupAndOneCellBox) {
  EXPECT_EQ(hero->getPosition(), Vector(40, 18));
  EXPECT_EQ(hero->getReticle()->getPosition(), Vector(40, 12));
  EXPECT_EQ(count("Pickup"), 1);
  EXPECT_EQ(hero->getBox(), cv::Box(Vector(-0.5f, -0.5f), 1, 1));
  EXPECT_EQ(hero->getAmmo(), 2);
  EXPECT_EQ(hero->getReflectorPower(), 30);
}

TEST_F(HeroTest, FiresAfterCooldownWhileBulletsLast) {
  aimAt(Vector(40, 2));
  leftClick();
  EXPECT_EQ(count("Bullet"), 0) << "the first shot waits 15 steps";
  step(15);
  leftClick();
  leftClick();  // within the cooldown
  ASSERT_EQ(count("Bullet"), 1);
  const Bullet *bullet = all<Bullet>()[0];
  EXPECT_EQ(bullet->getPosition(), Vector(41, 17));
  EXPECT_FALSE(bullet->isReflected());
  EXPECT_NEAR(bullet->getVelocity().getY(), -1, 1e-5);
  EXPECT_EQ(bullets->getValue(), 1);
  step(15);
  leftClick();
  EXPECT_EQ(bullets->getValue(), 0);
  step(15);
  leftClick();
  EXPECT_EQ(hero->getAmmo(), 0);
  EXPECT_EQ(bullets->getValue(), 0) << "no event without ammunition";
}

TEST_F(HeroTest, TargetOnTheHeroFiresNothingAndSpendsNothing) {
  hero->addAmmo(3);
  step(15);
  aimAt(hero->getPosition());
  leftClick();
  rightClick();
  EXPECT_EQ(count("Bullet") + count("SuperBullet"), 0);
  EXPECT_EQ(hero->getAmmo(), 5);
  EXPECT_EQ(hero->getReflectorPower(), 30);
  aimAt(Vector(60, 18));  // the cooldown was not spent either
  leftClick();
  EXPECT_EQ(count("Bullet"), 1);
}

TEST_F(HeroTest, SuperShotCostsAllBulletsAnd60PowerThenRecharges) {
  rightClick();
  EXPECT_EQ(count("SuperBullet"), 0) << "two bullets are not enough";
  hero->addAmmo(1);
  bullets->setValue(3);
  rightClick();  // no cooldown applies
  ASSERT_EQ(count("SuperBullet"), 1);
  EXPECT_EQ(all<SuperBullet>()[0]->getPosition(), Vector(41, 17));
  EXPECT_EQ(hero->getAmmo(), 0);
  EXPECT_EQ(bullets->getValue(), 0);
  EXPECT_EQ(power->getValue(), -30);
  EXPECT_TRUE(hero->isReflectorDepleted());

  step();
  EXPECT_EQ(power->getColor(), cv::RED);
  key(hero, cv::Keyboard::SPACE);
  EXPECT_FALSE(hero->isReflectorOn()) << "no reflector while recharging";
  step(58);
  EXPECT_EQ(hero->getReflectorPower(), 29);
  EXPECT_TRUE(hero->isReflectorDepleted());
  EXPECT_EQ(power->getColor(), cv::RED);
  step();
  EXPECT_EQ(hero->getReflectorPower(), 30);
  EXPECT_FALSE(hero->isReflectorDepleted());
  step();
  EXPECT_EQ(power->getValue(), 30);
  EXPECT_EQ(power->getColor(), cv::YELLOW);
}

TEST_F(HeroTest, ReflectorDrainsTo30BelowThenDropsAndRecharges) {
  key(hero, cv::Keyboard::SPACE);
  ASSERT_TRUE(hero->isReflectorOn());
  EXPECT_EQ(count("Reflector"), 1);
  step(30);
  EXPECT_EQ(hero->getReflectorPower(), 0);
  EXPECT_FALSE(hero->isReflectorDepleted());
  step();
  EXPECT_TRUE(hero->isReflectorDepleted());
  step(29);
  EXPECT_FALSE(hero->isReflectorOn()) << "dropped at -30";
  EXPECT_EQ(hero->getReflectorPower(), -29) << "and recharging in the same step";
  EXPECT_EQ(power->getValue(), -29);
  EXPECT_EQ(count("Reflector"), 0);
  step(59);
  EXPECT_EQ(hero->getReflectorPower(), 30);
  EXPECT_FALSE(hero->isReflectorDepleted());
  key(hero, cv::Keyboard::SPACE);
  EXPECT_TRUE(hero->isReflectorOn());
}

TEST_F(HeroTest, ReflectorTakenDownBelowZeroStaysBlockedUntilFull) {
  key(hero, cv::Keyboard::SPACE);
  step(35);
  key(hero, cv::Keyboard::SPACE, cv::KEY_RELEASED);
  EXPECT_TRUE(hero->isReflectorOn()) << "a release does not toggle";
  key(hero, cv::Keyboard::SPACE);
  EXPECT_FALSE(hero->isReflectorOn());
  EXPECT_EQ(hero->getReflectorPower(), -5);
  step(34);
  key(hero, cv::Keyboard::SPACE);
  EXPECT_FALSE(hero->isReflectorOn());
  step();
  key(hero, cv::Keyboard::SPACE);
  EXPECT_TRUE(hero->isReflectorOn());
}

TEST_F(HeroTest, MovesOneCellEverySecondStepInTheLowerHalfOnScreenCarryingItsZones) {
  key(hero, cv::Keyboard::SPACE);  // a reflector, 3 cells to the right
  key(hero, cv::Keyboard::A);
  key(hero, cv::Keyboard::D);
  step(4);
  EXPECT_EQ(hero->getPosition(), Vector(40, 18)) << "A and D cancel";
  key(hero, cv::Keyboard::D, cv::KEY_RELEASED);
  key(hero, cv::Keyboard::W);
  step(2);
  EXPECT_EQ(hero->getPosition(), Vector(39, 17));
  step(20);
  EXPECT_GT(hero->getPosition().getY(), 12) << "never into the upper half";
  EXPECT_EQ(hero->getPosition().getY(), 13);
  // Nor out of sight at the bottom: row 22 is the lowest of a 24-row world.
  key(hero, cv::Keyboard::W, cv::KEY_RELEASED);
  key(hero, cv::Keyboard::S);
  step(30);  // the reflector, up since the start, lasts 60 steps
  EXPECT_EQ(hero->getPosition().getY(), 22);
  for (const char *zone : {"Reflector", "Pickup"}) {
    const cv::ObjectList list = world().objectsOfType(zone);
    ASSERT_EQ(list.getCount(), 1);
    EXPECT_EQ(cv::ObjectListIterator(&list).currentObject()->getPosition(), hero->getPosition()) << zone;
  }
}

TEST_F(HeroTest, QMarksTheHeroAndEndsTheGame) {
  key(hero, cv::Keyboard::Q);
  EXPECT_TRUE(cv::GameManager::getInstance().getGameOver());
  step();
  EXPECT_EQ(count("Hero"), 0);
  EXPECT_EQ(count("GameOver"), 1);
}

// The hero between the game's two walls, with its real picture and the
// ring of its reflector.
class HeroBetweenWallsTest : public gametest::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    cv::ResourceManager &resources = cv::ResourceManager::getInstance();
    for (const char *name : {"player", "wall", "reflector"})
      ASSERT_EQ(resources.loadSprite(std::string(TOMATO_RUN_DIR) + "/sprites/" + name + "-spr.txt", name), 0) << name;
    left_wall = new Wall(Vector(1, 12));
    right_wall = new Wall(Vector(80.0f * 2 / 3, 12));
    hero = new Tomato;
  }

  /// Holds `key` down for `steps` steps and lets it go.
  void walk(cv::Keyboard::Key direction, int steps) {
    key(hero, direction);
    step(steps);
    key(hero, direction, cv::KEY_RELEASED);
  }

  /// The hero's picture, or the reflector's ring, where it is drawn.
  static cv::Box drawn(const cv::Object *object) {
    const cv::Box picture = object->getAnimation().getBox();
    return cv::Box(picture.getCorner() + object->getPosition(), picture.getHorizontal(), picture.getVertical());
  }
  static float left(const cv::Box &box) { return box.getCorner().getX(); }
  static float right(const cv::Box &box) { return box.getCorner().getX() + box.getHorizontal(); }

  Wall *left_wall = nullptr, *right_wall = nullptr;
  Tomato *hero = nullptr;  ///< starts at (40, 18), its 7-cell picture spanning columns 37 to 43
};

TEST_F(HeroBetweenWallsTest, StopsWithItsPictureInsideTheWallsOnBothSides) {
  key(hero, cv::Keyboard::SPACE);  // the ring goes along
  walk(cv::Keyboard::D, 40);        // 20 moves would take it to column 60
  const cv::Box wall_right = cv::getWorldBox(right_wall), wall_left = cv::getWorldBox(left_wall);
  // Stopped beside the wall: one more column and the picture would be in it.
  EXPECT_LE(right(drawn(hero)), left(wall_right));
  EXPECT_GT(right(drawn(hero)) + 1, left(wall_right));
  EXPECT_EQ(hero->getPosition(), Vector(49, 18));
  const cv::ObjectList rings = world().objectsOfType("Reflector");
  ASSERT_EQ(rings.getCount(), 1);
  const cv::Object *ring = cv::ObjectListIterator(&rings).currentObject();
  EXPECT_LE(right(drawn(ring)), left(wall_right)) << "the ring stays inside too";

  // Pressed against the wall it still walks up and down.
  key(hero, cv::Keyboard::D);
  walk(cv::Keyboard::W, 4);
  key(hero, cv::Keyboard::D, cv::KEY_RELEASED);
  EXPECT_EQ(hero->getPosition(), Vector(49, 16));

  // The ring would run out of power on the long walk and be removed: lower
  // it, and raise it again at the left wall once it has charged up.
  key(hero, cv::Keyboard::SPACE);
  walk(cv::Keyboard::A, 120);
  EXPECT_GE(left(drawn(hero)), right(wall_left));
  EXPECT_LT(left(drawn(hero)) - 1, right(wall_left));
  EXPECT_EQ(hero->getPosition(), Vector(5, 16));
  key(hero, cv::Keyboard::SPACE);
  step(3);  // it settles on the hero
  const cv::ObjectList raised = world().objectsOfType("Reflector");
  ASSERT_EQ(raised.getCount(), 1);
  ring = cv::ObjectListIterator(&raised).currentObject();
  EXPECT_GE(left(drawn(ring)), right(wall_left)) << "the ring stays inside too";
}

}  // namespace
