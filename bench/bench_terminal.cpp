// The terminal display against the window, frame by frame: bytes written
// and processor time for an unchanged frame, a typical tomato frame (walls,
// counters, the hero walking, a fruit drifting, a bullet flying) and a full
// 80 x 24 redraw (every cell changes). The terminal frames go through the
// display's own cell grids and are written in one write to a pipe, read
// back by the same thread; the window frames are drawn with the display
// manager into a real window (run under Xvfb for those:
// ALSOFT_DRIVERS=null xvfb-run -a ./build/bench/bench_terminal).

#include <benchmark/benchmark.h>
#include <fcntl.h>   // Required for: fcntl(F_SETPIPE_SZ)
#include <unistd.h>  // Required for: pipe(), write(), read()

#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "Corvane.h"
#include "presentation/terminal/TerminalScreen.h"
#include "support/BenchEngine.h"

namespace {

constexpr int COLUMNS = 80, ROWS = 24;

using Put = std::function<void(int column, int row, char ch, cv::Color color)>;

void putText(const Put &put, int column, int row, const std::string &text, cv::Color color) {
  for (size_t i = 0; i < text.size(); i++) put(column + static_cast<int>(i), row, text[i], color);
}

// A bordered counter as the game shows it.
void putCounter(const Put &put, int row, const std::string &text) {
  const std::string dashes(text.size(), '-');
  const int column = 66 - static_cast<int>(text.size() / 2);
  putText(put, column, row - 1, dashes, cv::YELLOW);
  putText(put, column - 1, row, "|" + text + "|", cv::YELLOW);
  putText(put, column, row + 1, dashes, cv::YELLOW);
}

// The play screen of tomato at `frame`: what moves, moves as in play.
void tomatoFrame(const Put &put, int frame) {
  for (int row = 0; row < ROWS; row++) {
    const char wall = row % 4 == 1 ? '+' : '|';
    put(1, row, wall, cv::WHITE);
    put(53, row, wall, cv::WHITE);
  }
  putCounter(put, 1, " Points " + std::to_string(frame / 30) + " ");
  putCounter(put, 12, " RFL POWER 30 ");
  putCounter(put, 22, " Bullets 2 ");
  const int hero = 10 + (frame / 2) % 30;  // walks a cell every other step
  putText(put, hero + 1, 17, "_\\|/_", cv::GREEN);
  putText(put, hero, 18, "(     )", cv::RED);
  putText(put, hero + 1, 19, "`---'", cv::RED);
  const int fruit = 1 + (frame / 4) % 10;  // drifts down a row every fourth step
  putText(put, 30, fruit, "oOoOo", cv::MAGENTA);
  putText(put, 31, fruit + 1, "oOo", cv::MAGENTA);
  put(32, fruit + 2, 'o', cv::MAGENTA);
  put(3 + frame % 48, 15 - (frame % 12), '*', cv::YELLOW);  // a bullet
  put(20, 12, '+', cv::RED);  // the reticle
}

// Every cell, a different character and colour each frame.
void fullFrame(const Put &put, int frame) {
  for (int row = 0; row < ROWS; row++)
    for (int column = 0; column < COLUMNS; column++) {
      const int n = column + row * COLUMNS + frame;
      put(column, row, static_cast<char>(33 + n % 94), static_cast<cv::Color>(1 + n % 7));
    }
}

enum class Kind { UNCHANGED, TYPICAL, FULL };

void drawFrame(const Put &put, Kind kind, int frame) {
  switch (kind) {
    case Kind::UNCHANGED: tomatoFrame(put, 0); break;
    case Kind::TYPICAL: tomatoFrame(put, frame); break;
    case Kind::FULL: fullFrame(put, frame); break;
  }
}

void terminalFrames(benchmark::State &state, Kind kind) {
  int fds[2];
  if (pipe(fds) != 0) {
    state.SkipWithError("no pipe");
    return;
  }
  fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
  cv::TerminalScreen screen;
  screen.resize(COLUMNS, ROWS, cv::BLACK);
  const Put put = [&](int column, int row, char ch, cv::Color color) { screen.put(column, row, ch, color); };
  std::string out, first;
  drawFrame(put, kind, 0);
  screen.present(first);  // the first frame draws everything
  std::vector<char> sink(1 << 20);
  long long bytes = 0, frames = 0;
  int frame = 1;
  const std::clock_t cpu_before = std::clock();
  for (auto _ : state) {
    drawFrame(put, kind, frame++);
    out.clear();
    screen.present(out);
    if (!out.empty()) {
      if (write(fds[1], out.data(), out.size()) != static_cast<ssize_t>(out.size())) {
        state.SkipWithError("short write");
        break;
      }
      for (size_t got = 0; got < out.size();) {
        const ssize_t n = read(fds[0], sink.data(), sink.size());
        if (n <= 0) break;
        got += static_cast<size_t>(n);
      }
    }
    bytes += static_cast<long long>(out.size());
    frames++;
  }
  const double cpu = static_cast<double>(std::clock() - cpu_before) / CLOCKS_PER_SEC * 1e6;
  close(fds[0]);
  close(fds[1]);
  if (frames > 0) {
    state.counters["bytes_per_frame"] = static_cast<double>(bytes) / static_cast<double>(frames);
    state.counters["process_cpu_us"] = cpu / static_cast<double>(frames);
  }
}

void windowFrames(benchmark::State &state, Kind kind) {
  if (!std::getenv("DISPLAY") ||
      !benchsupport::engineStarted("headless:false,font_file:" CORVANE_BENCH_FONT ",")) {
    state.SkipWithError("cannot open a window (run under xvfb-run)");
    return;
  }
  cv::DisplayManager &display = cv::DisplayManager::getInstance();
  const Put put = [&](int column, int row, char ch, cv::Color color) {
    display.drawCharacter(cv::Vector(static_cast<float>(column), static_cast<float>(row)), ch, color);
  };
  long long frames = 0;
  int frame = 1;
  const std::clock_t cpu_before = std::clock();
  for (auto _ : state) {
    drawFrame(put, kind, frame++);
    display.swapBuffers();
    frames++;
  }
  const double cpu = static_cast<double>(std::clock() - cpu_before) / CLOCKS_PER_SEC * 1e6;
  if (frames > 0) state.counters["process_cpu_us"] = cpu / static_cast<double>(frames);
}

void BM_TerminalUnchangedFrame(benchmark::State &state) { terminalFrames(state, Kind::UNCHANGED); }
void BM_TerminalTypicalTomatoFrame(benchmark::State &state) { terminalFrames(state, Kind::TYPICAL); }
void BM_TerminalFullRedraw(benchmark::State &state) { terminalFrames(state, Kind::FULL); }
void BM_WindowUnchangedFrame(benchmark::State &state) { windowFrames(state, Kind::UNCHANGED); }
void BM_WindowTypicalTomatoFrame(benchmark::State &state) { windowFrames(state, Kind::TYPICAL); }
void BM_WindowFullRedraw(benchmark::State &state) { windowFrames(state, Kind::FULL); }

BENCHMARK(BM_TerminalUnchangedFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TerminalTypicalTomatoFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TerminalFullRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowUnchangedFrame)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowTypicalTomatoFrame)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowFullRedraw)->Iterations(300)->Unit(benchmark::kMicrosecond);

}  // namespace
