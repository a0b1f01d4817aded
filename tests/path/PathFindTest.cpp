#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Corvane.h"
#include "path/PathWorld.h"

using cv::GridPoint;
using cv::Vector;
using pathtest::blockAt;

namespace {

class PathFindTest : public pathtest::PathWorld {};

bool contains(const std::vector<GridPoint> &cells, GridPoint cell) {
  return std::find(cells.begin(), cells.end(), cell) != cells.end();
}

const float ROOT_TWO = static_cast<float>(std::sqrt(2.0));

}  // namespace

TEST_F(PathFindTest, StartEqualToGoalIsFoundOnTheFirstStepWithAOneNodePath) {
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(5, 5));
  ASSERT_TRUE(search);
  EXPECT_EQ(search->getPath().getNodeCount(), 0);  // nothing until found
  EXPECT_EQ(search->cycleOnce(), cv::FOUND);
  const cv::Path path = search->getPath();
  EXPECT_EQ(path.getNodes(), std::vector<Vector>{Vector(5, 5)});
  EXPECT_EQ(path.getIndex(), 0);
  // A found search stays found when stepped again.
  EXPECT_EQ(search->cycleOnce(), cv::FOUND);
}

TEST_F(PathFindTest, OpenGroundGivesAShortestRouteByTheLaterOfEqualParents) {
  // (3,6) is expanded first, then (3,5), which reaches (4,6) at the same
  // cost as (3,6) did and so becomes its parent.
  cv::Object *walker = searcherAt(GridPoint(2, 5));
  auto search = cv::PathFind::create(walker, GridPoint(2, 5), GridPoint(6, 7));
  ASSERT_EQ(pathtest::runToEnd(*search), cv::FOUND);
  EXPECT_EQ(search->getPath().getNodes(),
            (std::vector<Vector>{Vector(2, 5), Vector(3, 5), Vector(4, 6), Vector(5, 7), Vector(6, 7)}));
  EXPECT_EQ(std::vector<GridPoint>(search->getClosedList().begin(), search->getClosedList().begin() + 3),
            (std::vector<GridPoint>{GridPoint(2, 5), GridPoint(3, 6), GridPoint(3, 5)}));
  EXPECT_EQ(search->getNode(GridPoint(6, 7))->cost, 1.0f + ROOT_TWO + ROOT_TWO + 1.0f);
}

TEST_F(PathFindTest, RouteGoesAroundAWallAndNeverThroughIt) {
  pathtest::wallDown(10, 0, 15);
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(15, 5));
  ASSERT_EQ(pathtest::runToEnd(*search), cv::FOUND);
  const cv::Path path = search->getPath();
  ASSERT_TRUE(pathtest::stepsCellByCell(path));
  EXPECT_EQ(path.getNodes().front(), Vector(5, 5));
  EXPECT_EQ(path.getNodes().back(), Vector(15, 5));
  float lowest = 0;
  for (const Vector &node : path.getNodes()) {
    EXPECT_FALSE(node.getX() == 10 && node.getY() <= 15) << node.getX() << "," << node.getY();
    lowest = std::max(lowest, node.getY());
  }
  EXPECT_EQ(lowest, 16);  // round the wall's lower end
}

TEST_F(PathFindTest, GoalInsideAHardWallIsReached) {
  pathtest::slabOver(GridPoint(10, 3), GridPoint(12, 7));
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(11, 5));
  ASSERT_EQ(pathtest::runToEnd(*search), cv::FOUND);
  const std::vector<Vector> nodes = search->getPath().getNodes();
  EXPECT_EQ(nodes.back(), Vector(11, 5));
  EXPECT_EQ(nodes[nodes.size() - 2], Vector(10, 5));  // through the wall it is heading for
}

TEST_F(PathFindTest, HardObjectThatDoesNotCoverTheGoalBlocksEvenBesideOneThatDoes) {
  // The goal's wall comes first in the world's lists; a second wall overlaps
  // its left column. The route may enter the goal's wall but not the other.
  pathtest::slabOver(GridPoint(10, 3), GridPoint(12, 7));
  pathtest::slabOver(GridPoint(10, 0), GridPoint(10, 23));
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(11, 5));
  EXPECT_EQ(pathtest::runToEnd(*search), cv::NOT_FOUND);
  EXPECT_EQ(search->getPath().getNodeCount(), 0);
}

TEST_F(PathFindTest, SoftAndSpectralObjectsDoNotBlock) {
  blockAt(GridPoint(6, 5), cv::SOFT);
  blockAt(GridPoint(7, 5), cv::SPECTRAL);
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(8, 5));
  ASSERT_EQ(pathtest::runToEnd(*search), cv::FOUND);
  EXPECT_EQ(search->getPath().getNodes(), (std::vector<Vector>{Vector(5, 5), Vector(6, 5), Vector(7, 5), Vector(8, 5)}));
}

