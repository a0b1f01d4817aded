// The start and game-over screens: starting a game, ending it and starting
// afresh.

#include "AmmoBox.h"
#include "AmmoCount.h"
#include "Bullet.h"
#include "EnemyBullet.h"
#include "GameOver.h"
#include "GameStart.h"
#include "MainEnemy.h"
#include "Points.h"
#include "ReflectorDisplay.h"
#include "SuperBullet.h"
#include "Tomato.h"
#include "game/GameFixture.h"
#include "support/WavFile.h"

using cv::Vector;

namespace {

class ScreenTest : public gametest::GameTest {
 protected:
  /// The counter labelled `label`.
  static cv::ViewObject *counter(const std::string &label) {
    for (cv::ViewObject *view : all<cv::ViewObject>())
      if (view->getViewString() == label)
        return view;
    return nullptr;
  }
};

TEST_F(ScreenTest, PStartsOneGameAndTheHiddenScreenIgnoresKeys) {
  auto *start = new GameStart;
  EXPECT_EQ(start->getLocation(), cv::CENTER_CENTER);
  key(start, cv::Keyboard::X);
  EXPECT_EQ(count("Hero"), 0);
  key(start, cv::Keyboard::P, cv::KEY_RELEASED);  // any action of P counts
  EXPECT_FALSE(start->isActive());
  // Keys now reach only active objects; the screen hears none of them.
  cv::EventKeyboard press;
  press.setKey(cv::Keyboard::P);
  press.setKeyboardAction(cv::KEY_PRESSED);
  cv::InputManager::getInstance().onEvent(&press);
  EXPECT_EQ(count("Hero"), 1);
  EXPECT_EQ(count("Wall"), 2);
  EXPECT_EQ(count("Enemy"), 1);
  EXPECT_EQ(count("Reticle"), 1);
  EXPECT_EQ(all<Points>().size() + all<AmmoCount>().size() + all<ReflectorDisplay>().size(), 3u);
  const std::vector<Tomato *> heroes = all<Tomato>();
  EXPECT_EQ(heroes[0]->getPosition(), Vector(40, 18));
  bool walls_at_places = true;
  for (cv::Object *wall : all<cv::Object>())
    if (wall->getType() == "Wall")
      walls_at_places &= wall->getPosition() == Vector(1, 12) || near(wall->getPosition(), Vector(80.0f * 2 / 3, 12));
  EXPECT_TRUE(walls_at_places);
}

TEST_F(ScreenTest, QOnTheStartScreenEndsWithoutAHero) {
  auto *start = new GameStart;
  key(start, cv::Keyboard::Q);
  EXPECT_TRUE(cv::GameManager::getInstance().getGameOver());
  EXPECT_EQ(count("Hero"), 0);
}

TEST_F(ScreenTest, GameOverClearsTheGameAndPStartsAFreshOne) {
  auto *start = new GameStart;
  key(start, cv::Keyboard::P);
  Tomato *hero = all<Tomato>()[0];
  hero->addAmmo(3);
  all<MainEnemy>()[0]->setActive(false);  // the grape holds its fire; removed all the same
  step(200);
  ASSERT_EQ(count("Hero"), 1);
  counter("Bullets")->setValue(5);
  key(hero, cv::Keyboard::SPACE);
  // A shot of each kind in flight, slow enough to stay in the world.
  new Bullet(Vector(10, 20), false);
  new SuperBullet(Vector(10, 15));
  new EnemyBullet(Vector(30, 8), Vector(0, 0.01f));
  for (cv::Object *shot : all<cv::Object>())
    if (shot->getType().find("Bullet") != std::string::npos)
      shot->setVelocity(Vector(0, 0.01f));
  new AmmoBox(Vector(20, 5));
  world().markForDelete(hero);
  step();
  ASSERT_EQ(count("GameOver"), 1);
  EXPECT_FALSE(start->isActive());
  step(2);  // no "gameover" sprite here: the screen lasts one step
  EXPECT_EQ(count("GameOver"), 0);
  // Every projectile goes with the game, so none flies on over the start
  // screen; a falling ammunition box finishes its course.
  for (const char *gone :
       {"Enemy", "ViewObject", "Wall", "Reticle", "Reflector", "Hero", "Bullet", "SuperBullet", "EnemyBullet"})
    EXPECT_EQ(count(gone), 0) << gone;
  EXPECT_EQ(count("AmmoBox"), 1);
  EXPECT_TRUE(start->isActive());

  key(start, cv::Keyboard::P);
  EXPECT_EQ(count("Hero"), 1);
  EXPECT_EQ(counter("Points")->getValue(), 0);
  EXPECT_EQ(counter("Bullets")->getValue(), 2);
  EXPECT_EQ(counter("RFL POWER")->getValue(), 30);
  EXPECT_EQ(counter("Points")->getColor(), cv::YELLOW);
  EXPECT_EQ(all<Tomato>()[0]->getAmmo(), 2);
}

TEST_F(ScreenTest, GameOverLastsOneRunOfItsAnimation) {
  loadBlock("gameover", 5, 2, 3, 4);  // 3 frames of 4 steps
  new GameStart;
  new GameOver;
  step(11);
  EXPECT_EQ(count("GameOver"), 1);
  step();
  EXPECT_EQ(count("GameOver"), 0);
}

TEST_F(ScreenTest, GameOverBeforeAnyGameWithoutMusicIsHarmless) {
  // Neither music is loaded and no game was started: nothing to pause.
  auto *start = new GameStart;
  new GameOver;
  step();
  EXPECT_TRUE(start->isActive());
}

TEST_F(ScreenTest, MusicSwitchesBetweenTitleAndGame) {
  cvtest::writeToneWav(engine.directory() + "/title.wav", 200);
  cvtest::writeToneWav(engine.directory() + "/game.wav", 200, 660);
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadMusic(engine.directory() + "/title.wav", "start music"), 0);
  ASSERT_EQ(resources.loadMusic(engine.directory() + "/game.wav", "game music"), 0);
  cv::Music *title = resources.getMusic("start music"), *game = resources.getMusic("game music");
  auto *start = new GameStart;
  EXPECT_TRUE(title->isPlaying());
  EXPECT_TRUE(title->isLooping());
  key(start, cv::Keyboard::P);
  EXPECT_TRUE(title->isPaused());
  EXPECT_TRUE(game->isPlaying());
  world().markForDelete(all<Tomato>()[0]);
  step(3);
  EXPECT_TRUE(game->isPaused());
  EXPECT_TRUE(title->isPlaying());
}

}  // namespace
