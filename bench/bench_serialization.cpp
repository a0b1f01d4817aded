// Measures writing and reading object state: a full write of an object, a
// full read of it into another, and reading a large text that claims the
// most event names and carries N junk elements (to show that the reading
// grows with the text, not with what it claims).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

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

}  // namespace
