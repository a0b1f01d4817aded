// Measures one whole path search, from creation to its last step, across a
// world crossed by walls with gaps at alternating ends, so that the route
// winds round each wall. The walls are built either as one object per wall
// or as one object per cell (as a game's walls often are), since the blocked
// tests look at the solid objects near each expanded cell.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/BenchEngine.h"

namespace {

using benchsupport::engineStarted;

// A HARD object covering the cells from (x, top) to (x, bottom).
cv::Object *wallPiece(int x, int top, int bottom) {
  auto *piece = new cv::Object;
  piece->setPosition(cv::Vector(static_cast<float>(x), static_cast<float>(top)));
  piece->setBox(cv::Box(cv::Vector(-0.5f, -0.5f), 0.99f, static_cast<float>(bottom - top) + 0.99f));
  return piece;
}

// Walls every `spacing` columns of a `width` x `height` world, each leaving
// a gap of two rows at the top or the bottom, alternately.
std::vector<cv::Object *> buildWalls(int width, int height, int spacing, bool piece_per_cell) {
  std::vector<cv::Object *> walls;
  bool gap_at_bottom = true;
  for (int x = spacing; x < width - 1; x += spacing, gap_at_bottom = !gap_at_bottom) {
    const int top = gap_at_bottom ? 0 : 2;
    const int bottom = gap_at_bottom ? height - 3 : height - 1;
    if (piece_per_cell) {
      for (int y = top; y <= bottom; y++)
        walls.push_back(wallPiece(x, y, y));
    } else {
      walls.push_back(wallPiece(x, top, bottom));
    }
  }
  return walls;
}

void searchAcross(benchmark::State &state, int width, int height, int spacing) {
  if (!engineStarted()) {
    state.SkipWithError("cannot start the engine");
    return;
  }
  cv::WorldManager::getInstance().setBoundary(cv::Box(cv::Vector(), static_cast<float>(width),
                                                      static_cast<float>(height)));
  const bool piece_per_cell = state.range(0) != 0;
  std::vector<cv::Object *> walls = buildWalls(width, height, spacing, piece_per_cell);
  auto *walker = new cv::Object;
  walker->setPosition(cv::Vector(1, static_cast<float>(height / 2)));
  const cv::Vector goal(static_cast<float>(width - 2), static_cast<float>(height / 2));

  std::size_t expanded = 0, path_length = 0;
  for (auto _ : state) {
    std::unique_ptr<cv::PathFind> search = cv::PathFind::create(walker, goal);
    cv::PathStatus status = cv::SEARCHING;
    while (status == cv::SEARCHING)
      status = search->cycleOnce();
    if (status != cv::FOUND) {
      state.SkipWithError("no path found");
      break;
    }
    expanded = search->getClosedList().size();
    path_length = static_cast<std::size_t>(search->getPath().getNodeCount());
  }
  state.counters["cells_expanded"] = static_cast<double>(expanded);
  state.counters["path_nodes"] = static_cast<double>(path_length);
  state.counters["solid_objects"] = static_cast<double>(walls.size() + 1);

  walls.push_back(walker);
  for (cv::Object *object : walls)
    delete object;
}

void BM_PathSearch80x24(benchmark::State &state) { searchAcross(state, 80, 24, 10); }
void BM_PathSearch400x200(benchmark::State &state) { searchAcross(state, 400, 200, 40); }

}  // namespace

// Argument: 0 walls as one object each, 1 walls as one object per cell.
BENCHMARK(BM_PathSearch80x24)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PathSearch400x200)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
