#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

namespace {

std::string outOfRange(int location) {
  return "ViewObject::setLocation(): Warning! Location out of range (" + std::to_string(location) + "). Ignored.";
}

// Sends a view event through the world's dispatch; returns how many objects got it.
int sendView(const std::string &tag, int value, bool delta) {
  const cv::EventView event(tag, value, delta);
  return cv::WorldManager::getInstance().onEvent(&event);
}

}  // namespace

TEST(ViewObject, NewObjectSitsAtTopCentreWithDefaults) {
  TestEngine engine;  // 80 by 24 cells
  ASSERT_EQ(engine.start(), 0);
  cv::ViewObject view_object;
  EXPECT_EQ(view_object.getPosition(), cv::Vector(40, 1));
  EXPECT_EQ(view_object.getLocation(), cv::TOP_CENTER);
  EXPECT_EQ(view_object.getViewString(), "");
  EXPECT_EQ(view_object.getValue(), 0);
  EXPECT_TRUE(view_object.getBorder());
  EXPECT_TRUE(view_object.getDrawValue());
  EXPECT_EQ(view_object.getColor(), cv::WHITE);
  EXPECT_EQ(view_object.getType(), "ViewObject");
  EXPECT_EQ(view_object.getSolidness(), cv::SPECTRAL);
  EXPECT_EQ(view_object.getAltitude(), cv::MAX_ALTITUDE);
  for (int attribute = cv::VIEW_STRING; attribute <= cv::DRAW_VALUE; attribute++)
    EXPECT_TRUE(view_object.isModified(static_cast<cv::ViewObjectAttribute>(attribute))) << attribute;
  EXPECT_EQ(sendView("", 2, true), 1);  // it listens to view events from the start
  EXPECT_EQ(view_object.getValue(), 2);
}

TEST(ViewObject, NineLocationsWithAndWithoutBorder) {
  TestEngine engine("headless:true,window_horizontal_chars:60,window_vertical_chars:24,");
  ASSERT_EQ(engine.start(), 0);
  struct Case {
    cv::ViewLocation location;
    cv::Vector bordered;
    cv::Vector plain;
  };
  const Case cases[] = {
      {cv::TOP_LEFT, {10, 1}, {10, 0}},        {cv::TOP_CENTER, {30, 1}, {30, 0}},
      {cv::TOP_RIGHT, {50, 1}, {50, 0}},       {cv::CENTER_LEFT, {10, 12}, {10, 11}},
      {cv::CENTER_CENTER, {30, 12}, {30, 11}}, {cv::CENTER_RIGHT, {50, 12}, {50, 11}},
      {cv::BOTTOM_LEFT, {10, 22}, {10, 23}},   {cv::BOTTOM_CENTER, {30, 22}, {30, 23}},
      {cv::BOTTOM_RIGHT, {50, 22}, {50, 23}},
  };
  cv::ViewObject view_object;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.location);
    view_object.setLocation(c.location);
    EXPECT_EQ(view_object.getPosition(), c.bordered);
    EXPECT_EQ(view_object.getLocation(), c.location);
    view_object.setBorder(false);  // re-placed by the border rule
    EXPECT_EQ(view_object.getPosition(), c.plain);
    EXPECT_EQ(view_object.getLocation(), c.location);
    view_object.setLocation(c.location);
    EXPECT_EQ(view_object.getPosition(), c.plain);
    view_object.setBorder(true);
    EXPECT_EQ(view_object.getPosition(), c.bordered);
  }
}

TEST(ViewObject, LocationsUseTheViewSizeInFloats) {
  TestEngine engine;  // 80 by 24 cells
  ASSERT_EQ(engine.start(), 0);
  cv::ViewObject view_object;
  view_object.setLocation(cv::TOP_LEFT);
  EXPECT_FLOAT_EQ(view_object.getPosition().getX(), 13.333333f);
  view_object.setLocation(cv::BOTTOM_RIGHT);
  EXPECT_FLOAT_EQ(view_object.getPosition().getX(), 66.666667f);
  EXPECT_EQ(view_object.getPosition().getY(), 22);
  // A later change of the view leaves the object where it is until it is placed again.
  cv::WorldManager::getInstance().setView(cv::Box(cv::Vector(0, 0), 60, 30));
  EXPECT_EQ(view_object.getPosition().getY(), 22);
  view_object.setLocation(cv::BOTTOM_RIGHT);
  EXPECT_EQ(view_object.getPosition(), cv::Vector(50, 28));
}

TEST(ViewObject, OutOfRangeLocationsWarnAndChangeNothing) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  cv::ViewObject view_object;
  view_object.setLocation(cv::BOTTOM_LEFT);
  const cv::Vector before = view_object.getPosition();
  for (int location : {9, -1, 15}) {
    view_object.setLocation(static_cast<cv::ViewLocation>(location));
    EXPECT_EQ(engine.messages().back(), outOfRange(location));
    EXPECT_EQ(view_object.getPosition(), before);
    EXPECT_EQ(view_object.getLocation(), cv::BOTTOM_LEFT);
  }
}

TEST(ViewObject, DirectPositionDropsTheLocationOnlyWhenItMoves) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  cv::ViewObject view_object;
  EXPECT_EQ(view_object.setPosition(cv::Vector(40, 1)), 0);  // where it already is
  EXPECT_EQ(view_object.getLocation(), cv::TOP_CENTER);
  EXPECT_EQ(view_object.setPosition(cv::Vector(NAN, 7)), -1);  // refused: nothing changes
  EXPECT_EQ(view_object.getLocation(), cv::TOP_CENTER);
  EXPECT_EQ(view_object.getPosition(), cv::Vector(40, 1));
  EXPECT_EQ(view_object.setPosition(cv::Vector(5, 7)), 0);
  EXPECT_EQ(view_object.getLocation(), cv::UNDEFINED_LOCATION);
  EXPECT_EQ(view_object.getPosition(), cv::Vector(5, 7));
  // Without a named place the border setting does not move it.
  view_object.setBorder(false);
  EXPECT_EQ(view_object.getPosition(), cv::Vector(5, 7));
  EXPECT_FALSE(view_object.getBorder());
  EXPECT_EQ(view_object.getLocation(), cv::UNDEFINED_LOCATION);
}

TEST(ViewObject, ViewEventsAddOrReplaceWhenTheTagMatchesExactly) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  cv::ViewObject points;
  points.setViewString("Points");
  cv::ViewObject bullets;
  bullets.setViewString("Bullets");
  bullets.setValue(7);

  EXPECT_EQ(sendView("Points", 10, true), 2);  // both listen, only one takes it
  sendView("Points", 5, true);
  EXPECT_EQ(points.getValue(), 15);
  sendView("Points", 3, false);
  EXPECT_EQ(points.getValue(), 3);
  EXPECT_EQ(bullets.getValue(), 7);

  const cv::EventView other_case("points", 100, false);
  EXPECT_EQ(points.eventHandler(&other_case), 0);
  const cv::EventView longer("Points ", 100, false);
  EXPECT_EQ(points.eventHandler(&longer), 0);
  EXPECT_EQ(points.getValue(), 3);

  const cv::EventView same("Points", 3, false);
  EXPECT_EQ(points.eventHandler(&same), 1);  // taken even when nothing changes
  const cv::EventView negative("Bullets", -9, true);
  EXPECT_EQ(bullets.eventHandler(&negative), 1);
  EXPECT_EQ(bullets.getValue(), -2);

  const cv::EventStep step;
  EXPECT_EQ(points.eventHandler(&step), 0);
}
