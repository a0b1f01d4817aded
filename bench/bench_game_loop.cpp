// Measures the pacing of the headless game loop: the mean period of its
// iterations at the default frame time of 33 ms.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <unistd.h>  // Required for: write(), close(), unlink()
#include <string>

#include "Corvane.h"

namespace {

// Ends the loop after a fixed number of steps.
class StepLimit : public cv::Object {
 public:
  explicit StepLimit(int steps) : steps(steps) { registerInterest("cv-step"); }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() == "cv-step" && static_cast<const cv::EventStep *>(event)->getStepCount() + 1 >= steps)
      cv::GameManager::getInstance().setGameOver();
    return 1;
  }

 private:
  int steps;
};

void BM_HeadlessLoopPeriod(benchmark::State &state) {
  const int steps = static_cast<int>(state.range(0));
  char config[] = "/tmp/corvane-bench-XXXXXX";
  const int fd = mkstemp(config);
  const std::string text = "headless:true,frame_time:33,";
  if (fd == -1 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    state.SkipWithError("cannot write the configuration");
    return;
  }
  close(fd);
  setenv("CORVANE_CONFIG", config, 1);
  setenv("CORVANE_LOG", "/dev/null", 1);
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  game_manager.startUp();
  for (auto _ : state) {
    new StepLimit(steps);  // owned by the world, destroyed at shut-down
    cv::Clock clock;
    game_manager.run();
    state.counters["mean_period_ms"] = static_cast<double>(clock.split()) / 1000.0 / steps;
  }
  game_manager.shutDown();
  unlink(config);
}
BENCHMARK(BM_HeadlessLoopPeriod)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
