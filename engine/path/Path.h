#pragma once

#include <vector>

#include "foundation/Vector.h"

namespace cv {

/// A route as positions to pass, first to last, and the node currently
/// headed for. Copied whole.
class Path {
 public:
  /// An empty path: no nodes, index 0.
  Path();
  /// The given nodes, heading for the first.
  explicit Path(std::vector<Vector> nodes);

  /// True when the index, taken as unsigned, is not below the node count:
  /// an empty path is done, and so is one with a negative index.
  bool isDone() const;
  /// The node headed for, or (0, 0) when the path is done.
  Vector currentNode() const;
  /// Heads for the next node; the index never passes the node count.
  Path &next();

  /// The node currently headed for.
  int getIndex() const;
  /// Heads for node `new_index`. Returns -1 and changes nothing if it is
  /// negative or not below the node count, 0 otherwise.
  int setIndex(int new_index);

  /// The positions to pass, first to last.
  const std::vector<Vector> &getNodes() const;
  /// Number of nodes.
  int getNodeCount() const;

 private:
  std::vector<Vector> nodes;  ///< positions to pass, first to last
  int index;                  ///< node currently headed for, at most the node count
};

}  // namespace cv
