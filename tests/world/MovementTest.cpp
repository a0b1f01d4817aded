#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Corvane.h"
#include "world/Probe.h"

using cv::Vector;
using worldtest::journal;
using worldtest::Probe;

namespace {

class MovementTest : public worldtest::WorldTest {};

class MovementLogTest : public worldtest::WorldTest {
 protected:
  MovementLogTest() : WorldTest("headless:true,log_level:5,") {}
};

const char *solidnessName(cv::Solidness solidness) {
  return solidness == cv::HARD ? "HARD" : solidness == cv::SOFT ? "SOFT" : "SPECTRAL";
}

}  // namespace

TEST_F(MovementTest, ObjectsOneCellApartDoNotTouch) {
  Probe mover("o", Vector(5, 5)), other("p", Vector(7, 5));
  EXPECT_EQ(worldtest::namesIn(world().getCollisions(&mover, Vector(6.01f, 5))), std::vector<std::string>{"p"});
  EXPECT_TRUE(world().getCollisions(&mover, Vector(6, 5)).isEmpty());
  EXPECT_TRUE(world().getCollisions(&mover, Vector(7, 6)).isEmpty());
  EXPECT_EQ(world().moveObject(&mover, Vector(6, 5)), 0);
  EXPECT_EQ(mover.getPosition(), Vector(6, 5));
  EXPECT_TRUE(journal.empty());
}

TEST_F(MovementTest, CollisionsSkipSelfSpectralAndInactive) {
  Probe mover("o", Vector(5, 5));
  Probe spectral("s", Vector(5.5f, 5), cv::SPECTRAL);
  Probe inactive("i", Vector(5.5f, 5));
  Probe soft("f", Vector(5.5f, 5), cv::SOFT);
  Probe hard("h", Vector(5, 5.5f));
  ASSERT_EQ(inactive.setActive(false), 0);
  EXPECT_EQ(worldtest::namesIn(world().getCollisions(&mover, Vector(5, 5))), (std::vector<std::string>{"f", "h"}));
}

TEST_F(MovementTest, SolidnessDecidesEventsAndMoving) {
  const struct {
    cv::Solidness mover, other;
    bool no_soft;
    bool events, moves;
  } rules[] = {
      {cv::HARD, cv::HARD, false, true, false},      {cv::HARD, cv::SOFT, false, true, true},
      {cv::HARD, cv::SOFT, true, true, false},       {cv::SOFT, cv::HARD, false, true, true},
      {cv::SOFT, cv::HARD, true, true, true},        {cv::SOFT, cv::SOFT, false, true, true},
      {cv::SOFT, cv::SOFT, true, true, false},       {cv::SPECTRAL, cv::HARD, false, false, true},
      {cv::SPECTRAL, cv::SOFT, true, false, true},   {cv::HARD, cv::SPECTRAL, true, false, true},
      {cv::SOFT, cv::SPECTRAL, false, false, true},
  };
  for (const auto &rule : rules) {
    SCOPED_TRACE(std::string(solidnessName(rule.mover)) + " into " + solidnessName(rule.other) +
                 (rule.no_soft ? " with no_soft" : ""));
    journal.clear();
    Probe mover("o", Vector(5, 5), rule.mover), other("p", Vector(7, 5), rule.other);
    mover.setNoSoft(rule.no_soft);
    const Vector where(6.5f, 5);
    EXPECT_EQ(world().moveObject(&mover, where), rule.moves ? 0 : -1);
    EXPECT_EQ(mover.getPosition(), rule.moves ? where : Vector(5, 5));
    if (rule.events) {
      EXPECT_EQ(journal, (std::vector<std::string>{"o cv-collision o->p", "p cv-collision o->p"}));
      EXPECT_EQ(other.last_collision_position, where);
    } else {
      EXPECT_TRUE(journal.empty());
    }
  }
}

