#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

TEST(Shape, DefaultSizeFollowsTheGridAndFontScale) {
  // Before the grid exists the size is 0, not a division by zero.
  EXPECT_EQ(cv::Shape().getSize(), 0);

  struct Case {
    std::string settings;
    float size;
  };
  const Case cases[] = {
      // cell 12.8 x 32: 2 x 12
      {"window_horizontal_pixels:1024,window_vertical_pixels:768,window_horizontal_chars:80,window_vertical_chars:24,"
       "font_scale:2,",
       24},
      // cell 10 x 25: 1.5 x 10
      {"window_horizontal_pixels:800,window_vertical_pixels:600,window_horizontal_chars:80,window_vertical_chars:24,"
       "font_scale:1.5,",
       15},
      // cell 20 x 15.5: the height is smaller, cut to 15 before scaling
      {"window_horizontal_pixels:1000,window_vertical_pixels:155,window_horizontal_chars:50,window_vertical_chars:10,"
       "font_scale:2,",
       30}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.settings);
    TestEngine engine("headless:true," + c.settings);
    ASSERT_EQ(engine.start(), 0);
    const cv::Shape shape;
    EXPECT_FLOAT_EQ(shape.getSize(), c.size);
    EXPECT_EQ(shape.getType(), cv::CIRCLE);
    EXPECT_EQ(shape.getColor(), cv::WHITE);
    EXPECT_EQ(shape.getOpacity(), 255);
    unsigned char r = 0, g = 0, b = 0;
    shape.getRGB(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255}));
    // An object starts without a figure.
    const auto *object = new cv::Object;
    EXPECT_EQ(object->getShape().getType(), cv::SHAPE_UNDEFINED);
    engine.stop();
  }
}

TEST(Shape, SetTypeKeepsTheTypeOnUnknownValues) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  cv::Shape shape;
  for (int type : {cv::SQUARE, cv::TRIANGLE, cv::SHAPE_UNDEFINED, cv::CIRCLE}) {
    shape.setType(type);
    EXPECT_EQ(shape.getType(), type);
  }
  shape.setType(cv::TRIANGLE);
  for (int type : {3, -2, 1000}) {
    shape.setType(type);
    EXPECT_EQ(shape.getType(), cv::TRIANGLE);
    EXPECT_EQ(engine.messages().back(), "Shape::setType(): Unknown shape type " + std::to_string(type) + ". Ignoring.");
  }
  engine.stop();
}

TEST(Shape, PointCountFollowsTypeAndCircleSize) {
  struct Case {
    cv::ShapeType type;
    float size;
    int points;
  };
  const Case cases[] = {{cv::CIRCLE, 24, 10},  {cv::CIRCLE, 2, 3},          {cv::CIRCLE, 7.9f, 7},
                        {cv::CIRCLE, 3, 3},    {cv::CIRCLE, 10, 10},        {cv::CIRCLE, 10.5f, 10},
                        {cv::CIRCLE, -4, 3},   {cv::CIRCLE, NAN, 3},        {cv::SQUARE, 24, 4},
                        {cv::TRIANGLE, 24, 3}, {cv::SHAPE_UNDEFINED, 24, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " size " + std::to_string(c.size));
    cv::Shape shape;
    shape.setType(c.type);
    shape.setSize(c.size);
    EXPECT_EQ(shape.getPointCount(), c.points);
  }
}

TEST(Shape, DrawWithoutWindowOnlyLogs) {
  TestEngine engine("headless:true,log_level:30,");
  ASSERT_EQ(engine.start(), 0);
  cv::Shape shape;
  shape.setColor(cv::RED);
  const size_t logged = engine.messages().size();
  shape.draw(cv::Vector(5, 5));
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(std::vector<std::string>(messages.begin() + static_cast<long>(logged), messages.end()),
            std::vector<std::string>{"Shape::draw(): DisplayManager window not defined."});
  unsigned char r = 0, g = 0, b = 0;
  shape.getRGB(r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255}));
  engine.stop();
}
