#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Corvane.h"
#include "path/PathWorld.h"
#include "path/Walker.h"

using cv::GridPoint;
using cv::Vector;
using pathtest::Walker;

namespace {

class PathFollowingTest : public pathtest::PathWorld {};

class GameLoopPathTest : public pathtest::PathWorld {
 protected:
  GameLoopPathTest() : PathWorld("headless:true,frame_time:10,") {}
};

// Ends the game loop once `walker` has found its path and followed it to
// the end, or after `max_steps` steps; notes the lowest row it reached.
class Director : public cv::Object {
 public:
  Director(const Walker &watched, int steps) : walker(watched), max_steps(steps) {
    setSolidness(cv::SPECTRAL);
    registerInterest(cv::STEP_EVENT);
  }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::STEP_EVENT)
      return 0;
    lowest_row = std::max(lowest_row, walker.getPosition().getY());
    const bool arrived = !walker.statuses.empty() && !walker.getFollowPath();
    if (arrived || ++steps_seen >= max_steps)
      cv::GameManager::getInstance().setGameOver();
    return 1;
  }
  const Walker &walker;  ///< the object watched
  int max_steps;         ///< steps before giving up
  int steps_seen = 0;    ///< steps seen so far
  float lowest_row = 0;  ///< largest y the walker reached
};

// A walker that counts the collision events it gets.
class Counter : public Walker {
 public:
  using Walker::Walker;
  int eventHandler(const cv::Event *event) override {
    if (event->getType() == cv::COLLISION_EVENT)
      collisions++;
    return Walker::eventHandler(event);
  }
  int collisions = 0;  ///< collision events received
};

// A walker at `where` with `speed`, following `nodes` from the first.
Walker *following(Vector where, float speed, std::vector<Vector> nodes) {
  auto *walker = new Walker(where, speed);
  walker->setPath(cv::Path(std::move(nodes)));
  walker->setFollowPath(true);
  return walker;
}

}  // namespace

TEST_F(PathFollowingTest, ObjectSnapsOntoNodesWithinThreeQuartersOfItsSpeed) {
  // Nodes 0.5 and then 0.4 away are both passed in one step; the third is
  // far, so the walker turns towards it.
  Walker *walker = following(Vector(5, 5), 1, {Vector(5.5f, 5), Vector(5.9f, 5), Vector(9, 5), Vector(9, 9)});
  cv::PathFollower::step(*walker);
  EXPECT_EQ(walker->getPosition(), Vector(5.9f, 5));
  EXPECT_EQ(walker->getPath().getIndex(), 2);
  EXPECT_EQ(walker->getDirection(), Vector(1, 0));
  EXPECT_TRUE(walker->getFollowPath());
}

TEST_F(PathFollowingTest, SnapDistanceIsInclusive) {
  const struct {
    float speed;
    Vector node;
    bool snaps;
  } cases[] = {
      {1, Vector(5.75f, 5), true},   {1, Vector(5.76f, 5), false}, {2, Vector(6.5f, 5), true},
      {0, Vector(5, 5), true},       {0, Vector(5, 5.01f), false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "speed " << c.speed << " node " << c.node.getX() << "," << c.node.getY());
    Walker *walker = following(Vector(5, 5), c.speed, {c.node, Vector(5, 20)});
    cv::PathFollower::step(*walker);
    EXPECT_EQ(walker->getPath().getIndex(), c.snaps ? 1 : 0);
    EXPECT_EQ(walker->getPosition(), c.snaps ? c.node : Vector(5, 5));
    Vector heading = (c.snaps ? Vector(5, 20) : c.node) - walker->getPosition();
    heading.normalize();
    EXPECT_EQ(walker->getDirection(), heading);
  }
}

TEST_F(PathFollowingTest, ObjectWithoutSpeedTurnsTowardsItsNodeAndNeverArrives) {
  Walker *walker = following(Vector(5, 5), 0, {Vector(5, 8)});
  for (int i = 0; i < 3; i++)
    world().update();
  EXPECT_EQ(walker->getPosition(), Vector(5, 5));
  EXPECT_EQ(walker->getDirection(), Vector(0, 1));
  EXPECT_EQ(walker->getPath().getIndex(), 0);
  EXPECT_TRUE(walker->getFollowPath());
}

TEST_F(PathFollowingTest, ObjectStopsOnTheLastNodeAndStopsFollowing) {
  // The first update snaps onto the start and turns towards (6,5); the
  // second moves there, snaps, and the path is done.
  Walker *walker = following(Vector(5, 5), 1, {Vector(5, 5), Vector(6, 5)});
  world().update();
  EXPECT_EQ(walker->getDirection(), Vector(1, 0));
  EXPECT_EQ(walker->getPath().getIndex(), 1);
  world().update();
  EXPECT_EQ(walker->getPosition(), Vector(6, 5));
  EXPECT_TRUE(walker->getPath().isDone());
  EXPECT_EQ(walker->getDirection(), Vector(0, 0));
  EXPECT_FALSE(walker->getFollowPath());
  world().update();
  EXPECT_EQ(walker->getPosition(), Vector(6, 5));
}