TEST_F(MovementTest, EveryCollidingObjectGetsItsEventsInSceneGraphOrder) {
  Probe hard("h", Vector(7, 5)), soft("s", Vector(7, 5.5f), cv::SOFT), mover("o", Vector(5, 5));
  EXPECT_EQ(world().moveObject(&mover, Vector(6.5f, 5)), -1);
  EXPECT_EQ(mover.getPosition(), Vector(5, 5));
  EXPECT_EQ(journal, (std::vector<std::string>{"o cv-collision o->h", "h cv-collision o->h", "o cv-collision o->s",
                                               "s cv-collision o->s"}));

  // A new box re-inserts the hard object at the end of the lists: the order
  // of events follows.
  hard.setBox(cv::Box(cv::Vector(-0.5f, -0.5f), 0.98f, 0.98f));
  journal.clear();
  EXPECT_EQ(world().moveObject(&mover, Vector(6.5f, 5)), -1);
  EXPECT_EQ(journal, (std::vector<std::string>{"o cv-collision o->s", "s cv-collision o->s", "o cv-collision o->h",
                                               "h cv-collision o->h"}));
}

TEST_F(MovementTest, BlockingReadsTheSolidnessLeftByTheHandlers) {
  Probe wall("w", Vector(7, 5)), mover("o", Vector(5, 5));
  mover.on_event = [&](const cv::Event *) { mover.setSolidness(cv::SPECTRAL); };
  EXPECT_EQ(world().moveObject(&mover, Vector(6.5f, 5)), 0);
  EXPECT_EQ(mover.getPosition(), Vector(6.5f, 5));
  EXPECT_EQ(journal, (std::vector<std::string>{"o cv-collision o->w", "w cv-collision o->w"}));
}

TEST_F(MovementTest, UpdateMovesByTheVelocityAndStopsAtHardObjects) {
  auto *runner = new Probe("r", Vector(5, 5));
  new Probe("w", Vector(7.5f, 5));
  runner->setVelocity(Vector(1, 0));
  world().update();
  EXPECT_EQ(runner->getPosition(), Vector(6, 5));
  EXPECT_TRUE(journal.empty());
  world().update();  // 7 would meet the wall
  EXPECT_EQ(runner->getPosition(), Vector(6, 5));
  EXPECT_EQ(journal, (std::vector<std::string>{"r cv-collision r->w", "w cv-collision r->w"}));
}

TEST_F(MovementTest, NormalNamesTheSideOfApproach) {
  const Vector sides[] = {Vector(0, -1), Vector(0, 1),  Vector(-1, 0), Vector(1, 0),
                          Vector(-1, -1), Vector(1, -1), Vector(-1, 1), Vector(1, 1)};
  Probe other("b", Vector(10, 10));
  for (const Vector &side : sides) {
    SCOPED_TRACE(std::to_string(side.getX()) + "," + std::to_string(side.getY()));
    // Start two cells out on that side and head for the other object.
    Probe object("a", Vector(10 + 2 * side.getX(), 10 + 2 * side.getY()), cv::SPECTRAL);
    Vector velocity(-side.getX(), -side.getY());
    velocity.normalize();
    velocity.scale(1.5f);
    object.setVelocity(velocity);
    EXPECT_EQ(cv::getNormal(&object, &other), side);
  }
}

TEST_F(MovementTest, NormalWithoutContactIsZero) {
  Probe far("a", Vector(30, 10)), other("b", Vector(10, 10));
  EXPECT_EQ(cv::getNormal(&far, &other), Vector(0, 0));
  EXPECT_EQ(engine.messages().back(), "getNormal(): collision not detected. Returning (0,0).");
}

