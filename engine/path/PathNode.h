#pragma once

#include <cstdint>

namespace cv {

/// A cell of the world: column `x` and row `y`. Cell (x, y) stands for the
/// world position (x, y).
struct GridPoint {
  std::int32_t x = 0;  ///< column
  std::int32_t y = 0;  ///< row

  GridPoint() = default;
  GridPoint(std::int32_t new_x, std::int32_t new_y) : x(new_x), y(new_y) {}

  bool operator==(const GridPoint &other) const { return x == other.x && y == other.y; }
  bool operator!=(const GridPoint &other) const { return !(*this == other); }
};

/// What a search knows about one cell. Costs and estimates are single
/// precision on purpose: which of two equal-looking routes wins depends on
/// how they round.
struct PathNode {
  float cost = 0;      ///< cost of the best route found so far from the start
  float estimate = 0;  ///< cost plus the straight-line distance to the goal
  GridPoint parent;    ///< the cell the best route reaches this one from
};

}  // namespace cv
