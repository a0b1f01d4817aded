#include <gtest/gtest.h>

#include <SFML/Graphics/Color.hpp>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

TEST(Color, EngineColoursConvertToTheirRgb) {
  struct Case {
    cv::Color color;
    int r, g, b;
  };
  const Case cases[] = {{cv::BLACK, 0, 0, 0},      {cv::RED, 255, 0, 0},      {cv::GREEN, 0, 255, 0},
                        {cv::YELLOW, 255, 255, 0}, {cv::BLUE, 0, 0, 255},     {cv::MAGENTA, 255, 0, 255},
                        {cv::CYAN, 0, 255, 255},   {cv::WHITE, 255, 255, 255}};
  for (const Case &c : cases) {
    SCOPED_TRACE(static_cast<int>(c.color));
    unsigned char r = 7, g = 7, b = 7;
    cv::colorToRGB(c.color, r, g, b);
    EXPECT_EQ(r, c.r);
    EXPECT_EQ(g, c.g);
    EXPECT_EQ(b, c.b);
    EXPECT_EQ(cv::colorToSFML(c.color), sf::Color(c.r, c.g, c.b, 255));
  }
}

TEST(Color, CustomAndUnsupportedValuesLeaveRgbAndGiveWhite) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  unsigned char r = 1, g = 2, b = 3;
  const size_t logged = engine.messages().size();
  cv::colorToRGB(cv::CUSTOM, r, g, b);  // the caller's own RGB: nothing to say
  EXPECT_EQ(engine.messages().size(), logged);
  EXPECT_EQ(cv::colorToSFML(cv::CUSTOM), sf::Color::White);
  EXPECT_EQ(engine.messages().back(), "colorToSFML(): Color is CUSTOM.");

  for (int value : {-1, 9, 42}) {
    SCOPED_TRACE(value);
    const auto color = static_cast<cv::Color>(value);
    cv::colorToRGB(color, r, g, b);
    EXPECT_EQ(engine.messages().back(), "colorToRGB(): Color " + std::to_string(value) + " not supported.");
    EXPECT_EQ(cv::colorToSFML(color), sf::Color::White);
    EXPECT_EQ(engine.messages().back(), "colorToSFML(): Color " + std::to_string(value) + " not supported.");
  }
  EXPECT_EQ(r, 1);
  EXPECT_EQ(g, 2);
  EXPECT_EQ(b, 3);
  engine.stop();
}
