// The hero: shots and their costs, the reflector's states and power, and
// movement within the lower half.

#include "AmmoCount.h"
#include "Bullet.h"
#include "ReflectorDisplay.h"
#include "Reticle.h"
#include "SuperBullet.h"
#include "Tomato.h"
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

}  // namespace
