#pragma once

namespace cv {

/// The outcome of one search step, and of a whole search when it ends.
enum PathStatus : int {
  NOT_FOUND = 0,  ///< no route: every reachable cell has been expanded
  SEARCHING = 1,  ///< cells are left to expand
  FOUND = 2,      ///< the goal (or the target) has been reached
};

}  // namespace cv
