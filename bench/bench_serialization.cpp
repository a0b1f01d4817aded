// Measures writing and reading object state: a full write of an object, a
// full read of it into another, reading a large text that claims the most
// event names and carries N junk elements (to show that the reading grows
// with the text, not with what it claims), and saving and loading a whole
// world of N objects (to show that both grow with the world, not with its
// square).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/BenchEngine.h"

namespace {

using benchsupport::engineStarted;

// An object with every group set to something other than its default.
void fill(cv::Object &object) {
  object.setType("Enemy");
  object.setBox(cv::Box(cv::Vector(-1.5f, -0.5f), 3, 1));
  object.setPosition(cv::Vector(80.0f * 5 / 6, 7.1f));
  object.setVelocity(cv::Vector(0.3f, 0.4f));
  object.setAcceleration(cv::Vector(0, 0.01f));
  object.setPath(cv::Path({cv::Vector(10, 5), cv::Vector(11, 6), cv::Vector(12, 7)}));
  object.registerInterest("cv-step");
  object.registerInterest("custom");
}

void BM_SerializeAll(benchmark::State &state) {
  if (!engineStarted()) {
    state.SkipWithError("engine did not start");
    return;
  }
  cv::Object object;
  fill(object);
  for (auto _ : state)
    benchmark::DoNotOptimize(object.serialize("ALL"));
}
BENCHMARK(BM_SerializeAll);

void BM_DeserializeAll(benchmark::State &state) {
  if (!engineStarted()) {
    state.SkipWithError("engine did not start");
    return;
  }
  cv::Object source;
  fill(source);
  const std::string text = source.serialize("ALL");
  cv::Object target;
  for (auto _ : state)
    benchmark::DoNotOptimize(target.deserialize(text));
}
BENCHMARK(BM_DeserializeAll);

void BM_DeserializeJunk(benchmark::State &state) {
  if (!engineStarted()) {
    state.SkipWithError("engine did not start");
    return;
  }
  std::string text = "event_count:2147483647,";
  for (int64_t i = 0; i < state.range(0); i++)
    text += "junk" + std::to_string(i) + ":x,";
  cv::Object target;
  for (auto _ : state)
    benchmark::DoNotOptimize(target.deserialize(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DeserializeJunk)->RangeMultiplier(10)->Range(100, 100000);

// A world of `count` filled objects, each at its own place. Without
// `own_box` they keep the box every new object has.
std::vector<std::unique_ptr<cv::Object>> makeWorld(int64_t count, bool own_box = true) {
  std::vector<std::unique_ptr<cv::Object>> objects;
  objects.reserve(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; i++) {
    objects.push_back(std::make_unique<cv::Object>());
    cv::Object &object = *objects.back();
    const cv::Box default_box = object.getBox();
    fill(object);
    if (!own_box)
      object.setBox(default_box);
    object.setPosition(cv::Vector(static_cast<float>(i % 80), static_cast<float>(i / 80 % 24)));
  }
  return objects;
}

// Destroys the objects newest first, so that each leaves the world's lists
// from their ends and the teardown stays out of the way.
void destroy(std::vector<std::unique_ptr<cv::Object>> &objects) {
  while (!objects.empty())
    objects.pop_back();
}

// Saves a world of N objects: every object written whole.
void BM_SaveWorld(benchmark::State &state) {
  if (!engineStarted()) {
    state.SkipWithError("engine did not start");
    return;
  }
  std::vector<std::unique_ptr<cv::Object>> objects = makeWorld(state.range(0));
  std::vector<std::string> saved(objects.size());
  for (auto _ : state) {
    for (size_t i = 0; i < objects.size(); i++)
      saved[i] = objects[i]->serialize("ALL");
    benchmark::DoNotOptimize(saved.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  destroy(objects);
}
BENCHMARK(BM_SaveWorld)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Loads a saved world of N objects into an empty world: each object is
// created and reads its saved text, ids included, so the world fills as it
// loads. With own_box:1 the objects have a box other than a new object's,
// so reading it moves each object to the end of the world's lists (as
// setBox does); with own_box:0 they keep the box they start with. Tearing
// the loaded world down is not timed.
void BM_LoadWorld(benchmark::State &state) {
  if (!engineStarted()) {
    state.SkipWithError("engine did not start");
    return;
  }
  std::vector<std::string> saved;
  {
    std::vector<std::unique_ptr<cv::Object>> originals = makeWorld(state.range(0), state.range(1) != 0);
    for (const auto &object : originals)
      saved.push_back(object->serialize("ALL"));
    destroy(originals);
  }
  std::vector<std::unique_ptr<cv::Object>> loaded;
  loaded.reserve(saved.size());
  for (auto _ : state) {
    for (const std::string &text : saved) {
      loaded.push_back(std::make_unique<cv::Object>());
      loaded.back()->deserialize(text);
    }
    state.PauseTiming();
    destroy(loaded);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadWorld)
    ->ArgNames({"objects", "own_box"})
    ->ArgsProduct({{1000, 5000, 20000}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
