// A search that asks the scene graph's grid for nearby obstacles must run
// exactly as one that reads every solid object: the same status at every
// step, the same cells expanded in the same order, the same path.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "Corvane.h"
#include "path/PathWorld.h"

using cv::Box;
using cv::GridPoint;
using cv::Vector;

namespace {

// Everything one search did, step by step.
struct SearchRecord {
  std::vector<cv::PathStatus> statuses;  ///< the result of every step
  std::vector<GridPoint> closed;         ///< cells expanded, in order
  std::vector<GridPoint> open;           ///< cells left open at the end
  std::vector<Vector> path;              ///< the path found, if any
};

SearchRecord runSearch(cv::Object *walker, GridPoint start, GridPoint goal, cv::Object *target) {
  SearchRecord record;
  auto search = cv::PathFind::create(walker, start, goal, target);
  if (!search)
    return record;
  cv::PathStatus status = cv::SEARCHING;
  for (int step = 0; step < 10000 && status == cv::SEARCHING; step++) {
    status = search->cycleOnce();
    record.statuses.push_back(status);
  }
  record.closed = search->getClosedList();
  record.open = search->getOpenList();
  record.path = search->getPath().getNodes();
  return record;
}

// Draws from a generator whose sequence the standard fixes, so the world is
// the same with every library.
class Draw {
 public:
  explicit Draw(std::uint32_t seed) : engine(seed) {}
  int below(int n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); }
  float between(float low, float high) { return low + (high - low) * static_cast<float>(below(1001)) / 1000.0f; }

 private:
  std::mt19937 engine;  ///< the generator
};

// A world of 80 x 24 cells, split at column 40 by a HARD wall reaching far
// beyond the world (the grid keeps such a box aside, a candidate for every
// query), strewn with HARD blocks of many sizes, some off the cell centres
// or partly outside the world, and SOFT and SPECTRAL objects that never
// block. Afterwards objects move, change box, leave and rejoin the solid
// list, so the grid has to follow every kind of change.
void buildWorld(Draw &draw) {
  pathtest::slabOver(GridPoint(40, -200), GridPoint(40, 200));
  std::vector<cv::Object *> placed;
  for (int i = 0; i < 420; i++) {
    cv::Object *object = pathtest::blockAt(GridPoint(draw.below(84) - 2, draw.below(28) - 2));
    if (draw.below(4) == 0)
      object->setPosition(object->getPosition() + Vector(draw.between(-0.5f, 0.5f), draw.between(-0.5f, 0.5f)));
    if (draw.below(6) == 0)
      object->setBox(Box(Vector(draw.between(-1.5f, 0), draw.between(-1.5f, 0)), draw.between(0.3f, 3),
                         draw.between(0.3f, 3)));
    const int kind = draw.below(10);
    if (kind == 0)
      object->setSolidness(cv::SOFT);
    else if (kind == 1)
      object->setSolidness(cv::SPECTRAL);
    placed.push_back(object);
  }
  for (int i = 0; i < 80; i++) {
    cv::Object *object = placed[static_cast<std::size_t>(draw.below(static_cast<int>(placed.size())))];
    switch (draw.below(5)) {
      case 0:
        object->setPosition(Vector(static_cast<float>(draw.below(80)), static_cast<float>(draw.below(24))));
        break;
      case 1:
        object->setBox(Box(Vector(-0.5f, -0.5f), draw.between(0.5f, 2), 0.99f));
        break;
      case 2:
        object->setActive(false);
        break;
      case 3:
        object->setActive(true);
        break;
      default:
        object->setSolidness(object->getSolidness() == cv::HARD ? cv::SPECTRAL : cv::HARD);
        break;
    }
  }
}

class PathFindIndexTest : public pathtest::PathWorld {};

}  // namespace

TEST_F(PathFindIndexTest, SearchesThroughTheGridRunAsSearchesThroughEverySolidObject) {
  Draw draw(20261210);
  buildWorld(draw);
  cv::Object *walker = searcherAt(GridPoint(2, 12));
  cv::Object *wide_walker = searcherAt(GridPoint(3, 3));
  wide_walker->setBox(Box(Vector(-0.9f, -0.3f), 1.8f, 0.6f));
  cv::Object *target = pathtest::blockAt(GridPoint(30, 20), cv::SOFT);
  target->setBox(Box(Vector(-1, -1), 2, 2));

  struct Case {
    cv::Object *walker;
    GridPoint start, goal;
    cv::Object *target;
    cv::PathStatus outcome;
  };
  const Case cases[] = {
      {walker, GridPoint(2, 12), GridPoint(37, 3), nullptr, cv::FOUND},
      {walker, GridPoint(2, 12), GridPoint(40, 12), nullptr, cv::FOUND},   // goal inside the dividing wall
      {walker, GridPoint(2, 12), GridPoint(70, 12), nullptr, cv::NOT_FOUND},  // beyond it
      {walker, GridPoint(2, 12), GridPoint(30, 20), target, cv::FOUND},
      {wide_walker, GridPoint(3, 3), GridPoint(36, 22), nullptr, cv::FOUND},
  };
  cv::SceneGraph &scene_graph = world().getSceneGraph();
  for (const Case &run : cases) {
    SCOPED_TRACE(testing::Message() << "from " << run.start << " to " << run.goal);
    scene_graph.setSpatialIndex(true);
    const SearchRecord indexed = runSearch(run.walker, run.start, run.goal, run.target);
    scene_graph.setSpatialIndex(false);
    const SearchRecord scanned = runSearch(run.walker, run.start, run.goal, run.target);

    ASSERT_FALSE(scanned.statuses.empty());
    EXPECT_EQ(scanned.statuses.back(), run.outcome);
    EXPECT_GT(scanned.closed.size(), 20u);
    EXPECT_EQ(indexed.statuses, scanned.statuses);
    EXPECT_EQ(indexed.closed, scanned.closed);
    EXPECT_EQ(indexed.open, scanned.open);
    EXPECT_EQ(indexed.path, scanned.path);
  }
}
