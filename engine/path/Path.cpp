#include "path/Path.h"

#include <cstddef>
#include <utility>

namespace cv {

Path::Path() : index(0) {}

Path::Path(std::vector<Vector> new_nodes) : nodes(std::move(new_nodes)), index(0) {}

bool Path::isDone() const { return static_cast<unsigned>(index) >= nodes.size(); }

Vector Path::currentNode() const { return isDone() ? Vector() : nodes[static_cast<std::size_t>(index)]; }

Path &Path::next() {
  if (index < getNodeCount())
    index++;
  return *this;
}

int Path::getIndex() const { return index; }

int Path::setIndex(int new_index) {
  if (new_index < 0 || new_index >= getNodeCount())
    return -1;
  index = new_index;
  return 0;
}

const std::vector<Vector> &Path::getNodes() const { return nodes; }

int Path::getNodeCount() const { return static_cast<int>(nodes.size()); }

}  // namespace cv
