// Measures one full frame in a real window (run under Xvfb:
// xvfb-run -a ./build/bench/bench_display): every cell of the 80 x 24 grid
// drawn with drawCharacter and shown with swapBuffers, once collected into
// one draw call and once drawn cell by cell as a rectangle and a text (the
// reference); an empty frame; and the floor under a full frame: the same
// 1,920 glyph quads, and nothing else, drawn in one call with the window
// library alone.

#include <SFML/Graphics.hpp>
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

// The glyph quads of a full frame (the characters, places and colours of
// drawFullScreen) as a text of the window library would place them, in one
// vertex array textured by the font's glyph page.
void glyphQuads(const sf::Font &font, unsigned int size, int frame, std::vector<sf::Vertex> &vertices) {
  cv::DisplayManager &display = cv::DisplayManager::getInstance();
  const int columns = display.getHorizontalChars();
  const int rows = display.getVerticalChars();
  vertices.clear();
  for (int y = 0; y < rows; y++)
    for (int x = 0; x < columns; x++) {
      const int n = x + y * columns + frame;
      unsigned char r = 255, g = 255, b = 255;
      cv::colorToRGB(static_cast<cv::Color>(1 + n % 7), r, g, b);
      const sf::Color color(r, g, b);
      const sf::Glyph &glyph = font.getGlyph(static_cast<sf::Uint32>(33 + n % 94), size, true);
      const cv::Vector pen = cv::spacesToPixels(cv::Vector(static_cast<float>(x), static_cast<float>(y)));
      const float left = pen.getX() + glyph.bounds.left - 1, top = pen.getY() + static_cast<float>(size) + glyph.bounds.top - 1;
      const float right = left + glyph.bounds.width + 2, bottom = top + glyph.bounds.height + 2;
      const float u1 = static_cast<float>(glyph.textureRect.left) - 1, v1 = static_cast<float>(glyph.textureRect.top) - 1;
      const float u2 = u1 + static_cast<float>(glyph.textureRect.width) + 2;
      const float v2 = v1 + static_cast<float>(glyph.textureRect.height) + 2;
      vertices.emplace_back(sf::Vector2f(left, top), color, sf::Vector2f(u1, v1));
      vertices.emplace_back(sf::Vector2f(right, top), color, sf::Vector2f(u2, v1));
      vertices.emplace_back(sf::Vector2f(left, bottom), color, sf::Vector2f(u1, v2));
      vertices.emplace_back(sf::Vector2f(left, bottom), color, sf::Vector2f(u1, v2));
      vertices.emplace_back(sf::Vector2f(right, top), color, sf::Vector2f(u2, v1));
      vertices.emplace_back(sf::Vector2f(right, bottom), color, sf::Vector2f(u2, v2));
    }
}

// The floor under a full frame: its glyph quads alone, built and drawn in one
// call into the engine's window, then shown and cleared, with no background
// behind any cell. The engine's full frame is measured against this.
void BM_FrameGlyphFloor(benchmark::State &state) {
  if (!engineStarted()) {
    state.SkipWithError("cannot open a window (run under xvfb-run)");
    return;
  }
  sf::RenderWindow *window = cv::DisplayManager::getInstance().getWindow();
  sf::Font font;
  if (!window || !font.loadFromFile(CORVANE_BENCH_FONT)) {
    state.SkipWithError("no window or font");
    return;
  }
  const unsigned int size = static_cast<unsigned int>(2.0f * std::min(cv::charWidth(), cv::charHeight()));
  for (int ch = 33; ch < 127; ch++)
    font.getGlyph(static_cast<sf::Uint32>(ch), size, true);  // the page is complete before timing
  sf::RenderStates states;
  states.texture = &font.getTexture(size);
  std::vector<sf::Vertex> vertices;
  std::vector<double> times;
  int frame = 0;
  const std::clock_t cpu_before = std::clock();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    glyphQuads(font, size, frame++, vertices);
    window->draw(vertices.data(), vertices.size(), sf::Triangles, states);
    window->display();
    window->clear(sf::Color::Black);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    times.push_back(elapsed.count() * 1000);
  }
  const double cpu = static_cast<double>(std::clock() - cpu_before) / CLOCKS_PER_SEC * 1000;
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

BENCHMARK(BM_FrameGlyphFloor)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameEmpty)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFullReference)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFullBatched)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
