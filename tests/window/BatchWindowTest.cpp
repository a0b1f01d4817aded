// Characters collected and drawn in one call must give the very pixels of
// drawing each one as a rectangle and a text (run under Xvfb).

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "Corvane.h"
#include "support/TestEngine.h"
#include "support/WindowCapture.h"

using cv::Vector;

namespace {

const std::string FONT_SETTING = std::string("font_file:") + CORVANE_TEST_FONT + ",";

cv::DisplayManager &display() { return cv::DisplayManager::getInstance(); }

// A busy screen: every printable character in every colour, odd RGB values,
// characters over characters (same cell and half a cell off), a figure drawn
// between characters and covered by some, and characters partly off screen.
void drawScreen() {
  const int columns = display().getHorizontalChars();
  int n = 0;
  for (int ch = 32; ch < 127; ch++, n++)
    display().drawCharacter(Vector(static_cast<float>(n % columns), static_cast<float>(n / columns)),
                            static_cast<char>(ch), static_cast<cv::Color>(n % 8));
  for (int color = cv::BLACK; color <= cv::WHITE; color++)
    display().drawString(Vector(2, static_cast<float>(5 + color)), "Colour #" + std::to_string(color) + " {[Wg@]}",
                         cv::LEFT_JUSTIFIED, static_cast<cv::Color>(color));
  display().drawCharacter(Vector(30, 5), 'M', 37, 201, 90);
  display().drawCharacter(Vector(31, 5), 'q', 250, 3, 128);
  display().drawCharacter(Vector(32, 5), '%', 1, 1, 1);
  // Overlaps: a later character hides the earlier one and its neighbours' overhang.
  display().drawCharacter(Vector(40, 8), 'W', cv::RED);
  display().drawCharacter(Vector(40, 8), 'i', cv::GREEN);
  display().drawCharacter(Vector(40.5f, 8.5f), '#', cv::BLUE);
  display().drawCharacter(Vector(41.25f, 8.2f), '&', cv::MAGENTA);

  cv::Shape circle;
  circle.setType(cv::CIRCLE);
  circle.setColor(cv::YELLOW);
  circle.draw(Vector(45, 10));
  display().drawString(Vector(44, 10), "over", cv::LEFT_JUSTIFIED, cv::CYAN);
  cv::Shape square;
  square.setType(cv::SQUARE);
  square.setColor(cv::RED);
  square.draw(Vector(50, 12));

  // Whitespace and control characters draw only their background.
  display().drawString(Vector(60, 14), "a b\tc\nd\re", cv::LEFT_JUSTIFIED, cv::WHITE);
  display().drawCharacter(Vector(60, 15), static_cast<char>(1), cv::WHITE);
  display().drawCharacter(Vector(-0.5f, 20), 'L', cv::GREEN);
  display().drawCharacter(Vector(static_cast<float>(columns) - 0.5f, 20), 'R', cv::GREEN);
  display().drawString(Vector(40, 23.6f), "bottom edge", cv::CENTER_JUSTIFIED, cv::YELLOW);
}

// The first few pixels in which two images of one size differ, for the failure message.
std::string firstDifferences(const sf::Image &a, const sf::Image &b) {
  std::string text;
  int shown = 0;
  for (unsigned int y = 0; y < a.getSize().y && shown < 5; y++)
    for (unsigned int x = 0; x < a.getSize().x && shown < 5; x++)
      if (a.getPixel(x, y) != b.getPixel(x, y)) {
        const sf::Color p = a.getPixel(x, y), q = b.getPixel(x, y);
        text += " (" + std::to_string(x) + "," + std::to_string(y) + "): " + std::to_string(p.r) + "," +
                std::to_string(p.g) + "," + std::to_string(p.b) + " vs " + std::to_string(q.r) + "," +
                std::to_string(q.g) + "," + std::to_string(q.b);
        shown++;
      }
  return text;
}

// The largest difference of one colour channel between two images of one size.
int largestDifference(const sf::Image &a, const sf::Image &b) {
  int largest = 0;
  const auto channel = [&largest](sf::Uint8 p, sf::Uint8 q) { largest = std::max(largest, std::abs(p - q)); };
  for (unsigned int y = 0; y < a.getSize().y; y++)
    for (unsigned int x = 0; x < a.getSize().x; x++) {
      const sf::Color p = a.getPixel(x, y), q = b.getPixel(x, y);
      channel(p.r, q.r);
      channel(p.g, q.g);
      channel(p.b, q.b);
      channel(p.a, q.a);
    }
  return largest;
}

// A figure drawn first, with characters over it and over each other: their
// backgrounds must blank the figure where they fall.
void drawOverAFigure() {
  cv::Shape circle;
  circle.setType(cv::CIRCLE);
  circle.setSize(60);
  circle.setColor(cv::GREEN);
  circle.draw(Vector(20, 10));
  for (int y = 8; y < 13; y++)
    display().drawString(Vector(15, static_cast<float>(y)), "#=#=#=#=#=", cv::LEFT_JUSTIFIED, cv::RED);
  display().drawString(Vector(15.5f, 10.5f), "half", cv::LEFT_JUSTIFIED, cv::WHITE);
}

// More characters than the display collects before drawing them anyway,
// over and over the same cells: the early draw keeps order and pixels.
void drawMoreThanABatch() {
  for (int n = 0; n < 66000; n++)
    display().drawCharacter(Vector(static_cast<float>(10 + n % 40), static_cast<float>(4 + (n / 40) % 16)),
                            static_cast<char>(33 + n % 94), static_cast<cv::Color>(1 + n % 7));
}

// Draws a screen with batching on or off and returns the frame.
sf::Image capture(void (*draw)(), bool batching, const std::string &name) {
  display().setBatching(batching);
  draw();
  const sf::Image image = cvtest::captureWindow(*display().getWindow());
  cvtest::keepScreenshot(image, name);
  EXPECT_EQ(display().swapBuffers(), 0);
  return image;
}

// Starts the engine with `settings`, draws each screen both ways, and
// expects the same pixels.
void expectSameFrames(const std::string &settings, const std::string &name, Vector view_corner = Vector()) {
  cvtest::TestEngine engine(FONT_SETTING + settings);
  ASSERT_EQ(engine.start(), 0);
  ASSERT_NE(display().getWindow(), nullptr);
  display().swapBuffers();
  cv::WorldManager::getInstance().setView(cv::Box(view_corner, 80, 24));
  const struct {
    void (*draw)();
    const char *name;
    int busy;  // pixels at least that differ from a blank frame
  } screens[] = {{drawScreen, "-busy", 10000}, {drawOverAFigure, "-figure", 2000}, {drawMoreThanABatch, "-many", 10000}};
  for (const auto &screen : screens) {
    SCOPED_TRACE(screen.name);
    const sf::Image reference = capture(screen.draw, false, name + screen.name + "-reference");
    const sf::Image batched = capture(screen.draw, true, name + screen.name + "-batched");
    // The batch hands the renderer the same corners, texture coordinates and
    // colours the shapes do, but adds each text's position to its corners
    // itself, where the renderer would apply the text's own transform. The
    // two sums can differ in the last bit of a float, which moves a texture
    // sample by a millionth of a pixel and can tip the rounding of a smoothed
    // glyph edge by one level. So: every pixel within one level per channel,
    // and such pixels rare. A misplaced quad, a wrong colour or a wrong order
    // changes whole runs of pixels by far more.
    EXPECT_LE(largestDifference(reference, batched), 1) << firstDifferences(reference, batched);
    EXPECT_LE(cvtest::differingPixels(reference, batched), 20) << firstDifferences(reference, batched);
    // The screen is busy, so the comparison means something.
    const sf::Image blank = cvtest::captureWindow(*display().getWindow());
    EXPECT_GT(cvtest::differingPixels(reference, blank), screen.busy);
  }
  engine.stop();
}

}  // namespace

TEST(BatchWindow, BusyScreenMatchesDrawingEachCharacter) {
  expectSameFrames("", "batch-default");
}

TEST(BatchWindow, MatchesWithAViewOffsetAndAColouredBackground) {
  expectSameFrames("window_background_color:blue,", "batch-blue-offset", Vector(3.5f, 1.25f));
}

TEST(BatchWindow, MatchesOnAnotherGridAndCharacterSize) {
  expectSameFrames("window_horizontal_pixels:800,window_vertical_pixels:600,window_horizontal_chars:100,"
                   "window_vertical_chars:30,font_scale:1.5,",
                   "batch-small");
}
