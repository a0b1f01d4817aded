// Checks what a view object draws by the pixels of a real window: its
// frame is compared with a frame of the expected characters drawn one by
// one at the expected cells.

#include <gtest/gtest.h>

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <cstring>
#include <string>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

namespace {

std::string windowConfig(const std::string &title) {
  return "window_title:" + title + ",font_file:" + CORVANE_TEST_FONT + ",";
}

// What the back buffer holds now, read before it is shown.
sf::Image backBuffer() {
  sf::RenderWindow *window = cv::DisplayManager::getInstance().getWindow();
  sf::Texture texture;
  texture.create(window->getSize().x, window->getSize().y);
  texture.update(*window);
  return texture.copyToImage();
}

// The frame `draw` produces on a cleared back buffer.
template <typename Draw>
sf::Image frameOf(Draw draw) {
  cv::DisplayManager::getInstance().swapBuffers();  // shows the last frame and clears
  draw();
  return backBuffer();
}

bool samePixels(const sf::Image &a, const sf::Image &b) {
  return a.getSize() == b.getSize() &&
         std::memcmp(a.getPixelsPtr(), b.getPixelsPtr(), a.getSize().x * a.getSize().y * 4) == 0;
}

// Pixels that differ from the top-left one (the background).
int drawnPixels(const sf::Image &image) {
  const sf::Color background = image.getPixel(0, 0);
  int count = 0;
  for (unsigned y = 0; y < image.getSize().y; y++)
    for (unsigned x = 0; x < image.getSize().x; x++)
      if (image.getPixel(x, y) != background)
        count++;
  return count;
}

// Draws `text` left to right from cell (x, y), one character at a time.
void drawCells(float x, float y, const std::string &text, cv::Color color) {
  for (size_t i = 0; i < text.size(); i++)
    cv::DisplayManager::getInstance().drawCharacter(cv::Vector(x + static_cast<float>(i), y), text[i], color);
}

// A framed text: the text, dashes above and below, bars left and right, in
// that order (a later character's background covers what reaches into its cell).
void drawFramed(float x, float y, const std::string &text, cv::Color color) {
  const std::string dashes(text.size(), '-');
  drawCells(x, y, text, color);
  drawCells(x, y - 1, dashes, color);
  drawCells(x, y + 1, dashes, color);
  drawCells(x - 1, y, "|", color);
  drawCells(x + static_cast<float>(text.size()), y, "|", color);
}

}  // namespace

TEST(ViewObjectWindow, FramedTextOfNineIsCentredWithBarsBesideIt) {
  TestEngine engine(windowConfig("corvane-view-framed"));
  ASSERT_EQ(engine.start(), 0);
  {
    cv::ViewObject ammo;  // at (40, 1)
    ammo.setViewString("Ammo");
    ammo.setValue(50);
    ammo.setColor(cv::YELLOW);
    int result = -1;
    const sf::Image drawn = frameOf([&] { result = ammo.draw(); });
    EXPECT_EQ(result, 0);
    // " Ammo 50 " from x 36 to 44, bars at 35 and 45, dashes on rows 0 and 2.
    const sf::Image expected = frameOf([] { drawFramed(36, 1, " Ammo 50 ", cv::YELLOW); });
    EXPECT_GT(drawnPixels(expected), 0);
    EXPECT_TRUE(samePixels(drawn, expected));
    const sf::Image one_cell_right = frameOf([] { drawFramed(37, 1, " Ammo 50 ", cv::YELLOW); });
    EXPECT_FALSE(samePixels(drawn, one_cell_right));
    const sf::Image other_colour = frameOf([] { drawFramed(36, 1, " Ammo 50 ", cv::WHITE); });
    EXPECT_FALSE(samePixels(drawn, other_colour));
  }
  engine.stop();
}

TEST(ViewObjectWindow, TextFollowsBorderAndValueSettings) {
  TestEngine engine(windowConfig("corvane-view-texts"));
  ASSERT_EQ(engine.start(), 0);
  {
    cv::ViewObject label;  // at (40, 1), empty label, value 0
    // The empty label shows two blanks, the 0 and a blank.
    EXPECT_TRUE(samePixels(frameOf([&] { label.draw(); }), frameOf([] { drawFramed(38, 1, "  0 ", cv::WHITE); })));

    label.setViewString("Lives");
    label.setValue(-3);
    label.setDrawValue(false);
    EXPECT_TRUE(
        samePixels(frameOf([&] { label.draw(); }), frameOf([] { drawFramed(37, 1, " Lives ", cv::WHITE); })));

    label.setBorder(false);  // moves to (40, 0)
    const sf::Image plain = frameOf([&] { label.draw(); });
    EXPECT_TRUE(samePixels(plain, frameOf([] { drawCells(38, 0, "Lives", cv::WHITE); })));

    label.setDrawValue(true);
    EXPECT_TRUE(samePixels(frameOf([&] { label.draw(); }), frameOf([] { drawCells(36, 0, "Lives -3", cv::WHITE); })));
  }
  engine.stop();
}

TEST(ViewObjectWindow, StaysOnTheScreenWhenTheViewMoves) {
  TestEngine engine(windowConfig("corvane-view-fixed"));
  ASSERT_EQ(engine.start(), 0);
  {
    cv::WorldManager &world = cv::WorldManager::getInstance();
    cv::ViewObject score;
    score.setViewString("Points");
    score.setLocation(cv::CENTER_CENTER);  // (40, 12)
    const sf::Image at_origin = frameOf([&] { world.draw(); });
    EXPECT_GT(drawnPixels(at_origin), 0);
    world.setBoundary(cv::Box(cv::Vector(0, 0), 200, 100));
    world.setView(cv::Box(cv::Vector(30, 40), 80, 24));
    EXPECT_TRUE(samePixels(frameOf([&] { world.draw(); }), at_origin));
  }
  engine.stop();
}
