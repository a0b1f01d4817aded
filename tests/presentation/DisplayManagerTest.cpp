#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

namespace {

const std::string FONT_SETTING = std::string("font_file:") + CORVANE_TEST_FONT + ",";

cv::DisplayManager &display() { return cv::DisplayManager::getInstance(); }

}  // namespace

TEST(DisplayManager, CellSizeFollowsTheConfiguredGrid) {
  struct Case {
    std::string grid;
    float width, height;
  };
  // Every case names all four values: the configuration keeps what a text leaves out.
  const Case cases[] = {
      {"window_horizontal_pixels:1024,window_vertical_pixels:768,window_horizontal_chars:80,window_vertical_chars:24,",
       12.8f, 32.0f},
      {"window_horizontal_pixels:800,window_vertical_pixels:600,window_horizontal_chars:100,window_vertical_chars:20,",
       8.0f, 30.0f},
      {"window_horizontal_pixels:1000,window_vertical_pixels:70,window_horizontal_chars:3,window_vertical_chars:7,",
       1000.0f / 3, 10.0f}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.grid);
    TestEngine engine("headless:true," + c.grid);
    ASSERT_EQ(engine.start(), 0);
    EXPECT_FLOAT_EQ(cv::charWidth(), c.width);
    EXPECT_FLOAT_EQ(cv::charHeight(), c.height);
    const cv::Vector pixels = cv::spacesToPixels(cv::Vector(10, 5));
    EXPECT_FLOAT_EQ(pixels.getX(), 10 * c.width);
    EXPECT_FLOAT_EQ(pixels.getY(), 5 * c.height);
    const cv::Vector back = cv::pixelsToSpaces(cv::spacesToPixels(cv::Vector(3.3f, -7.7f)));
    EXPECT_NEAR(back.getX(), 3.3f, 1e-5);
    EXPECT_NEAR(back.getY(), -7.7f, 1e-5);
    engine.stop();
  }
}

TEST(DisplayManager, ConversionsLogAtLevel30) {
  TestEngine engine("headless:true,log_level:30,");
  ASSERT_EQ(engine.start(), 0);
  cv::spacesToPixels(cv::Vector(10, 5));
  EXPECT_EQ(engine.messages().back(), "spacesToPixels(int): spaces (10.00,5.00) = pixels (128.00,160.00)");
  cv::pixelsToSpaces(cv::Vector(64, 48));
  EXPECT_EQ(engine.messages().back(), "pixelsToSpaces(): pixels (64.00,48.00) = spaces (5.00,1.50)");
  engine.stop();
}

TEST(DisplayManager, CellSizeIsZeroBeforeTheFirstStartUp) {
  EXPECT_EQ(cv::charWidth(), 0);
  EXPECT_EQ(cv::charHeight(), 0);
  EXPECT_EQ(cv::pixelsToSpaces(cv::Vector(10, 10)), cv::Vector(0, 0));
}

TEST(DisplayManager, HeadlessStartsWithoutWindowAndDrawsNothing) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  EXPECT_TRUE(display().isStarted());
  EXPECT_EQ(display().getWindow(), nullptr);
  const std::vector<std::string> start =
      engine.messagesFrom("DisplayManager::startUp(): not doing graphics since in headless mode.");
  ASSERT_GE(start.size(), 2u);
  EXPECT_EQ(start[1], "DisplayManager::startUp(): successfully started.");

  const size_t logged = engine.messages().size();
  EXPECT_EQ(display().drawCharacter(cv::Vector(1, 1), 'a', cv::RED), -1);
  EXPECT_EQ(display().drawCharacter(cv::Vector(1, 1), 'a', 1, 2, 3), -1);
  EXPECT_EQ(display().drawString(cv::Vector(1, 1), "abc", cv::CENTER_JUSTIFIED, cv::RED), -1);
  EXPECT_EQ(display().swapBuffers(), -1);
  EXPECT_EQ(engine.messages().size(), logged);  // silently

  EXPECT_EQ(display().startUp(), 0);
  EXPECT_EQ(engine.messages().back(), "DisplayManager::startUp(): Already started.");
  engine.stop();
  EXPECT_FALSE(display().isStarted());
}

