#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Corvane.h"

using cv::Box;
using cv::Vector;

TEST(Vector, NormalizeKeepsZeroAndScalesToUnitLength) {
  Vector zero;
  zero.normalize();
  EXPECT_EQ(zero, Vector(0, 0));

  Vector v(3, 4);
  EXPECT_FLOAT_EQ(v.getMagnitude(), 5);
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), 0.6f);
  EXPECT_FLOAT_EQ(v.getY(), 0.8f);
  EXPECT_FLOAT_EQ(v.getMagnitude(), 1);

  Vector negative(0, -2);
  negative.normalize();
  EXPECT_EQ(negative, Vector(0, -1));
}

TEST(Vector, MagnitudeDoesNotOverflowOnTheWay) {
  // Squaring these in float gives infinity; their length is well inside the range.
  EXPECT_FLOAT_EQ(Vector(3e20f, 4e20f).getMagnitude(), 5e20f);
  EXPECT_FLOAT_EQ(Vector(0, 1e30f).getMagnitude(), 1e30f);
  Vector huge(0, 1e30f);
  huge.normalize();
  EXPECT_EQ(huge, Vector(0, 1));
  // Only a length beyond the float range itself is infinite.
  EXPECT_TRUE(std::isinf(Vector(3e38f, 3e38f).getMagnitude()));
  Vector not_finite(std::numeric_limits<float>::infinity(), 1);
  not_finite.normalize();
  EXPECT_FALSE(not_finite.isFinite());
  EXPECT_EQ(not_finite.getY(), 1);
}

TEST(Vector, NormalizingAUnitVectorKeepsItBitForBit) {
  const Vector cases[] = {Vector(1, 1), Vector(3, 4), Vector(-7, 0.001f), Vector(1e-30f, -2e-30f), Vector(5, -12)};
  for (const Vector &c : cases) {
    SCOPED_TRACE(c.getX());
    Vector once = c;
    once.normalize();
    Vector twice = once;
    twice.normalize();
    EXPECT_EQ(twice, once);
    EXPECT_NEAR(once.getMagnitude(), 1, 2e-7);
  }
  // A unit vector as written with nine digits, which normalising in float used to change.
  Vector diagonal(0.70710677f, 0.70710677f);
  diagonal.normalize();
  EXPECT_EQ(diagonal, Vector(0.70710677f, 0.70710677f));
  // Near but not within rounding of 1: scaled.
  Vector almost(0.707f, 0.707f);
  almost.normalize();
  EXPECT_NE(almost, Vector(0.707f, 0.707f));
}

TEST(Vector, ArithmeticAndComparison) {
  Vector a(1.5f, -2);
  const Vector b(0.5f, 3);
  EXPECT_EQ(a + b, Vector(2, 1));
  EXPECT_EQ(a - b, Vector(1, -5));
  a += b;
  EXPECT_EQ(a, Vector(2, 1));
  a.scale(-0.5f);
  EXPECT_EQ(a, Vector(-1, -0.5f));
  EXPECT_NE(Vector(1, 2), Vector(1, 2.0001f));
  EXPECT_NE(Vector(1, 2), Vector(1.0001f, 2));
  a.setXY(7, 8);
  EXPECT_EQ(a, Vector(7, 8));
}

TEST(Box, DefaultAndEquality) {
  EXPECT_EQ(Box(), Box(Vector(0, 0), 0, 0));
  EXPECT_NE(Box(Vector(1, 1), 2, 3), Box(Vector(1, 1), 2, 3.5f));
  EXPECT_NE(Box(Vector(1, 1), 2, 3), Box(Vector(1, 0), 2, 3));
  // Negative extents are kept as given.
  const Box negative(Vector(0, 0), -2, -1);
  EXPECT_FLOAT_EQ(negative.getHorizontal(), -2);
  EXPECT_FLOAT_EQ(negative.getVertical(), -1);
}

TEST(Geometry, BoxIntersectsBoxCountsEdgesAndCorners) {
  struct Case {
    Box a, b;
    bool meets;
  };
  const Case cases[] = {
      {Box(Vector(0, 0), 1, 1), Box(Vector(1, 0), 1, 1), true},          // shared edge
      {Box(Vector(0, 0), 0.99f, 0.99f), Box(Vector(1, 0), 1, 1), false},  // just apart
      {Box(Vector(0, 0), 1, 1), Box(Vector(1, 1), 1, 1), true},          // shared corner
      {Box(Vector(0, 0), 1, 1), Box(Vector(0, 1.01f), 1, 1), false},     // apart vertically
      {Box(Vector(0, 0), 10, 10), Box(Vector(4, 4), 1, 1), true},        // inside
      {Box(Vector(4, 4), 1, 1), Box(Vector(0, 0), 10, 10), true},        // around
      {Box(Vector(0, 3), 10, 1), Box(Vector(3, 0), 1, 10), true},        // a cross, no corner inside
      {Box(Vector(2, 2), 0, 0), Box(Vector(0, 0), 2, 2), true},          // a point on the corner
      {Box(Vector(2.5f, 1), 0, 0), Box(Vector(0, 0), 2, 2), false},      // a point outside
      {Box(Vector(5, 0), 1, 1), Box(Vector(0, 0), 2, 2), false},         // apart horizontally
  };
  for (const Case &c : cases) {
    EXPECT_EQ(cv::boxIntersectsBox(c.a, c.b), c.meets)
        << "a corner (" << c.a.getCorner().getX() << "," << c.a.getCorner().getY() << ") b corner ("
        << c.b.getCorner().getX() << "," << c.b.getCorner().getY() << ")";
    EXPECT_EQ(cv::boxIntersectsBox(c.b, c.a), c.meets) << "swapped";
  }
}

TEST(Geometry, DistanceAndValueInRange) {
  EXPECT_FLOAT_EQ(cv::distance(Vector(1, 1), Vector(4, 5)), 5);
  EXPECT_FLOAT_EQ(cv::distance(Vector(4, 5), Vector(1, 1)), 5);
  EXPECT_FLOAT_EQ(cv::distance(Vector(-2, 7), Vector(-2, 7)), 0);

  EXPECT_TRUE(cv::valueInRange(4, 0, 4));
  EXPECT_TRUE(cv::valueInRange(0, 0, 4));
  EXPECT_FALSE(cv::valueInRange(4.01f, 0, 4));
  EXPECT_FALSE(cv::valueInRange(-0.01f, 0, 4));
}

TEST(Geometry, WorldBoxMovesTheObjectBox) {
  cv::Object object;  // the world is stopped: the object is not inserted
  object.setPosition(Vector(10, 20));
  EXPECT_EQ(cv::getWorldBox(&object), Box(Vector(9.5f, 19.5f), 0.99f, 0.99f));
  EXPECT_EQ(cv::getWorldBox(&object, Vector(-1, 2)), Box(Vector(-1.5f, 1.5f), 0.99f, 0.99f));
}

TEST(Geometry, ViewConversionsUseTheViewCorner) {
  cv::WorldManager::getInstance().setView(Box(Vector(30, 12), 80, 24));
  EXPECT_EQ(cv::worldToView(Vector(35, 20)), Vector(5, 8));
  EXPECT_EQ(cv::viewToWorld(Vector(5, 8)), Vector(35, 20));
}
