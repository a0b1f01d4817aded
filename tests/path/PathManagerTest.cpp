#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Corvane.h"
#include "path/PathWorld.h"
#include "path/Walker.h"

using cv::GridPoint;
using cv::Vector;
using pathtest::Walker;

namespace {

class PathManagerTest : public pathtest::PathWorld {};

class PathManagerLogTest : public pathtest::PathWorld {
 protected:
  PathManagerLogTest() : PathWorld("headless:true,log_level:5,frame_time:50,") {}
};

class UnpacedPathManagerTest : public pathtest::PathWorld {
 protected:
  UnpacedPathManagerTest() : PathWorld("headless:true,frame_time:0,") {}
};

// Cycles until no search is left or `calls` calls have been made.
void cycleUntilIdle(int calls = 1000) {
  cv::PathManager &path_manager = cv::PathManager::getInstance();
  for (int i = 0; i < calls && path_manager.getSearchCount() > 0; i++)
    path_manager.cycle(0);
}

// Surrounds `cell` with HARD blocks on all eight sides.
void boxIn(GridPoint cell) {
  for (int y = cell.y - 1; y <= cell.y + 1; y++)
    for (int x = cell.x - 1; x <= cell.x + 1; x++)
      if (x != cell.x || y != cell.y)
        pathtest::blockAt(GridPoint(x, y));
}

}  // namespace

TEST_F(PathManagerLogTest, StartsWithATenthOfTheFrameTimeAndSaysSo) {
  EXPECT_EQ(paths().getCycleTime(), 5);
  EXPECT_EQ(paths().startUp(), 0);
  engine.stop();
  std::vector<std::string> path_lines;
  for (const std::string &message : engine.messages())
    if (message.find("PathManager") != std::string::npos || message.find("Path manager") != std::string::npos)
      path_lines.push_back(message);
  EXPECT_EQ(path_lines, (std::vector<std::string>{"PathManager::startUp(): successfully started.", "Path manager started.",
                                                  "PathManager::startup(): already started.",
                                                  "PathManager::shutDown(): successfully stopped.",
                                                  "Path manager stopped"}));
}

TEST_F(PathManagerLogTest, CycleWithoutSearchesReturnsAtOnce) {
  cv::Clock clock;
  paths().cycle(500);
  EXPECT_LT(clock.split(), 250000);
  EXPECT_FALSE(engine.logged("PathManager::cycle(): cycle time 500 exceeded."));
}

TEST_F(PathManagerTest, EndedSearchesAreHandedToTheirObjectsWhichFollowAndDropThem) {
  auto *left = new Walker(Vector(2, 2)), *right = new Walker(Vector(70, 20));
  ASSERT_EQ(left->findPath(Vector(5, 2)), 0);
  ASSERT_EQ(right->findPath(Vector(68, 22)), 0);
  EXPECT_EQ(paths().getSearchCount(), 2);
  cycleUntilIdle();
  EXPECT_EQ(paths().getSearchCount(), 0);
  ASSERT_EQ(left->statuses, std::vector<cv::PathStatus>{cv::FOUND});
  EXPECT_EQ(left->getPath().getNodes(), (std::vector<Vector>{Vector(2, 2), Vector(3, 2), Vector(4, 2), Vector(5, 2)}));
  EXPECT_EQ(left->getPath().getIndex(), 0);
  EXPECT_TRUE(left->getFollowPath());
  ASSERT_EQ(right->statuses, std::vector<cv::PathStatus>{cv::FOUND});
  EXPECT_EQ(right->getPath().getNodes(), (std::vector<Vector>{Vector(70, 20), Vector(69, 21), Vector(68, 22)}));
}

TEST_F(PathManagerTest, SearchKeptByAnObjectThatSwallowsItsPathEventIsReportedOnceThenEnded) {
  // A handler that takes path events without passing them on to the engine's.
  class Deaf : public Walker {
   public:
    using Walker::Walker;
    int eventHandler(const cv::Event *event) override {
      if (const auto *path_event = dynamic_cast<const cv::EventPath *>(event))
        statuses.push_back(path_event->getStatus());
      return 1;
    }
  };
  auto *deaf = new Deaf(Vector(2, 2));
  ASSERT_EQ(deaf->findPath(Vector(5, 2)), 0);
  for (int i = 0; i < 50; i++)
    paths().cycle(0);
  EXPECT_EQ(deaf->statuses, std::vector<cv::PathStatus>{cv::FOUND});
  EXPECT_EQ(paths().getSearchCount(), 0);
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(std::count(messages.begin(), messages.end(),
                       "PathManager::cycle(): Warning! Object " + std::to_string(deaf->getId()) +
                           " did not end its search on the path event; the search is ended."),
            1);
  // It can search again, and is told again (once).
  ASSERT_EQ(deaf->findPath(Vector(2, 6)), 0);
  for (int i = 0; i < 50; i++)
    paths().cycle(0);
  EXPECT_EQ(deaf->statuses, (std::vector<cv::PathStatus>{cv::FOUND, cv::FOUND}));
  EXPECT_EQ(paths().getSearchCount(), 0);
}

TEST_F(PathManagerTest, FailedSearchLeavesTheOldPathAndDirectionAlone) {
  auto *walker = new Walker(Vector(10, 10));
  boxIn(GridPoint(10, 10));
  const cv::Path old_path({Vector(12, 10), Vector(14, 10)});
  walker->setPath(old_path);
  walker->setDirection(Vector(0, -1));
  ASSERT_EQ(walker->findPath(Vector(30, 10)), 0);
  cycleUntilIdle();
  ASSERT_EQ(walker->statuses, std::vector<cv::PathStatus>{cv::NOT_FOUND});
  EXPECT_EQ(walker->paths.front().getNodeCount(), 0);
  EXPECT_EQ(walker->getPath().getNodes(), old_path.getNodes());
  EXPECT_EQ(walker->getDirection(), Vector(0, -1));
  EXPECT_FALSE(walker->getFollowPath());
  EXPECT_EQ(paths().getSearchCount(), 0);
}

