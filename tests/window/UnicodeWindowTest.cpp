// Characters past ASCII in a window (run under Xvfb): box drawing, blocks
// and shades drawn from the font, strings counted in characters, and what
// cannot fill a cell.

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <string>

#include "Corvane.h"
#include "support/TestEngine.h"
#include "support/WindowCapture.h"

using cv::Vector;

namespace {

const std::string FONT_SETTING = std::string("font_file:") + CORVANE_TEST_FONT + ",";

cv::DisplayManager &display() { return cv::DisplayManager::getInstance(); }

// Pixels of the cell (column, row) that are not the black background.
int inkIn(const sf::Image &image, int column, int row) {
  const auto left = static_cast<unsigned>(static_cast<float>(column) * cv::charWidth());
  const auto right = static_cast<unsigned>(static_cast<float>(column + 1) * cv::charWidth());
  const auto top = static_cast<unsigned>(static_cast<float>(row) * cv::charHeight());
  const auto bottom = static_cast<unsigned>(static_cast<float>(row + 1) * cv::charHeight());
  int ink = 0;
  for (unsigned y = top; y < bottom && y < image.getSize().y; y++)
    for (unsigned x = left; x < right && x < image.getSize().x; x++)
      if (image.getPixel(x, y) != sf::Color::Black)
        ink++;
  return ink;
}

// The frame drawn by `draw`, taken before it is shown.
template <typename Draw>
sf::Image frameOf(Draw draw) {
  draw();
  const sf::Image image = cvtest::captureWindow(*display().getWindow());
  display().swapBuffers();
  return image;
}

void drawBox() {
  display().drawString(Vector(10, 5), "╔═╗", cv::LEFT_JUSTIFIED, cv::YELLOW);
  display().drawString(Vector(10, 6), "║▓║", cv::LEFT_JUSTIFIED, cv::YELLOW);
  display().drawString(Vector(10, 7), "╚═╝", cv::LEFT_JUSTIFIED, cv::YELLOW);
}

}  // namespace

TEST(UnicodeWindow, BoxDrawingIsDrawnAsTheFontDrawsIt) {
  cvtest::TestEngine engine(FONT_SETTING);
  ASSERT_EQ(engine.start(), 0);
  display().swapBuffers();
  // Collected in one draw call, and each drawn as a rectangle and a text of
  // the font: the same pixels, and ink in every cell of the box.
  display().setBatching(true);
  const sf::Image batched = frameOf(drawBox);
  display().setBatching(false);
  const sf::Image by_text = frameOf(drawBox);
  cvtest::keepScreenshot(batched, "unicode-box");
  EXPECT_EQ(cvtest::differingPixels(batched, by_text), 0);
  for (int row = 5; row <= 7; row++)
    for (int column = 10; column <= 12; column++)
      EXPECT_GT(inkIn(batched, column, row), 20) << "cell " << column << "," << row;
  // The shade is not the stand-in: it differs from '?' drawn in its place.
  const sf::Image question = frameOf([] {
    drawBox();
    display().drawCharacter(Vector(11, 6), '?', cv::YELLOW);
  });
  EXPECT_GT(cvtest::differingPixels(by_text, question), 50);
  EXPECT_FALSE(engine.logged("DisplayManager::drawCharacter(): Warning! the font has no glyph for U+2593 '▓'; its "
                             "missing-glyph shape is drawn."));
  engine.stop();
}

TEST(UnicodeWindow, StringsAreCountedInCharactersNotBytes) {
  cvtest::TestEngine engine(FONT_SETTING);
  ASSERT_EQ(engine.start(), 0);
  display().swapBuffers();
  // Three characters of three bytes each, centred on column 40: 39 to 41
  // (counted in bytes, the string would start at 36).
  const sf::Image centred = frameOf([] { display().drawString(Vector(40, 3), "═══", cv::CENTER_JUSTIFIED, cv::WHITE); });
  for (int column = 36; column <= 37; column++)
    EXPECT_EQ(inkIn(centred, column, 3), 0) << column;
  for (int column = 39; column <= 41; column++)
    EXPECT_GT(inkIn(centred, column, 3), 10) << column;
  // A byte that is not UTF-8 is one '?', and nothing past the string is read.
  const sf::Image bad = frameOf([] { display().drawString(Vector(40, 3), std::string("a\xe2\x95", 3), cv::LEFT_JUSTIFIED, cv::WHITE); });
  const sf::Image questions = frameOf([] { display().drawString(Vector(40, 3), "a??", cv::LEFT_JUSTIFIED, cv::WHITE); });
  EXPECT_EQ(cvtest::differingPixels(bad, questions), 0);
  engine.stop();
}

TEST(UnicodeWindow, WhatCannotFillACellIsAQuestionMarkAndAMissingGlyphIsSaidOnce) {
  cvtest::TestEngine engine(FONT_SETTING);
  ASSERT_EQ(engine.start(), 0);
  display().swapBuffers();
  const sf::Image wide = frameOf([] { display().drawCharacter(Vector(5, 5), U'漢', cv::GREEN); });
  const sf::Image question = frameOf([] { display().drawCharacter(Vector(5, 5), '?', cv::GREEN); });
  EXPECT_EQ(cvtest::differingPixels(wide, question), 0);
  // A musical symbol the font does not hold: its missing-glyph shape, said once.
  for (int i = 0; i < 3; i++)
    frameOf([] { display().drawCharacter(Vector(6, 5), U'\U0001D11E', cv::GREEN); });
  const std::string missing = "DisplayManager::drawCharacter(): Warning! the font has no glyph for U+1D11E '\U0001D11E'; its "
                              "missing-glyph shape is drawn.";
  EXPECT_EQ(engine.messagesFrom(missing), std::vector<std::string>{missing});
  engine.stop();
}
