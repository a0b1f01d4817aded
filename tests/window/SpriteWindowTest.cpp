// Where frames put their characters in a real window: the display logs the
// view position of every character it draws at level 30.

#include <gtest/gtest.h>

#include "Corvane.h"
#include "support/TestEngine.h"
#include "support/WindowCapture.h"

using cvtest::TestEngine;

namespace {

const std::string DRAWN = "spacesToPixels(int): spaces ";

// The view positions "(x,y)" of the characters drawn since message `from`.
std::vector<std::string> drawnSince(const TestEngine &engine, size_t from) {
  const std::vector<std::string> messages = engine.messages();
  std::vector<std::string> cells;
  for (size_t i = from; i < messages.size(); i++)
    if (messages[i].rfind(DRAWN, 0) == 0)
      cells.push_back(messages[i].substr(DRAWN.size(), messages[i].find(" = ") - DRAWN.size()));
  return cells;
}

}  // namespace

TEST(SpriteWindow, FramesAreCentredOnThePositionAndSkipTransparentCells) {
  TestEngine engine(std::string("log_level:30,font_file:") + CORVANE_TEST_FONT + ",");
  ASSERT_EQ(engine.start(), 0);
  if (!cv::DisplayManager::getInstance().getWindow())
    GTEST_SKIP() << "the display opens no window in this build";
  const struct {
    cv::Frame frame;
    char transparency;
    std::vector<std::string> cells;
  } cases[] = {
      {cv::Frame(3, 2, "abcdef"), 0,
       {"(9.00,4.50)", "(10.00,4.50)", "(11.00,4.50)", "(9.00,5.50)", "(10.00,5.50)", "(11.00,5.50)"}},
      {cv::Frame(4, 1, "ab d"), 0, {"(8.50,5.00)", "(9.50,5.00)", "(10.50,5.00)", "(11.50,5.00)"}},
      {cv::Frame(3, 1, "a#b"), '#', {"(9.00,5.00)", "(11.00,5.00)"}},
      {cv::Frame(), 0, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.frame.getString());
    const size_t from = engine.messages().size();
    EXPECT_EQ(c.frame.draw(cv::Vector(10, 5), cv::GREEN, c.transparency), 0);
    EXPECT_EQ(drawnSince(engine, from), c.cells);
  }
}

TEST(SpriteWindow, AnimationDrawsTheCurrentFrameOfALoadedSprite) {
  TestEngine engine(std::string("log_level:30,font_file:") + CORVANE_TEST_FONT + ",");
  ASSERT_EQ(engine.start(), 0);
  if (!cv::DisplayManager::getInstance().getWindow())
    GTEST_SKIP() << "the display opens no window in this build";
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(std::string(CORVANE_TEST_FIXTURES) + "/sprites/example.txt", "hero"), 0);
  cv::Animation animation;
  animation.setSprite(resources.getSprite("hero"));
  // The example's first frame is "/o\" over "#^#", with '#' transparent.
  const size_t from = engine.messages().size();
  EXPECT_EQ(animation.draw(cv::Vector(20, 10)), 0);
  EXPECT_EQ(drawnSince(engine, from),
            (std::vector<std::string>{"(19.00,9.50)", "(20.00,9.50)", "(21.00,9.50)", "(20.00,10.50)"}));
  EXPECT_EQ(animation.getSlowdownCount(), 1);
}

TEST(SpriteWindow, UnicodeFrameReachesTheWindowAsItsCharacters) {
  TestEngine engine(std::string("font_file:") + CORVANE_TEST_FONT + ",");
  ASSERT_EQ(engine.start(), 0);
  cv::DisplayManager &display = cv::DisplayManager::getInstance();
  if (!display.getWindow())
    GTEST_SKIP() << "the display opens no window in this build";
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(std::string(CORVANE_TEST_FIXTURES) + "/sprites/box-drawing.txt", "box"), 0);
  // The box drawn by its sprite, and its nine characters drawn one by one
  // in the same cells and order: the same pixels.
  display.swapBuffers();
  EXPECT_EQ(resources.getSprite("box")->draw(0, cv::Vector(10, 5), 0), 0);
  const sf::Image drawn = cvtest::captureWindow(*display.getWindow());
  display.swapBuffers();
  const std::u32string box = U"╔═╗║▓║╚═╝";
  for (int i = 0; i < 9; i++)
    display.drawCharacter(cv::Vector(static_cast<float>(9 + i % 3), static_cast<float>(4 + i / 3)),
                          box[static_cast<size_t>(i)], cv::CYAN);
  const sf::Image expected = cvtest::captureWindow(*display.getWindow());
  display.swapBuffers();
  const sf::Image empty = cvtest::captureWindow(*display.getWindow());
  EXPECT_EQ(cvtest::differingPixels(drawn, expected), 0);
  EXPECT_GT(cvtest::differingPixels(drawn, empty), 0);
  // Not merely the same missing-glyph shapes: the font has all nine.
  for (const std::string &message : engine.messages())
    EXPECT_EQ(message.find("no glyph"), std::string::npos) << message;
}