TEST_F(PathManagerTest, FindPathReplacesARunningSearchAndRefusesAGoalOutsideTheWorld) {
  auto *walker = new Walker(Vector(10, 10));
  ASSERT_EQ(walker->findPath(Vector(20, 10)), 0);
  ASSERT_EQ(walker->findPath(Vector(10, 15)), 0);
  EXPECT_EQ(walker->findPath(Vector(100, 5)), -1);
  EXPECT_TRUE(engine.logged("PathFind::create(): Error! goal (100.00,5.00) outside the world.  Cannot find path."));
  EXPECT_EQ(paths().getSearchCount(), 1);
  cycleUntilIdle();
  ASSERT_EQ(walker->statuses.size(), 1u);
  EXPECT_EQ(walker->getPath().getNodes().back(), Vector(10, 15));
}

TEST_F(PathManagerTest, DestroyingAnObjectEndsItsSearchAndReleasesItsTarget) {
  auto *walker = new Walker(Vector(10, 10));
  auto *doomed = new Walker(Vector(40, 10));
  auto *target = new Walker(Vector(20, 10));
  target->setBox(cv::Box(Vector(-2.5f, -2.5f), 5, 5));
  ASSERT_EQ(doomed->findPath(Vector(60, 10)), 0);
  ASSERT_EQ(walker->findPath(Vector(20, 10), target), 0);
  delete doomed;
  delete target;
  EXPECT_EQ(paths().getSearchCount(), 1);
  cycleUntilIdle();
  EXPECT_EQ(paths().getSearchCount(), 0);
  // With its target gone the search leads to the goal cell itself.
  ASSERT_EQ(walker->statuses, std::vector<cv::PathStatus>{cv::FOUND});
  EXPECT_EQ(walker->getPath().getNodes().back(), Vector(20, 10));
}

TEST_F(PathManagerTest, SearchesAreListedOnceAndRemovedOnlyWhenListed) {
  auto *walker = new Walker(Vector(10, 10));
  auto first = cv::PathFind::create(walker, GridPoint(10, 10), GridPoint(12, 10));
  auto second = cv::PathFind::create(walker, GridPoint(10, 10), GridPoint(14, 10));
  EXPECT_EQ(paths().addPathFind(nullptr), -1);
  EXPECT_EQ(paths().addPathFind(first.get()), 0);
  EXPECT_EQ(paths().addPathFind(first.get()), -1);
  EXPECT_EQ(paths().addPathFind(second.get()), 0);
  EXPECT_EQ(paths().getSearchCount(), 2);
  EXPECT_EQ(paths().removePathFind(nullptr), -1);
  EXPECT_EQ(paths().removePathFind(first.get()), 0);
  EXPECT_EQ(paths().removePathFind(first.get()), -1);
  EXPECT_EQ(paths().getSearchCount(), 1);
  EXPECT_EQ(paths().removePathFind(second.get()), 0);
  EXPECT_EQ(paths().getSearchCount(), 0);
}

TEST_F(PathManagerTest, CycleStopsWithinItsBudgetHoweverLargeTheWorld) {
  // A million cells and a goal that cannot be reached: the whole search
  // takes far longer than one cycle's budget.
  world().setBoundary(cv::Box(Vector(), 1024, 1024));
  auto *walker = new Walker(Vector(0, 0));
  boxIn(GridPoint(900, 900));
  auto search = cv::PathFind::create(walker, Vector(900, 900));
  ASSERT_TRUE(search);
  ASSERT_EQ(paths().addPathFind(search.get()), 0);
  cv::Clock clock;
  paths().cycle(3);
  const long spent = clock.split();
  const std::size_t expanded = search->getClosedList().size();
  EXPECT_GT(expanded, 0u);
  EXPECT_LT(expanded, 1000000u);
  EXPECT_LT(spent, 500000);  // the budget, and a wide margin for a busy machine
  paths().cycle(3);
  EXPECT_GT(search->getClosedList().size(), expanded);
  paths().removePathFind(search.get());
}

TEST_F(UnpacedPathManagerTest, SearchesAdvanceWhenTheCycleTimeIsZero) {
  EXPECT_EQ(paths().getCycleTime(), 0);
  auto *walker = new Walker(Vector(10, 10));
  ASSERT_EQ(walker->findPath(Vector(15, 12)), 0);
  cycleUntilIdle();
  EXPECT_EQ(walker->statuses, std::vector<cv::PathStatus>{cv::FOUND});
}

TEST_F(PathManagerTest, DefaultHandlerTakesOnlyPathEvents) {
  cv::Object plain;
  cv::Event impostor;
  impostor.setType("cv-path");
  EXPECT_EQ(plain.eventHandler(&impostor), 0);
  EXPECT_TRUE(engine.logged("Object::eventHandler(): Error! Dynamic cast to EventPath failed."));
  EXPECT_FALSE(plain.getFollowPath());
  const cv::EventOut out;
  EXPECT_EQ(plain.eventHandler(&out), 0);
  cv::EventPath found;
  found.setStatus(cv::FOUND);
  found.setPath(cv::Path({Vector(1, 1), Vector(3, 1)}));
  EXPECT_EQ(plain.eventHandler(&found), 1);
  EXPECT_TRUE(plain.getFollowPath());
  EXPECT_EQ(plain.getDirection(), Vector(0, 0));  // already on the first node
  EXPECT_EQ(plain.getPath().getNodeCount(), 2);
}
