// The display manager and shapes drawing into a real window (run under Xvfb).
// Frames are read back from the window's back buffer and checked by pixel.

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <memory>
#include <string>

#include "Corvane.h"
#include "support/RecordingObject.h"
#include "support/TestEngine.h"
#include "support/WindowCapture.h"

using cvtest::captureWindow;
using cvtest::differingPixels;
using cvtest::keepScreenshot;
using cvtest::TestEngine;

namespace {

const std::string FONT_SETTING = std::string("font_file:") + CORVANE_TEST_FONT + ",";

bool sameColor(sf::Color a, sf::Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Whether pixel column or row `i` has its centre in [from, from + length):
// the pixels a filled axis-aligned rectangle covers.
bool covers(float from, float length, unsigned int i) {
  const float centre = static_cast<float>(i) + 0.5f;
  return centre >= from && centre < from + length;
}

// Pixels of `image` inside the rectangle whose colour is `color`.
int countColor(const sf::Image &image, sf::Color color, unsigned int x0, unsigned int y0, unsigned int x1,
               unsigned int y1) {
  int count = 0;
  for (unsigned int y = y0; y < y1; y++)
    for (unsigned int x = x0; x < x1; x++)
      if (sameColor(image.getPixel(x, y), color)) count++;
  return count;
}

// Starts the whole engine with a real window from the test font and `settings`.
class DisplayWindow : public ::testing::Test {
 protected:
  void start(const std::string &settings = "") {
    engine = std::make_unique<TestEngine>(FONT_SETTING + settings);
    ASSERT_EQ(engine->start(), 0);
    ASSERT_NE(display().getWindow(), nullptr);
  }

  void TearDown() override {
    if (engine) engine->stop();
  }

  static cv::DisplayManager &display() { return cv::DisplayManager::getInstance(); }

  // The frame drawn so far; then shows it, which clears the back buffer.
  static sf::Image frame(const std::string &screenshot = "") {
    sf::Image image = captureWindow(*display().getWindow());
    if (!screenshot.empty()) keepScreenshot(image, screenshot);
    EXPECT_EQ(display().swapBuffers(), 0);
    return image;
  }

  std::unique_ptr<TestEngine> engine;
};

}  // namespace

TEST_F(DisplayWindow, DefaultGridDrawsGlyphsOfSize25AtTheirCell) {
  start();
  const sf::Vector2u size = display().getWindow()->getSize();
  EXPECT_EQ(size, sf::Vector2u(1024, 768));
  EXPECT_FLOAT_EQ(cv::charWidth(), 12.8f);
  EXPECT_FLOAT_EQ(cv::charHeight(), 32.0f);

  ASSERT_EQ(display().drawCharacter(cv::Vector(10, 5), 'W', cv::YELLOW), 0);
  ASSERT_EQ(display().drawCharacter(cv::Vector(0, 0), 'g', cv::CYAN), 0);
  const sf::Image drawn = frame("glyphs");

  // The same glyphs drawn by the window library itself: bold, size 25, at
  // the cells' pixel corners, on the black background and nothing else.
  sf::Font font;
  ASSERT_TRUE(font.loadFromFile(CORVANE_TEST_FONT));
  sf::RenderTexture reference;
  ASSERT_TRUE(reference.create(1024, 768));
  reference.clear(sf::Color::Black);
  sf::Text text("W", font, 25);
  text.setStyle(sf::Text::Bold);
  text.setFillColor(sf::Color::Yellow);
  text.setPosition(128, 160);
  reference.draw(text);
  text.setString("g");
  text.setFillColor(sf::Color::Cyan);
  text.setPosition(0, 0);
  reference.draw(text);
  reference.display();
  const sf::Image expected = reference.getTexture().copyToImage();

  EXPECT_GT(countColor(drawn, sf::Color::Yellow, 128, 160, 148, 192), 40);
  EXPECT_EQ(differingPixels(drawn, expected), 0);
}

TEST_F(DisplayWindow, BackgroundRectangleBlanksTheCellUnderTheGlyph) {
  start("window_background_color:blue,");
  // Paint a red field, then draw one character into it.
  sf::RectangleShape field(sf::Vector2f(100, 100));
  field.setPosition(90, 130);
  field.setFillColor(sf::Color::Red);
  display().getWindow()->draw(field);
  ASSERT_EQ(display().drawCharacter(cv::Vector(10, 5), 'H', cv::GREEN), 0);
  const sf::Image image = frame("rectangle");

  // The cell's rectangle: a tenth of a cell left, a fifth down from (128, 160).
  const float left = 128 - 1.28f;
  const float top = 160 + 6.4f;
  int glyph = 0;
  for (unsigned int y = 130; y < 230; y++) {
    for (unsigned int x = 90; x < 190; x++) {
      const sf::Color pixel = image.getPixel(x, y);
      if (covers(left, 12.8f, x) && covers(top, 32, y)) {
        // Inside: the blue background or the green glyph blended over it.
        EXPECT_EQ(pixel.r, 0) << x << "," << y;
        if (pixel == sf::Color::Green) glyph++;
      } else if (x < left || x >= left + 16 || !covers(top, 32, y)) {
        // Outside, beyond the glyph's reach to the right: the red field is untouched.
        EXPECT_EQ(pixel, sf::Color::Red) << x << "," << y;
      }
    }
  }
  EXPECT_GT(glyph, 40);
  // Away from the field the window shows the background colour.
  EXPECT_EQ(image.getPixel(500, 500), sf::Color::Blue);
}

TEST_F(DisplayWindow, StringsLandInTheirJustifiedCells) {
  start();
  struct Case {
    std::string text;
    cv::Justification just;
    int first_cell;
  };
  const Case cases[] = {{"ABCDE", cv::LEFT_JUSTIFIED, 40},
                        {"ABCDE", cv::CENTER_JUSTIFIED, 38},
                        {"ABCDE", cv::RIGHT_JUSTIFIED, 35},
                        {"ABCD", cv::CENTER_JUSTIFIED, 38},
                        {"ABCDE", static_cast<cv::Justification>(7), 40}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text + " justification " + std::to_string(c.just));
    EXPECT_EQ(display().drawString(cv::Vector(40, 10), c.text, c.just, cv::MAGENTA), 0);
    const sf::Image as_string = frame("string-" + std::to_string(c.just) + "-" + c.text);
    for (size_t i = 0; i < c.text.size(); i++)
      display().drawCharacter(cv::Vector(static_cast<float>(c.first_cell) + static_cast<float>(i), 10), c.text[i],
                              cv::MAGENTA);
    const sf::Image by_cells = frame();
    EXPECT_GT(countColor(as_string, sf::Color::Magenta, 0, 320, 1024, 352), 100);
    EXPECT_EQ(differingPixels(as_string, by_cells), 0);
  }

