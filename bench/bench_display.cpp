// Measures one full frame in a real window (run under Xvfb:
// xvfb-run -a ./build/bench/bench_display): every cell of the 80 x 24 grid
// drawn with drawCharacter and shown with swapBuffers, once collected into
// one draw call and once drawn cell by cell as a rectangle and a text (the
// reference); and an empty frame, the floor under both.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/BenchEngine.h"

namespace {

// The engine with a window, started on first use (needs an X display).
bool engineStarted() {
  return std::getenv("DISPLAY") && benchsupport::engineStarted("headless:false,font_file:" CORVANE_BENCH_FONT ",");
}

// Draws every cell of the grid, printable characters in the eight colours.
void drawFullScreen(int frame) {
  cv::DisplayManager &display = cv::DisplayManager::getInstance();
  const int columns = display.getHorizontalChars();
  const int rows = display.getVerticalChars();
  for (int y = 0; y < rows; y++)
    for (int x = 0; x < columns; x++) {
      const int n = x + y * columns + frame;
      display.drawCharacter(cv::Vector(static_cast<float>(x), static_cast<float>(y)), static_cast<char>(33 + n % 94),
                            static_cast<cv::Color>(1 + n % 7));
    }
}

// Times `frames` frames (drawing as `draw` says, then swapBuffers) and
// reports the mean, median and 90th percentile in milliseconds, and the
// processor time of a frame.
void timeFrames(benchmark::State &state, bool batching, bool full) {
  if (!engineStarted()) {
    state.SkipWithError("cannot open a window (run under xvfb-run)");
    return;
  }
  cv::DisplayManager &display = cv::DisplayManager::getInstance();
  display.setBatching(batching);
  std::vector<double> times;
  int frame = 0;
  const std::clock_t cpu_before = std::clock();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (full)
      drawFullScreen(frame++);
    display.swapBuffers();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    times.push_back(elapsed.count() * 1000);
  }
  // Processor time of the whole process, the renderer's threads included:
  // steadier than the wall clock on a busy machine.
  const double cpu = static_cast<double>(std::clock() - cpu_before) / CLOCKS_PER_SEC * 1000;
  display.setBatching(true);
  std::sort(times.begin(), times.end());
  if (!times.empty()) {
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p90_ms"] = times[std::min(times.size() - 1, times.size() * 9 / 10)];
    state.counters["process_cpu_ms"] = cpu / static_cast<double>(times.size());
  }
}

void BM_FrameEmpty(benchmark::State &state) { timeFrames(state, true, false); }
void BM_FrameFullReference(benchmark::State &state) { timeFrames(state, false, true); }
void BM_FrameFullBatched(benchmark::State &state) { timeFrames(state, true, true); }

BENCHMARK(BM_FrameEmpty)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFullReference)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFullBatched)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
