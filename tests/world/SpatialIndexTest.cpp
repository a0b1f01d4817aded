// The grid of solid objects must answer collision queries exactly as a scan
// of every solid object does: same collisions, same order, so the same events
// and final positions.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "Corvane.h"
#include "world/Probe.h"

using cv::Box;
using cv::Vector;

namespace {

// A small generator whose sequence is the same on every system and library.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state(seed) {}
  std::uint32_t next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
  float between(float low, float high) { return low + (high - low) * static_cast<float>(next() % 10001) / 10000.0f; }
  bool chance(int percent) { return below(100) < percent; }

 private:
  std::uint32_t state;  ///< the last value drawn
};

// What the running world draws its chances from and writes what happens to.
struct Scenario {
  Dice dice;                       ///< every random choice of the run
  std::vector<std::string> lines{};  ///< what happened in the current step
  int next_ordinal = 0;            ///< number of the next object made
  int collisions = 0;              ///< collision events seen
  int outs = 0;                    ///< out events seen
};
Scenario *scenario = nullptr;

cv::Solidness anySolidness(Dice &dice) {
  const int kind = dice.below(10);
  return kind < 5 ? cv::HARD : kind < 8 ? cv::SOFT : cv::SPECTRAL;
}

Box anyBox(Dice &dice) {
  if (dice.chance(5))  // a wall reaching over many grid cells
    return Box(Vector(0, -0.5f), dice.between(10, 70), dice.between(1, 20));
  if (dice.chance(20))
    return Box(Vector(-1, -1), dice.between(0.5f, 3), dice.between(0.5f, 3));
  return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
}

Vector anyVelocity(Dice &dice) { return Vector(dice.between(-1.2f, 1.2f), dice.between(-1.2f, 1.2f)); }

// An object that lives, moves and reacts to collisions by the scenario's dice,
// and writes every event it gets. Objects are named by the order they were made in.
class Walker : public cv::Object {
 public:
  Walker() : ordinal(scenario->next_ordinal++) {
    Dice &dice = scenario->dice;
    setType("Walker");
    setPosition(Vector(dice.between(-3, 63), dice.between(-3, 43)));
    setSolidness(anySolidness(dice));
    setBox(anyBox(dice));
    setNoSoft(dice.chance(25));
    setAvoidCollisions(dice.chance(40));
    if (dice.chance(85))
      setVelocity(anyVelocity(dice));
  }

  const int ordinal;  ///< order of making within the run

  int eventHandler(const cv::Event *event) override {
    char line[160];
    if (const auto *collision = dynamic_cast<const cv::EventCollision *>(event)) {
      scenario->collisions++;
      std::snprintf(line, sizeof line, "%d collision %d->%d at %a,%a", ordinal, ordinalOf(collision->getObject1()),
                    ordinalOf(collision->getObject2()), static_cast<double>(collision->getPosition().getX()),
                    static_cast<double>(collision->getPosition().getY()));
      scenario->lines.push_back(line);
      react(collision->getObject1() == this);
    } else if (event->getType() == cv::OUT_EVENT) {
      scenario->outs++;
      std::snprintf(line, sizeof line, "%d out", ordinal);
      scenario->lines.push_back(line);
      setVelocity(Vector(-getVelocity().getX(), -getVelocity().getY()));
    }
    return 1;
  }

  static int ordinalOf(const cv::Object *object) { return static_cast<const Walker *>(object)->ordinal; }

 private:
  // Changes what the index must follow: velocity, life, solidness, box,
  // activity, position, and objects made during the update.
  void react(bool moving) {
    Dice &dice = scenario->dice;
    const int roll = dice.below(100);
    if (roll < 25 && moving)
      setVelocity(Vector(-getVelocity().getX(), -getVelocity().getY()));
    else if (roll < 30)
      cv::WorldManager::getInstance().markForDelete(this);
    else if (roll < 35)
      setSolidness(anySolidness(dice));
    else if (roll < 38)
      new Walker;  // owned by the world
    else if (roll < 41)
      setBox(anyBox(dice));
    else if (roll < 43 && !moving)
      setActive(false);
    else if (roll < 46 && !moving)
      setPosition(Vector(dice.between(0, 60), dice.between(0, 40)));
  }
};

// The world's objects, active then inactive, with place, kind and activity.
void describeWorld(std::vector<std::string> &lines) {
  const cv::ObjectList all = cv::WorldManager::getInstance().getAllObjects(true);
  for (cv::ObjectListIterator li(&all); !li.isDone(); li.next()) {
    const cv::Object *object = li.currentObject();
    char line[160];
    std::snprintf(line, sizeof line, "%d at %a,%a solidness %d%s", Walker::ordinalOf(object),
                  static_cast<double>(object->getPosition().getX()),
                  static_cast<double>(object->getPosition().getY()), static_cast<int>(object->getSolidness()),
                  object->isActive() ? "" : " inactive");
    lines.push_back(line);
  }
}

// Changes made between updates, as a game's step handlers would.
void stirWorld(Dice &dice) {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  for (int made = dice.below(3); made > 0; made--)
    new Walker;  // owned by the world
  const cv::ObjectList all = world.getAllObjects(true);
  for (int changes = all.isEmpty() ? 0 : dice.below(4); changes > 0; changes--) {
    cv::ObjectListIterator li(&all);
    for (int skip = dice.below(all.getCount()); skip > 0; skip--)
      li.next();
    cv::Object *object = li.currentObject();
    switch (dice.below(4)) {
      case 0:
        world.markForDelete(object);
        break;
      case 1:
        object->setActive(!object->isActive());
        break;
      case 2:
        object->setPosition(Vector(dice.between(0, 60), dice.between(0, 40)));
        break;
      default:
        object->setVelocity(anyVelocity(dice));
        break;
    }
  }
}

