// Measures the pacing of the game loop at the default frame time of 33 ms:
// the mean period of its iterations, how far single periods stray from
// 33 ms (mean, 99th percentile, largest), and the processor time an idle
// iteration costs. Headless, and with a window (run under Xvfb for that one:
// xvfb-run -a ./build/bench/bench_game_loop).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>  // Required for: write(), close(), unlink()
#include <vector>

#include "Corvane.h"

namespace {

const int FRAME_MS = 33;

// Ends the loop after a fixed number of steps and notes when each step began.
class StepRecorder : public cv::Object {
 public:
  StepRecorder(int steps, std::vector<long> &starts) : steps(steps), starts(starts) {
    registerInterest("cv-step");
    setSolidness(cv::SPECTRAL);
    setVisible(false);
  }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != "cv-step")
      return 0;
    starts.push_back(clock.split());
    if (static_cast<const cv::EventStep *>(event)->getStepCount() + 1 >= steps)
      cv::GameManager::getInstance().setGameOver();
    return 1;
  }

 private:
  int steps;                  ///< steps to run
  std::vector<long> &starts;  ///< microseconds at each step event
  cv::Clock clock;            ///< started with the recorder
};

// Writes the configuration text to a fresh file and points the engine at it.
bool useConfiguration(const std::string &text, char *name) {
  const int fd = mkstemp(name);
  if (fd == -1)
    return false;
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  setenv("CORVANE_CONFIG", name, 1);
  setenv("CORVANE_LOG", "/dev/null", 1);
  return written;
}

// Runs the loop for `steps` iterations and reports the period and its deviation.
void runLoop(benchmark::State &state, const std::string &configuration) {
  const int steps = static_cast<int>(state.range(0));
  char config[] = "/tmp/corvane-bench-XXXXXX";
  if (!useConfiguration(configuration + "frame_time:33,font_file:" CORVANE_BENCH_FONT ",", config)) {
    state.SkipWithError("cannot write the configuration");
    return;
  }
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    state.SkipWithError("cannot start the engine");
    game_manager.shutDown();
    unlink(config);
    return;
  }
  for (auto _ : state) {
    std::vector<long> starts;
    starts.reserve(static_cast<size_t>(steps));
    new StepRecorder(steps, starts);  // owned by the world, destroyed at shut-down
    const std::clock_t cpu_before = std::clock();
    cv::Clock clock;
    game_manager.run();
    const double elapsed = static_cast<double>(clock.split());
    const double cpu = static_cast<double>(std::clock() - cpu_before) / CLOCKS_PER_SEC * 1e6;

    std::vector<double> deviations;
    for (size_t i = 1; i < starts.size(); i++)
      deviations.push_back(std::fabs(static_cast<double>(starts[i] - starts[i - 1]) - FRAME_MS * 1000.0) / 1000.0);
    std::sort(deviations.begin(), deviations.end());
    double sum = 0;
    for (double deviation : deviations)
      sum += deviation;
    const size_t count = deviations.size();
    state.counters["mean_period_ms"] = elapsed / 1000.0 / steps;
    state.counters["mean_dev_ms"] = count ? sum / static_cast<double>(count) : 0;
    state.counters["p99_dev_ms"] = count ? deviations[std::min(count - 1, count * 99 / 100)] : 0;
    state.counters["max_dev_ms"] = count ? deviations.back() : 0;
    state.counters["cpu_per_frame_ms"] = cpu / 1000.0 / steps;
    state.counters["cpu_percent"] = 100.0 * cpu / elapsed;
  }
  game_manager.shutDown();
  unlink(config);
}

void BM_LoopPeriodHeadless(benchmark::State &state) { runLoop(state, "headless:true,"); }
BENCHMARK(BM_LoopPeriodHeadless)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// An empty world in a real window: showing and clearing the frame is the only work.
void BM_LoopPeriodWindow(benchmark::State &state) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("no display (run under xvfb-run)");
    return;
  }
  runLoop(state, "headless:false,");
}
BENCHMARK(BM_LoopPeriodWindow)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