TEST_F(PathFindTest, DiagonalStepPassesOneCornerButNotTwo) {
  const struct {
    const char *name;
    std::vector<GridPoint> blocks;
    bool diagonal_taken;
  } cases[] = {
      {"open", {}, true},
      {"corner above", {GridPoint(6, 5)}, true},
      {"corner beside", {GridPoint(5, 6)}, true},
      {"between two corners", {GridPoint(6, 5), GridPoint(5, 6)}, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<cv::Object *> blocks;
    for (GridPoint cell : c.blocks)
      blocks.push_back(blockAt(cell));
    cv::Object *walker = searcherAt(GridPoint(5, 5));
    auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(9, 9));
    EXPECT_EQ(search->cycleOnce(), cv::SEARCHING);
    EXPECT_EQ(contains(search->getOpenList(), GridPoint(6, 6)), c.diagonal_taken);
    for (GridPoint cell : c.blocks)
      EXPECT_FALSE(contains(search->getOpenList(), cell));
    blocks.push_back(walker);
    for (cv::Object *object : blocks)
      delete object;
  }
}

TEST_F(PathFindTest, AmongEqualEstimatesTheCellAddedLastIsExpandedFirst) {
  // Only (4,5) and (6,5) lead on towards the goal below, at equal estimates;
  // (6,5) is reached after (4,5).
  for (GridPoint cell : {GridPoint(4, 6), GridPoint(5, 6), GridPoint(6, 6)})
    blockAt(cell);
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(5, 8));
  EXPECT_EQ(search->cycleOnce(), cv::SEARCHING);
  const std::vector<GridPoint> open = search->getOpenList();
  ASSERT_EQ(open, (std::vector<GridPoint>{GridPoint(4, 4), GridPoint(5, 4), GridPoint(6, 4), GridPoint(4, 5),
                                          GridPoint(6, 5)}));
  EXPECT_EQ(search->getNode(GridPoint(4, 5))->estimate, search->getNode(GridPoint(6, 5))->estimate);
  search->cycleOnce();
  EXPECT_EQ(search->getClosedList(), (std::vector<GridPoint>{GridPoint(5, 5), GridPoint(6, 5)}));
}

TEST_F(PathFindTest, CellReachedAgainAtTheSameCostTakesTheLaterParent) {
  // The start can go only right or up-right; the goal makes (6,5) come
  // first and (6,4) second. (7,4) costs 1 + root 2 through either.
  for (GridPoint cell : {GridPoint(4, 4), GridPoint(5, 4), GridPoint(4, 5), GridPoint(4, 6), GridPoint(5, 6),
                         GridPoint(6, 6), GridPoint(7, 5), GridPoint(7, 6)})
    blockAt(cell);
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(9, 6));
  search->cycleOnce();
  search->cycleOnce();
  ASSERT_EQ(search->getClosedList().back(), GridPoint(6, 5));
  EXPECT_EQ(search->getNode(GridPoint(7, 4))->parent, GridPoint(6, 5));
  const float cost = search->getNode(GridPoint(7, 4))->cost;
  EXPECT_EQ(cost, 1.0f + ROOT_TWO);
  // A dearer route leaves an open cell alone: (6,5) offers (6,4) a cost of 2.
  EXPECT_EQ(search->getNode(GridPoint(6, 4))->parent, GridPoint(5, 5));
  EXPECT_EQ(search->getNode(GridPoint(6, 4))->cost, ROOT_TWO);

  search->cycleOnce();
  ASSERT_EQ(search->getClosedList().back(), GridPoint(6, 4));
  EXPECT_EQ(search->getNode(GridPoint(7, 4))->parent, GridPoint(6, 4));
  EXPECT_EQ(search->getNode(GridPoint(7, 4))->cost, cost);
}

TEST_F(PathFindTest, StartBoxedInOnAllEightSidesIsNotFoundOnTheFirstStep) {
  for (int y = 4; y <= 6; y++)
    for (int x = 4; x <= 6; x++)
      if (x != 5 || y != 5)
        blockAt(GridPoint(x, y));
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  auto search = cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(20, 5));
  EXPECT_EQ(search->cycleOnce(), cv::NOT_FOUND);
  EXPECT_TRUE(search->getOpenList().empty());
  EXPECT_EQ(search->getPath().getNodeCount(), 0);
  // Stepped on (its object never lets it go), it stays as it is.
  for (int i = 0; i < 100; i++)
    EXPECT_EQ(search->cycleOnce(), cv::NOT_FOUND);
  EXPECT_EQ(search->getClosedList(), std::vector<GridPoint>{GridPoint(5, 5)});
}