TEST(DisplayManager, DrawingBeforeStartUpIsRefused) {
  // Only the log runs; the configuration asks for a window.
  TestEngine engine(FONT_SETTING);
  cv::Config::getInstance().loadConfig("");
  cv::LogManager::getInstance().setFlush(true);
  ASSERT_EQ(cv::LogManager::getInstance().startUp(), 0);
  EXPECT_EQ(display().drawString(cv::Vector(1, 1), "abc", cv::LEFT_JUSTIFIED, cv::RED), -1);
  EXPECT_EQ(display().drawCharacter(cv::Vector(1, 1), 'a', 1, 2, 3), -1);
  EXPECT_EQ(display().drawCharacter(cv::Vector(1, 1), 'a', cv::GREEN), -1);
  EXPECT_EQ(display().swapBuffers(), -1);
  EXPECT_EQ(engine.messages(), std::vector<std::string>(4, "DisplayManager not started!"));
  cv::LogManager::getInstance().shutDown();
}

TEST(DisplayManager, DrawingAfterShutDownIsRefused) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  display().shutDown();
  EXPECT_EQ(display().drawString(cv::Vector(1, 1), "abc", cv::LEFT_JUSTIFIED, cv::RED), -1);
  EXPECT_EQ(engine.messages().back(), "DisplayManager not started!");
  engine.stop();
}

TEST(DisplayManager, UnusableGridIsRefused) {
  struct Case {
    std::string settings;
    std::string message;
  };
  // Sizes and counts below 1 never get this far: the configuration refuses
  // them and keeps its defaults (ConfigTest).
  const Case cases[] = {
      {"window_horizontal_pixels:1024,window_vertical_pixels:100000,window_horizontal_chars:80,window_vertical_chars:"
       "24,",
       "window of 1024 x 100000 pixels with 80 x 24 characters not supported."},
      {"window_horizontal_pixels:16385,window_vertical_pixels:768,window_horizontal_chars:80,window_vertical_chars:24,",
       "window of 16385 x 768 pixels with 80 x 24 characters not supported."}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.settings);
    TestEngine engine("headless:true," + c.settings);
    EXPECT_EQ(engine.start(), -1);
    const std::vector<std::string> messages = engine.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2], "DisplayManager::startUp(): Error! " + c.message);
    EXPECT_EQ(messages.back(), "Error starting display manager!");
    EXPECT_FALSE(display().isStarted());
    engine.stop();
  }
}

TEST(DisplayManager, UnusableCharacterSizeIsRefusedBeforeAnyWindow) {
  struct Case {
    std::string font_scale;
    std::string message;
  };
  const Case cases[] = {{"0.01", "character size 0.13 pixels (font_scale 0.01) not supported."},
                        {"0.05", "character size 0.64 pixels (font_scale 0.05) not supported."},
                        {"1000", "character size 12800.00 pixels (font_scale 1000.00) not supported."}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.font_scale);
    TestEngine engine(FONT_SETTING + "font_scale:" + c.font_scale + ",");
    EXPECT_EQ(engine.start(), -1);
    const std::vector<std::string> messages = engine.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2], "DisplayManager::startUp(): Error! " + c.message);
    EXPECT_EQ(display().getWindow(), nullptr);
    engine.stop();
  }
}

TEST(DisplayManager, WindowWithoutDisplayIsRefusedNotFatal) {
  unsetenv("DISPLAY");
  TestEngine engine(FONT_SETTING);
  EXPECT_EQ(engine.start(), -1);
  const std::vector<std::string> messages = engine.messages();
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(messages.end() - 3, messages.end()),
            (std::vector<std::string>{
                "DisplayManager::startUp(): Error! no display to open a window on (DISPLAY is not set).",
                "DisplayManager::startUp(): Unable to allocate window!", "Error starting display manager!"}));
  EXPECT_FALSE(display().isStarted());
  EXPECT_EQ(display().getWindow(), nullptr);
  engine.stop();
}

TEST(DisplayManager, CharactersThatCannotFillACellAreRefusedOnceEachEvenHeadless) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  for (int i = 0; i < 3; i++) {
    display().drawCharacter(cv::Vector(1, 1), U'漢', cv::RED);
    display().drawCharacter(cv::Vector(1, 2), char32_t{0x0301}, 1, 2, 3);
  }
  display().drawCharacter(cv::Vector(1, 1), U'═', cv::RED);
  const std::vector<std::string> refused = engine.messagesFrom(
      "DisplayManager::drawCharacter(): Warning! U+6F22 '漢' does not fill one cell; it is drawn as '?'.");
  EXPECT_EQ(refused, (std::vector<std::string>{
                         "DisplayManager::drawCharacter(): Warning! U+6F22 '漢' does not fill one cell; it is drawn as '?'.",
                         "DisplayManager::drawCharacter(): Warning! U+0301 '\xcc\x81' does not fill one cell; it is "
                         "drawn as '?'.",
                     }));
  engine.stop();
}
