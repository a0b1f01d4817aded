// The hello example: the hero walks while a key is held, stops at the rock
// and counts the bump, and Q ends the game.
#include "ExampleFixture.h"
#include "Hero.h"
#include "Rock.h"

namespace {

using cv::Vector;
using exampletest::injectKey;

class HelloTest : public exampletest::ExampleTest {
 protected:
  void SetUp() override {
    ExampleTest::SetUp();
    loadSprite(HELLO_SPRITES, "hero");
    loadSprite(HELLO_SPRITES, "rock");
    hero = new Hero(Vector(20, 12));
    rock = new Rock(Vector(50, 12));
    bumps = counter("Bumps");
  }
  Hero *hero = nullptr;
  Rock *rock = nullptr;
  cv::ViewObject *bumps = nullptr;
};

TEST_F(HelloTest, HeroWalksToTheRockStopsAndCountsOneBump) {
  exampletest::Script script(200);
  script.at(1, [] { injectKey(cv::Keyboard::D, cv::KEY_PRESSED); });
  cv::GameManager::getInstance().run();

  // The hero (3 wide) stops half a step short of touching the rock (5 wide):
  // the next step would make the boxes meet, and touching boxes collide.
  EXPECT_EQ(hero->getPosition(), Vector(45.5f, 12));
  EXPECT_EQ(hero->getVelocity(), Vector());
  EXPECT_EQ(bumps->getValue(), 1);
  EXPECT_EQ(rock->getPosition(), Vector(50, 12));
}

TEST_F(HelloTest, ReleasingTheKeyStopsTheHero) {
  exampletest::Script script(40);
  script.at(1, [] { injectKey(cv::Keyboard::LEFT, cv::KEY_PRESSED); });
  script.at(9, [] { injectKey(cv::Keyboard::LEFT, cv::KEY_RELEASED); });
  cv::GameManager::getInstance().run();

  // Walked in the updates of steps 1 to 8, half a cell each.
  EXPECT_EQ(hero->getPosition(), Vector(16, 12));
  EXPECT_EQ(bumps->getValue(), 0);
}

TEST_F(HelloTest, PressAndReleaseInOneStepDoNotMoveTheHero) {
  exampletest::Script script(10);
  script.at(1, [] {
    injectKey(cv::Keyboard::S, cv::KEY_PRESSED);
    injectKey(cv::Keyboard::S, cv::KEY_RELEASED);
  });
  cv::GameManager::getInstance().run();
  EXPECT_EQ(hero->getPosition(), Vector(20, 12));
}

TEST_F(HelloTest, QEndsTheGame) {
  exampletest::Script script(1000);
  script.at(3, [] { injectKey(cv::Keyboard::Q, cv::KEY_PRESSED); });
  cv::GameManager::getInstance().run();
  EXPECT_EQ(script.steps_seen, 3);
}

}  // namespace