  // An empty string draws nothing.
  EXPECT_EQ(display().drawString(cv::Vector(40, 10), "", cv::CENTER_JUSTIFIED, cv::MAGENTA), 0);
  const sf::Image empty = frame();
  EXPECT_EQ(countColor(empty, sf::Color::Black, 0, 0, 1024, 768), 1024 * 768);
}

TEST_F(DisplayWindow, DrawsRelativeToTheViewCorner) {
  start();
  display().drawString(cv::Vector(10, 5), "view", cv::LEFT_JUSTIFIED, cv::WHITE);
  const sf::Image at_origin = frame();
  cv::WorldManager::getInstance().setView(cv::Box(cv::Vector(5, 2), 80, 24));
  display().drawString(cv::Vector(15, 7), "view", cv::LEFT_JUSTIFIED, cv::WHITE);
  const sf::Image moved = frame();
  EXPECT_GT(countColor(moved, sf::Color::White, 0, 0, 1024, 768), 100);
  EXPECT_EQ(differingPixels(at_origin, moved), 0);
}

TEST_F(DisplayWindow, ColorsOfTheRgbFormAndCustom) {
  start();
  display().drawCharacter(cv::Vector(1, 1), '#', 10, 200, 30);
  display().drawCharacter(cv::Vector(3, 1), '#', cv::CUSTOM);
  const sf::Image image = frame();
  // '#' fills part of its cell; look in the cell's pixels for the colours.
  EXPECT_GT(countColor(image, sf::Color(10, 200, 30), 12, 32, 26, 64), 20);
  // CUSTOM carries no colour of its own in this form: it is drawn white.
  EXPECT_GT(countColor(image, sf::Color::White, 38, 32, 52, 64), 20);
}

TEST_F(DisplayWindow, SwapBuffersClearsTheBackBufferToTheBackground) {
  start("window_background_color:green,");
  display().drawString(cv::Vector(2, 2), "shown", cv::LEFT_JUSTIFIED, cv::RED);
  const sf::Image drawn = frame();
  EXPECT_GT(countColor(drawn, sf::Color::Red, 0, 0, 1024, 768), 100);
  const sf::Image next = frame();
  EXPECT_EQ(countColor(next, sf::Color::Green, 0, 0, 1024, 768), 1024 * 768);
}