TEST_F(MovementTest, HardMoverAvoidingCollisionsSlidesAlongTheWall) {
  const float d = std::sqrt(0.5f);
  const struct {
    const char *face;
    Vector start, end;
  } slides[] = {
      {"top face: slides one cell right", Vector(9.5f, 8.5f), Vector(10.5f, 8.5f)},
      {"left face: slides one cell down", Vector(8.5f, 9.5f), Vector(8.5f, 10.5f)},
      {"top-left corner: the x part turns round", Vector(8.6f, 8.6f), Vector(8.6f - d, 8.6f + d)},
  };
  Probe wall("w", Vector(10, 10));
  for (const auto &slide : slides) {
    SCOPED_TRACE(slide.face);
    journal.clear();
    Probe mover("o", slide.start);
    mover.setAvoidCollisions(true);
    mover.setDirection(Vector(0.707f, 0.707f));
    mover.setSpeed(1);
    const Vector direction = mover.getDirection();
    EXPECT_EQ(world().moveObject(&mover, mover.predictPosition()), 0);
    EXPECT_NEAR(mover.getPosition().getX(), slide.end.getX(), 1e-4);
    EXPECT_NEAR(mover.getPosition().getY(), slide.end.getY(), 1e-4);
    EXPECT_EQ(mover.getDirection(), direction);
    EXPECT_FLOAT_EQ(mover.getSpeed(), 1);
    EXPECT_TRUE(journal.empty());
  }
}

TEST_F(MovementTest, SlideMeetsSoftObjectsWithEvents) {
  Probe wall("w", Vector(10, 10)), soft("s", Vector(10.5f, 8), cv::SOFT), mover("o", Vector(9.5f, 8.5f));
  mover.setAvoidCollisions(true);
  mover.setDirection(Vector(0.707f, 0.707f));
  mover.setSpeed(1);
  EXPECT_EQ(world().moveObject(&mover, mover.predictPosition()), 0);
  EXPECT_NEAR(mover.getPosition().getX(), 10.5f, 1e-4);
  EXPECT_EQ(journal, (std::vector<std::string>{"o cv-collision o->s", "s cv-collision o->s"}));
  EXPECT_NEAR(soft.last_collision_position.getX(), 10.5f, 1e-4);
}

TEST_F(MovementLogTest, BlockedSlideIsADoubleCollision) {
  Probe wall("w", Vector(10, 10)), block("b", Vector(11, 8.5f)), mover("o", Vector(9.5f, 8.5f));
  mover.setAvoidCollisions(true);
  mover.setDirection(Vector(0.707f, 0.707f));
  mover.setSpeed(1);
  EXPECT_EQ(world().moveObject(&mover, mover.predictPosition()), -1);
  EXPECT_EQ(mover.getPosition(), Vector(9.5f, 8.5f));
  EXPECT_EQ(engine.messages().back(),
            "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move.");
  EXPECT_TRUE(journal.empty());
}

TEST_F(MovementTest, SoftMoverDoesNotSlide) {
  Probe wall("w", Vector(10, 10)), mover("o", Vector(10, 8.5f), cv::SOFT);
  mover.setAvoidCollisions(true);
  mover.setDirection(Vector(0.707f, 0.707f));
  mover.setSpeed(1);
  const Vector where = mover.predictPosition();
  EXPECT_EQ(world().moveObject(&mover, where), 0);
  EXPECT_EQ(mover.getPosition(), where);
  EXPECT_EQ(journal, (std::vector<std::string>{"o cv-collision o->w", "w cv-collision o->w"}));
}

TEST_F(MovementTest, LeavingTheWorldIsToldOncePerExit) {
  // The boundary is 80 x 24 at (0, 0).
  Probe traveller("t", Vector(79, 10));
  const struct {
    Vector to;
    int outs;  // "cv-out" events so far
  } trip[] = {
      {Vector(80.4f, 10), 0},  // box still touches the boundary
      {Vector(81, 10), 1},     // gone
      {Vector(85, 10), 1},     // further out
      {Vector(79, 10), 1},     // back in
      {Vector(40, -2), 2},     // out over the top
  };
  for (const auto &leg : trip) {
    ASSERT_EQ(world().moveObject(&traveller, leg.to), 0);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "t cv-out"), leg.outs) << leg.to.getX();
  }
}
