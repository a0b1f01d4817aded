// The three counters: time points, level-ups and colours.

#include "AmmoBox.h"
#include "AmmoCount.h"
#include "Points.h"
#include "ReflectorDisplay.h"
#include "Tomato.h"
#include "game/GameFixture.h"

using cv::Vector;

namespace {

class CounterTest : public gametest::GameTest {
 protected:
  static void send(const std::string &tag, int value) {
    const cv::EventView view(tag, value, true);
    world().onEvent(&view);
  }
};

TEST_F(CounterTest, PointForEvery30StepsAndOnlyMatchingTags) {
  auto *points = new Points;
  auto *bullets = new AmmoCount;
  auto *power = new ReflectorDisplay;
  EXPECT_EQ(points->getLocation(), cv::TOP_RIGHT);
  EXPECT_EQ(bullets->getLocation(), cv::BOTTOM_RIGHT);
  EXPECT_EQ(power->getLocation(), cv::CENTER_RIGHT);
  EXPECT_EQ(points->getType(), "ViewObject");
  step(29);
  EXPECT_EQ(points->getValue(), 0);
  step();
  EXPECT_EQ(points->getValue(), 1);
  step(30);
  EXPECT_EQ(points->getValue(), 2);
  send("Bullets", 1);
  EXPECT_EQ(points->getValue(), 2);
  EXPECT_EQ(power->getValue(), 30);
  EXPECT_EQ(bullets->getValue(), 3);
}

TEST_F(CounterTest, PassingAHundredSpawnsAndLevelsUpOnTheNextCheckingStep) {
  new Tomato;
  auto *points = new Points;
  send("Points", 95);
  step();
  send("Points", 20);  // 95 -> 115
  EXPECT_EQ(points->getLevel(), 1);
  step();
  EXPECT_EQ(points->getLevel(), 2);
  EXPECT_EQ(timesLogged("spawning new enemy..."), 1);
  EXPECT_EQ(count("Enemy"), 1);

  // Passing on a time-point step is noticed one step later.
  send("Points", 84);  // 199
  step(27);            // to step 29
  EXPECT_EQ(points->getValue(), 199);
  step();              // step 30: 200, no check
  EXPECT_EQ(points->getLevel(), 2);
  step();
  EXPECT_EQ(points->getLevel(), 3);

  // A gain of exactly 100 leaves the remainder alone and is not noticed.
  send("Points", 100);
  step();
  EXPECT_EQ(points->getLevel(), 3);
}

TEST_F(CounterTest, LevelStopsAtSixButLevelUpsStillSpawnWhileFew) {
  auto *points = new Points;
  for (int hundred = 0; hundred < 7; hundred++) {
    send("Points", 60);
    step();
    send("Points", 60);
    step();
  }
  EXPECT_EQ(points->getLevel(), 6);
  EXPECT_EQ(timesLogged("spawning new enemy..."), 8);
  EXPECT_EQ(count("Enemy"), 7) << "spawning stops once more than six enemies exist";
}

TEST_F(CounterTest, ColoursFollowTheValues) {
  auto *bullets = new AmmoCount;
  auto *power = new ReflectorDisplay;
  const struct {
    const char *tag;
    int delta;
    cv::Color bullets_colour, power_colour;
  } changes[] = {
      {"Bullets", 1, cv::BLUE, cv::YELLOW},    // 3 bullets: a super shot is possible
      {"Bullets", -1, cv::YELLOW, cv::YELLOW},
      {"RFL POWER", -31, cv::YELLOW, cv::RED}, // -1
      {"RFL POWER", 30, cv::YELLOW, cv::RED},  // 29: stays red while recharging
      {"RFL POWER", 1, cv::YELLOW, cv::YELLOW},
      {"RFL POWER", -10, cv::YELLOW, cv::YELLOW},
  };
  for (const auto &change : changes) {
    SCOPED_TRACE(std::string(change.tag) + " " + std::to_string(change.delta));
    send(change.tag, change.delta);
    step();
    EXPECT_EQ(bullets->getColor(), change.bullets_colour);
    EXPECT_EQ(power->getColor(), change.power_colour);
  }
}

TEST_F(CounterTest, AmmoBoxCollectedExactlyOnceByThePickupZone) {
  auto *hero = new Tomato;  // pick-up zone: cells 39 to 42, rows 17 to 20
  auto *bullets = new AmmoCount;
  auto *box = new AmmoBox(Vector(30, 16));
  world().moveObject(box, Vector(30, 18));
  EXPECT_EQ(hero->getAmmo(), 2) << "only the pick-up zone collects";
  box->setPosition(Vector(40, 15.9f));
  step(1);
  EXPECT_EQ(hero->getAmmo(), 2);
  step(4);  // falls into the zone
  EXPECT_EQ(hero->getAmmo(), 3);
  EXPECT_EQ(bullets->getValue(), 3);
  EXPECT_EQ(timesLogged("ammo count: 2"), 1);
  EXPECT_EQ(count("AmmoBox"), 0);

  // Touching the zone twice before its deletion collects once.
  auto *second = new AmmoBox(Vector(40, 15.9f));
  world().moveObject(second, Vector(40, 17));
  world().moveObject(second, Vector(40, 18));
  EXPECT_EQ(hero->getAmmo(), 4);
  EXPECT_EQ(timesLogged("ammo count: 3"), 1);
}

TEST_F(CounterTest, AmmoBoxLeavesOutsideThePlayField) {
  new AmmoBox(Vector(60, 5));
  new AmmoBox(Vector(1, 5));
  new AmmoBox(Vector(20, 23.5f));
  step();
  EXPECT_EQ(count("AmmoBox"), 1);
  step(5);
  EXPECT_EQ(count("AmmoBox"), 0);
}

}  // namespace