namespace {

// An object that draws a string and a triangle shape at its position.
class Sign : public cv::Object {
 public:
  Sign() {
    cv::Shape triangle;
    triangle.setType(cv::TRIANGLE);
    triangle.setColor(cv::BLUE);
    setShape(triangle);
  }
  int draw() override {
    cv::DisplayManager::getInstance().drawString(getPosition(), "loop", cv::CENTER_JUSTIFIED, cv::YELLOW);
    return Object::draw();
  }
};

}  // namespace

TEST_F(DisplayWindow, GameLoopFrameHoldsTheWorldDrawing) {
  start("frame_time:1,");
  auto *sign = new Sign;
  sign->setPosition(cv::Vector(30, 12));
  auto *stopper = new cvtest::RecordingObject;
  stopper->registerInterest("cv-step");
  stopper->on_event = [](const cv::Event *event) {
    if (static_cast<const cv::EventStep *>(event)->getStepCount() == 5) cv::GameManager::getInstance().setGameOver();
  };
  cv::GameManager::getInstance().run();
  EXPECT_EQ(cv::GameManager::getInstance().getStepCount(), 6);
  // The last iteration's world drawing is in the back buffer.
  const sf::Image from_loop = frame("loop");

  display().drawString(cv::Vector(30, 12), "loop", cv::CENTER_JUSTIFIED, cv::YELLOW);
  sign->getShape().draw(cv::Vector(30, 12));
  const sf::Image direct = frame();
  EXPECT_GT(countColor(from_loop, sf::Color::Yellow, 0, 0, 1024, 768), 100);
  EXPECT_GT(countColor(from_loop, sf::Color::Blue, 0, 0, 1024, 768), 100);
  EXPECT_EQ(differingPixels(from_loop, direct), 0);
}

TEST_F(DisplayWindow, SecondStartUpKeepsTheOneWindow) {
  start();
  sf::RenderWindow *window = display().getWindow();
  EXPECT_EQ(display().startUp(), 0);
  EXPECT_EQ(engine->messages().back(), "DisplayManager::startUp(): Already started.");
  EXPECT_EQ(display().getWindow(), window);
  EXPECT_TRUE(window->isOpen());
}

TEST_F(DisplayWindow, RestartsWithANewWindowAfterShutDown) {
  start("window_background_color:red,");
  display().shutDown();
  EXPECT_EQ(display().getWindow(), nullptr);
  EXPECT_EQ(display().drawCharacter(cv::Vector(1, 1), 'x', cv::WHITE), -1);
  EXPECT_EQ(display().swapBuffers(), -1);
  EXPECT_EQ(engine->messages().back(), "DisplayManager not started!");

  ASSERT_EQ(display().startUp(), 0);
  ASSERT_NE(display().getWindow(), nullptr);
  EXPECT_TRUE(display().getWindow()->isOpen());
  EXPECT_EQ(display().drawCharacter(cv::Vector(1, 1), 'x', cv::WHITE), 0);
  const sf::Image image = frame();
  EXPECT_GT(countColor(image, sf::Color::White, 12, 32, 28, 64), 10);
  EXPECT_EQ(image.getPixel(600, 600), sf::Color::Red);
}

TEST(DisplayWindowStartUp, MissingFontRefusesStartUpAndClosesTheWindow) {
  TestEngine engine("font_file:/nonexistent/cv-font.ttf,");
  EXPECT_EQ(engine.start(), -1);
  const std::vector<std::string> messages = engine.messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2],
            "DisplayManager::startUp(): Unable to load font from file '/nonexistent/cv-font.ttf'.");
  EXPECT_EQ(messages.back(), "Error starting display manager!");
  // The engine's own words are the reason, not the library's line before them.
  EXPECT_EQ(cv::GameManager::getInstance().getStartUpFailure(),
            "DisplayManager::startUp(): Unable to load font from file '/nonexistent/cv-font.ttf'.");
  EXPECT_FALSE(cv::DisplayManager::getInstance().isStarted());
  EXPECT_EQ(cv::DisplayManager::getInstance().getWindow(), nullptr);
  engine.stop();
}

namespace {

// A shape of `type` and `color`, with the default size (24 pixels).
cv::Shape makeShape(cv::ShapeType type, cv::Color color) {
  cv::Shape shape;
  shape.setType(type);
  shape.setColor(color);
  return shape;
}

}  // namespace