TEST_F(PathFollowingTest, ObjectNotFollowingIsLeftAlone) {
  auto *walker = new Walker(Vector(5, 5), 1);
  walker->setPath(cv::Path({Vector(5, 5.2f), Vector(9, 9)}));
  walker->setDirection(Vector(-1, 0));
  cv::PathFollower::step(*walker);
  EXPECT_EQ(walker->getPosition(), Vector(5, 5));
  EXPECT_EQ(walker->getDirection(), Vector(-1, 0));
  EXPECT_EQ(walker->getPath().getIndex(), 0);
}

TEST_F(PathFollowingTest, FoundPathIsFollowedNodeByNodeToItsEnd) {
  pathtest::wallDown(10, 0, 12);
  // A hard walker cuts past the wall's lower corner diagonally; it slides
  // along the corner instead of stopping there.
  auto *walker = new Walker(Vector(5, 5), 1);
  walker->setAvoidCollisions(true);
  ASSERT_EQ(walker->findPath(Vector(15, 5)), 0);
  std::vector<Vector> visited;
  for (int step = 0; step < 200 && (walker->statuses.empty() || walker->getFollowPath()); step++) {
    world().update();
    cv::PathManager::getInstance().cycle(0);
    if (visited.empty() || visited.back() != walker->getPosition())
      visited.push_back(walker->getPosition());
  }
  ASSERT_EQ(walker->statuses, std::vector<cv::PathStatus>{cv::FOUND});
  EXPECT_FALSE(walker->getFollowPath());
  EXPECT_EQ(walker->getPosition(), Vector(15, 5));
  EXPECT_EQ(walker->getVelocity(), Vector(0, 0));
  // Every node of the path was stood on, in order.
  const std::vector<Vector> &nodes = walker->paths.front().getNodes();
  std::size_t next = 0;
  for (const Vector &position : visited)
    if (next < nodes.size() && position == nodes[next])
      next++;
  EXPECT_EQ(next, nodes.size());
}

TEST_F(GameLoopPathTest, ObjectWalksAroundAWallToItsGoal) {
  // A wall from the top down to row 15 stands between the walker and its goal.
  pathtest::wallDown(40, 0, 15);
  auto *walker = new Walker(Vector(30, 5), 0.5f);
  walker->setAvoidCollisions(true);
  auto *director = new Director(*walker, 1000);
  ASSERT_EQ(walker->findPath(Vector(50, 5)), 0);

  cv::GameManager::getInstance().run();

  EXPECT_EQ(walker->statuses, std::vector<cv::PathStatus>{cv::FOUND});
  EXPECT_EQ(walker->getPosition(), Vector(50, 5));
  EXPECT_FALSE(walker->getFollowPath());
  EXPECT_GE(director->lowest_row, 16);  // round the wall's lower end
  EXPECT_LT(director->steps_seen, 1000);
}

TEST_F(PathFollowingTest, ChaserMeetsAHardTargetWithAndWithoutSliding) {
  for (const bool sliding : {false, true}) {
    SCOPED_TRACE(sliding ? "sliding" : "not sliding");
    const float row = sliding ? 15.0f : 5.0f;
    auto *target = new Counter(Vector(20, row));
    auto *chaser = new Counter(Vector(10, row), 0.25f);
    chaser->setAvoidCollisions(sliding);
    ASSERT_EQ(chaser->findPath(target->getPosition(), target), 0);
    for (int step = 0; step < 80; step++) {
      world().update();
      paths().cycle(0);
    }
    ASSERT_EQ(chaser->statuses, std::vector<cv::PathStatus>{cv::FOUND});
    // The path ends where the boxes would touch; the chaser stays short of it, still following.
    EXPECT_TRUE(cv::boxIntersectsBox(cv::getWorldBox(chaser, chaser->paths.front().getNodes().back()),
                                     cv::getWorldBox(target)));
    EXPECT_FALSE(cv::boxIntersectsBox(cv::getWorldBox(chaser), cv::getWorldBox(target)));
    EXPECT_TRUE(chaser->getFollowPath());
    // Only without sliding does the refused move reach both as a collision.
    EXPECT_EQ(chaser->collisions > 0, !sliding) << chaser->collisions;
    EXPECT_EQ(target->collisions, chaser->collisions);
    // Either way its next move would meet the target: how it learns of the catch.
    EXPECT_TRUE(cv::boxIntersectsBox(cv::getWorldBox(chaser, chaser->predictPosition()), cv::getWorldBox(target)));
  }
}