TEST_F(PathFindTest, NeighboursStayInsideTheBoundaryAndTheNodeGraph) {
  const auto insideOf = [](const std::vector<GridPoint> &cells, int width, int height) {
    return std::all_of(cells.begin(), cells.end(), [&](GridPoint cell) {
      return cell.x >= 0 && cell.y >= 0 && cell.x < width && cell.y < height;
    });
  };
  // Corners of the 80 x 24 world: nothing in row -1, column 80 or row 24.
  for (GridPoint corner : {GridPoint(0, 0), GridPoint(79, 23)}) {
    cv::Object *walker = searcherAt(corner);
    auto search = cv::PathFind::create(walker, corner, GridPoint(40, 12));
    search->cycleOnce();
    EXPECT_EQ(search->getOpenList().size(), 3u) << corner;
    EXPECT_TRUE(insideOf(search->getOpenList(), 80, 24)) << corner;
    delete walker;
  }
  // A boundary grown during a search: the search keeps to its own graph.
  cv::Object *walker = searcherAt(GridPoint(79, 23));
  auto grown = cv::PathFind::create(walker, GridPoint(79, 23), GridPoint(40, 12));
  world().setBoundary(cv::Box(Vector(), 100, 50));
  grown->cycleOnce();
  EXPECT_EQ(grown->getOpenList().size(), 3u);
  // A boundary shrunk during a search: cells outside it are no longer added.
  world().setBoundary(cv::Box(Vector(), 79, 23));
  const std::vector<GridPoint> before = grown->getOpenList();
  grown->cycleOnce();
  std::vector<GridPoint> added;
  for (GridPoint cell : grown->getOpenList())
    if (!contains(before, cell))
      added.push_back(cell);
  EXPECT_FALSE(added.empty());
  EXPECT_TRUE(insideOf(added, 79, 23));
  EXPECT_EQ(pathtest::runToEnd(*grown), cv::FOUND);
}

TEST_F(PathFindTest, SearchesThatCannotBeMadeAreRefusedWithAMessage) {
  cv::Object *walker = searcherAt(GridPoint(5, 5));
  EXPECT_FALSE(cv::PathFind::create(walker, GridPoint(-1, 5), GridPoint(10, 5)));
  EXPECT_FALSE(cv::PathFind::create(walker, GridPoint(5, 5), GridPoint(80, 5)));
  EXPECT_FALSE(cv::PathFind::create(nullptr, GridPoint(5, 5), GridPoint(10, 5)));
  EXPECT_FALSE(cv::PathFind::create(walker, Vector(10, 24.5f)));
  EXPECT_TRUE(cv::PathFind::create(walker, Vector(79.9f, -0.4f)));  // on the boundary's edges
  walker->setPosition(Vector(-3, 5));
  EXPECT_FALSE(cv::PathFind::create(walker, Vector(10, 5)));
  EXPECT_EQ(walker->setPosition(Vector(NAN, 5)), -1);  // refused: the walker stays outside
  EXPECT_FALSE(cv::PathFind::create(walker, Vector(10, 5)));
  walker->setPosition(Vector(5, 5));
  world().setBoundary(cv::Box(Vector(), 4, 4));  // shrunk past the object
  EXPECT_FALSE(cv::PathFind::create(walker, Vector(1, 1)));
  world().setBoundary(cv::Box(Vector(), 2000, 1000));
  EXPECT_FALSE(cv::PathFind::create(walker, Vector(1, 1)));
  world().setBoundary(cv::Box(Vector(), 1e30f, 1e30f));
  EXPECT_FALSE(cv::PathFind::create(walker, Vector(1, 1)));
  world().setBoundary(cv::Box(Vector(), 1024, 1024));  // the largest allowed
  EXPECT_TRUE(cv::PathFind::create(walker, Vector(1, 1)));

  const std::vector<std::string> expected = {
      "PathFind::create(): Error! start (-1,5) outside the world's 80 x 24 cells.  Cannot find path.",
      "PathFind::create(): Error! goal (80,5) outside the world's 80 x 24 cells.  Cannot find path.",
      "PathFind::create(): Error! no object to find a path for.",
      "PathFind::create(): Error! goal (10.00,24.50) outside the world.  Cannot find path.",
      "PathFind::create(): Error! object at (-3.00,5.00) outside the world.  Cannot find path.",
      "Object::setPosition(): Warning! Position (nan, 5) not finite. Ignored.",
      "PathFind::create(): Error! object at (-3.00,5.00) outside the world.  Cannot find path.",
      "PathFind::create(): Error! object at (5.00,5.00) outside the world.  Cannot find path.",
      "PathFind::create(): Error! world of 2000 x 1000 cells too large for a path search (at most 1048576 cells).",
      "PathFind::create(): Error! world of 1000000015047466219876688855040 x 1000000015047466219876688855040 cells "
      "too large for a path search (at most 1048576 cells).",
  };
  const std::vector<std::string> logged = engine.messagesFrom(expected.front());
  EXPECT_EQ(std::vector<std::string>(logged.begin(), logged.begin() + std::min(logged.size(), expected.size())),
            expected);
}

TEST_F(PathFindTest, TargetEndsTheSearchWhereTheObjectWouldMeetIt) {
  // A 3 x 3 target on (10,5): an object on (9,5) already touches it.
  cv::Object *target = blockAt(GridPoint(10, 5));
  target->setBox(cv::Box(Vector(-1.5f, -1.5f), 3, 3));
  cv::Object *walker = searcherAt(GridPoint(3, 5));
  auto search = cv::PathFind::create(walker, GridPoint(3, 5), GridPoint(10, 5), target);
  ASSERT_EQ(pathtest::runToEnd(*search), cv::FOUND);
  EXPECT_EQ(search->getGoal(), GridPoint(9, 5));
  EXPECT_EQ(search->getPath().getNodes().back(), Vector(9, 5));
  EXPECT_EQ(search->getPath().getNodeCount(), 7);
}