// With the default grid and size 24: a circle at cell (20, 10) is centred on
// pixel (268, 332), a square at (40, 10) on (524, 323) with sides of about
// 17 pixels along the axes, and a triangle at (60, 10) points up from a base
// at y = 326 to its apex at (768, 308).
TEST_F(DisplayWindow, FiguresStandInTheirPlacesWhateverWasDrawnBefore) {
  start();
  cv::Shape circle = makeShape(cv::CIRCLE, cv::RED);
  cv::Shape square = makeShape(cv::SQUARE, cv::GREEN);
  cv::Shape triangle = makeShape(cv::TRIANGLE, cv::YELLOW);
  ASSERT_FLOAT_EQ(circle.getSize(), 24);
  // The square comes first: its turn must not carry over to the others.
  square.draw(cv::Vector(40, 10));
  circle.draw(cv::Vector(20, 10));
  triangle.draw(cv::Vector(60, 10));
  const sf::Image image = frame("shapes");

  const sf::Color black = sf::Color::Black;
  struct Probe {
    unsigned int x, y;
    sf::Color color;
  };
  const Probe probes[] = {
      // circle: centre, inside near the rim, outside the rim
      {268, 332, sf::Color::Red},
      {268, 312, sf::Color::Red},
      {248, 332, sf::Color::Red},
      {288, 332, sf::Color::Red},
      {268, 352, sf::Color::Red},
      {268, 305, black},
      {241, 332, black},
      {295, 332, black},
      {268, 359, black},
      // square: the four corner regions are filled, beyond the sides is empty
      {524, 323, sf::Color::Green},
      {517, 316, sf::Color::Green},
      {531, 316, sf::Color::Green},
      {517, 330, sf::Color::Green},
      {531, 330, sf::Color::Green},
      {513, 323, black},
      {535, 323, black},
      {524, 312, black},
      {524, 334, black},
      // triangle: near the apex, the middle and both base corners; beside the apex and below the base
      {768, 311, sf::Color::Yellow},
      {768, 320, sf::Color::Yellow},
      {760, 324, sf::Color::Yellow},
      {776, 324, sf::Color::Yellow},
      {760, 312, black},
      {776, 312, black},
      {768, 328, black}};
  for (const Probe &probe : probes)
    EXPECT_EQ(image.getPixel(probe.x, probe.y), probe.color) << probe.x << "," << probe.y;
  // Each figure stays within a few pixels around its place.
  EXPECT_EQ(countColor(image, sf::Color::Red, 0, 0, 1024, 768), countColor(image, sf::Color::Red, 240, 304, 297, 361));
  EXPECT_EQ(countColor(image, sf::Color::Green, 0, 0, 1024, 768),
            countColor(image, sf::Color::Green, 510, 309, 539, 338));
  EXPECT_EQ(countColor(image, sf::Color::Yellow, 0, 0, 1024, 768),
            countColor(image, sf::Color::Yellow, 754, 306, 782, 328));
  unsigned char r = 0, g = 0, b = 0;
  circle.getRGB(r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 0, 0}));
}

TEST_F(DisplayWindow, LargeCircleIsADecagon) {
  start();
  cv::Shape circle = makeShape(cv::CIRCLE, cv::WHITE);
  circle.setSize(100);
  circle.draw(cv::Vector(40, 12));
  const sf::Image image = frame();
  // Radius 100 around (512 + 50, 384 + 50). A corner points straight up, so
  // 98 pixels up is inside; the middle of the edge beside it is only 95.1
  // pixels out, so 98 pixels in that direction (18 degrees off) is outside.
  EXPECT_EQ(image.getPixel(562, 434 - 98), sf::Color::White);
  EXPECT_EQ(image.getPixel(562 + 30, 434 - 93), sf::Color::Black);  // (30.3, -93.2) is 98 out at 18 degrees
  EXPECT_EQ(image.getPixel(562 + 28, 434 - 87), sf::Color::White);  // 91.4 out in the same direction
}

TEST_F(DisplayWindow, CustomColourAndOpacityFillTheFigure) {
  start();
  cv::Shape shape = makeShape(cv::SQUARE, cv::CUSTOM);
  shape.setRGB(10, 200, 30);
  shape.setOpacity(128);
  shape.draw(cv::Vector(40, 10));
  // A figure of type undefined draws nothing, not the figure drawn before it.
  cv::Shape undefined = makeShape(cv::SHAPE_UNDEFINED, cv::RED);
  undefined.draw(cv::Vector(10, 5));
  const sf::Image image = frame();
  // Half-transparent over black: about half of each component.
  const sf::Color pixel = image.getPixel(524, 323);
  EXPECT_NEAR(pixel.r, 5, 1);
  EXPECT_NEAR(pixel.g, 100, 1);
  EXPECT_NEAR(pixel.b, 15, 1);
  EXPECT_EQ(countColor(image, sf::Color::Red, 0, 0, 1024, 768), 0);
  EXPECT_EQ(countColor(image, sf::Color::Black, 0, 0, 1024, 768) + countColor(image, pixel, 0, 0, 1024, 768),
            1024 * 768);
}
