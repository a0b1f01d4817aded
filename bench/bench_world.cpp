// Measures one WorldManager::update with N moving hard objects, with the
// collision queries answered by the grid of solid objects (index 1) and by a
// scan of every solid object (index 0). The objects
// start on a grid three cells apart (shifted a little at random, never
// overlapping) in a square world, so some of them meet every step; a mover turns round when it runs into
// another or leaves the world, which keeps the crowd (and the collision
// rate) steady.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "Corvane.h"
#include "support/BenchEngine.h"

namespace {

using benchsupport::engineStarted;

// Collision events handled since the counter was last reset.
long collision_events = 0;

// A hard object that reverses when it runs into another or leaves the world.
class Bouncer : public cv::Object {
 public:
  int eventHandler(const cv::Event *event) override {
    bool turn = event->getType() == cv::OUT_EVENT;
    if (const auto *collision = dynamic_cast<const cv::EventCollision *>(event)) {
      collision_events++;
      turn = collision->getObject1() == this;
    }
    if (turn) {
      cv::Vector back = getVelocity();
      back.scale(-1);
      setVelocity(back);
      return 1;
    }
    return 0;
  }
};

// Removes every object, outside the timed part.
void clearWorld() {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  const cv::ObjectList all = world.getAllObjects(true);
  for (cv::ObjectListIterator li(&all); !li.isDone(); li.next())
    world.markForDelete(li.currentObject());
  world.update();
}

void BM_WorldUpdate(benchmark::State &state) {
  if (!engineStarted()) {
    state.SkipWithError("cannot start the engine");
    return;
  }
  const int count = static_cast<int>(state.range(0));
  const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<float>(count))));
  const float side = 3.0f * columns;
  cv::WorldManager &world = cv::WorldManager::getInstance();
  world.getSceneGraph().setSpatialIndex(state.range(1) != 0);
  world.setBoundary(cv::Box(cv::Vector(), side, side));
  world.setView(cv::Box(cv::Vector(), side, side));

  std::mt19937 random(7);
  std::uniform_real_distribution<float> jitter(-0.5f, 0.5f);
  std::uniform_real_distribution<float> angle(0, 6.2831853f);
  for (int i = 0; i < count; i++) {
    auto *bouncer = new Bouncer;  // owned by the world
    bouncer->setPosition(cv::Vector(3.0f * (i % columns) + 1.5f + jitter(random),
                                    3.0f * (i / columns) + 1.5f + jitter(random)));
    const float a = angle(random);
    bouncer->setVelocity(cv::Vector(0.5f * std::cos(a), 0.5f * std::sin(a)));
  }

  collision_events = 0;
  for (auto _ : state)
    world.update();
  state.counters["collision_events_per_update"] =
      benchmark::Counter(static_cast<double>(collision_events), benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(state.iterations() * count);
  clearWorld();
}
BENCHMARK(BM_WorldUpdate)
    ->ArgNames({"objects", "index"})
    ->ArgsProduct({{10, 100, 1000, 5000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