const int OBJECTS = 400;
const int STEPS = 300;

// Runs the scenario and returns what happened in each step.
std::vector<std::vector<std::string>> runWorld(bool spatial_index, Scenario &run) {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  world.getSceneGraph().setSpatialIndex(spatial_index);
  world.setBoundary(Box(Vector(), 60, 40));
  scenario = &run;
  for (int i = 0; i < OBJECTS; i++)
    new Walker;  // owned by the world
  std::vector<std::vector<std::string>> steps;
  for (int step = 0; step < STEPS; step++) {
    stirWorld(run.dice);
    world.update();
    describeWorld(run.lines);
    steps.push_back(std::move(run.lines));
    run.lines.clear();
  }
  // Outside an update objects may be destroyed at once, without moving again.
  const cv::ObjectList all = world.getAllObjects(true);
  for (cv::ObjectListIterator li(&all); !li.isDone(); li.next())
    delete li.currentObject();
  scenario = nullptr;
  return steps;
}

class SpatialIndexTest : public worldtest::WorldTest {};

}  // namespace

TEST_F(SpatialIndexTest, RandomWorldsCollideAsWithAFullScan) {
  Scenario indexed_run{Dice(20261210)};
  const auto indexed = runWorld(true, indexed_run);
  Scenario scanned_run{Dice(20261210)};
  const auto scanned = runWorld(false, scanned_run);

  // The scenario really collides, leaves the world and grows.
  EXPECT_GT(indexed_run.collisions, 2000);
  EXPECT_GT(indexed_run.outs, 500);
  EXPECT_GT(indexed_run.next_ordinal, OBJECTS + 300);
  ASSERT_EQ(indexed.size(), scanned.size());
  for (size_t step = 0; step < indexed.size(); step++)
    ASSERT_EQ(indexed[step], scanned[step]) << "first difference in step " << step;
}

TEST(SpatialGridTest, FindsEveryIntersectingBoxInInsertionOrder) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Boxes on grid-cell edges (the default cell is 4 wide), of negative or
  // zero extent, far away, not finite, and spanning many cells.
  std::vector<Box> boxes = {
      Box(Vector(0, 0), 4, 4),         Box(Vector(4, 4), 0, 0),        Box(Vector(8, 0), -4, 4),
      Box(Vector(-4, -4), 4, 4),       Box(Vector(3.99f, 0), 0.01f, 1), Box(Vector(8, 8), -3, -3),
      Box(Vector(1e12f, 1e12f), 1, 1), Box(Vector(-1e6f, 0), 2e6f, 1),  Box(Vector(nan, 0), 1, 1),
      Box(Vector(0, 0), inf, 1),       Box(Vector(-inf, 2), 1, 1),      Box(Vector(0, -40), 1, 80),
  };
  Dice dice(7);
  for (int i = 0; i < 200; i++)
    boxes.push_back(Box(Vector(dice.between(-20, 20), dice.between(-20, 20)), dice.between(-3, 6),
                        dice.between(-3, 6)));

  // The grid never reads the objects, so stand-ins for their addresses do.
  static char stand_ins[1000];
  std::vector<cv::Object *> objects;
  cv::SpatialGrid grid;
  for (size_t i = 0; i < boxes.size(); i++) {
    objects.push_back(reinterpret_cast<cv::Object *>(&stand_ins[i]));
    grid.insert(objects[i], boxes[i]);
  }
  // Moves, and a removal followed by a re-insertion that puts one object last.
  for (size_t i = 12; i < boxes.size(); i += 3) {
    boxes[i] = Box(Vector(dice.between(-20, 20), dice.between(-20, 20)), 2, 2);
    grid.move(objects[i], boxes[i]);
  }
  grid.remove(objects[0]);
  grid.insert(objects[0], boxes[0]);
  std::vector<size_t> order;
  for (size_t i = 1; i < boxes.size(); i++)
    order.push_back(i);
  order.push_back(0);

  std::vector<Box> queries(boxes.begin(), boxes.end());
  queries.push_back(Box(Vector(-1000, -1000), 2000, 2000));
  for (const Box &query : queries) {
    const std::vector<cv::Object *> &found = grid.candidates(query);
    size_t next = 0;  // position in `order` of the next possible answer
    for (const size_t i : order) {
      if (!cv::boxIntersectsBox(boxes[i], query))
        continue;
      while (next < found.size() && found[next] != objects[i])
        next++;
      ASSERT_LT(next, found.size()) << "box " << i << " missing or out of order";
    }
  }
}

TEST(SpatialGridTest, RepeatedEntriesLeaveEarliestFirst) {
  static char stand_ins[3];
  cv::Object *a = reinterpret_cast<cv::Object *>(&stand_ins[0]);
  cv::Object *b = reinterpret_cast<cv::Object *>(&stand_ins[1]);
  const Box box(Vector(1, 1), 1, 1);
  cv::SpatialGrid grid;
  grid.insert(a, box);
  grid.insert(b, box);
  grid.insert(a, box);
  EXPECT_EQ(grid.candidates(box), (std::vector<cv::Object *>{a, b, a}));
  grid.move(a, Box(Vector(100, 100), 1, 1));
  EXPECT_EQ(grid.candidates(box), (std::vector<cv::Object *>{b}));
  grid.remove(a);
  EXPECT_EQ(grid.candidates(Box(Vector(100, 100), 1, 1)), (std::vector<cv::Object *>{a}));
  grid.remove(a);
  EXPECT_FALSE(grid.contains(a));
  EXPECT_TRUE(grid.candidates(Box(Vector(100, 100), 1, 1)).empty());
}
