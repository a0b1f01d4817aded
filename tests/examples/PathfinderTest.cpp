// The pathfinder example: a click sends the walker round the walls to the
// clicked cell; a click outside the world finds no way.
#include "ExampleFixture.h"
#include "Walker.h"
#include "Wall.h"

namespace {

using cv::Vector;

class PathfinderTest : public exampletest::ExampleTest {
 protected:
  void SetUp() override {
    ExampleTest::SetUp();
    loadSprite(PATHFINDER_SPRITES, "walker");
    loadSprite(PATHFINDER_SPRITES, "wall");
    // The walls of the example: rows 0 to 14 at x = 30, rows 10 to 24 at x = 50.
    new Wall(Vector(30, 7));
    new Wall(Vector(50, 17));
    walker = new Walker(Vector(10, 12));
    arrivals = counter("Arrivals");
    no_way = counter("No way");
  }
  Walker *walker = nullptr;
  cv::ViewObject *arrivals = nullptr;
  cv::ViewObject *no_way = nullptr;
};

/// Keeps the lowest and highest row the walker stood on.
class RowWatch : public cv::Object {
 public:
  explicit RowWatch(const cv::Object &new_watched) : watched(new_watched) {
    setSolidness(cv::SPECTRAL);
    registerInterest(cv::STEP_EVENT);
  }
  int eventHandler(const cv::Event *) override {
    lowest = std::max(lowest, watched.getPosition().getY());
    highest = std::min(highest, watched.getPosition().getY());
    return 1;
  }
  const cv::Object &watched;
  float lowest = 0;
  float highest = 100;
};

TEST_F(PathfinderTest, ClickSendsTheWalkerRoundBothWalls) {
  exampletest::Script script(600);
  auto *watch = new RowWatch(*walker);
  script.at(1, [] { exampletest::injectClick(Vector(70, 12)); });
  cv::GameManager::getInstance().run();

  EXPECT_EQ(walker->getPosition(), Vector(70, 12));
  EXPECT_EQ(arrivals->getValue(), 1);
  EXPECT_EQ(no_way->getValue(), 0);
  // Below the first wall's end (row 14), above the second's start (row 10).
  EXPECT_GT(watch->lowest, 14);
  EXPECT_LT(watch->highest, 10);
}

TEST_F(PathfinderTest, ClickOutsideTheWorldFindsNoWay) {
  // The world is the 80 x 24 cells of the view; column 85 is beyond it.
  exampletest::Script script(300);
  script.at(1, [] { exampletest::injectClick(Vector(85, 3)); });
  cv::GameManager::getInstance().run();

  EXPECT_EQ(walker->getPosition(), Vector(10, 12));
  EXPECT_EQ(no_way->getValue(), 1);
  EXPECT_EQ(arrivals->getValue(), 0);
}

TEST_F(PathfinderTest, RightClickIsIgnored) {
  exampletest::Script script(50);
  script.at(1, [] { exampletest::injectClick(Vector(20, 12), cv::Mouse::RIGHT_BUTTON); });
  cv::GameManager::getInstance().run();
  EXPECT_EQ(walker->getPosition(), Vector(10, 12));
  EXPECT_EQ(cv::PathManager::getInstance().getSearchCount(), 0);
}

}  // namespace
