#pragma once
// A started headless engine (80 x 24 boundary) for path tests, with helpers
// that build obstacles cell by cell. The world owns every object made here.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

namespace pathtest {

inline cv::Vector at(cv::GridPoint cell) { return cv::Vector(static_cast<float>(cell.x), static_cast<float>(cell.y)); }

/// A one-cell object at `cell`, HARD unless said otherwise.
inline cv::Object *blockAt(cv::GridPoint cell, cv::Solidness solidness = cv::HARD) {
  auto *block = new cv::Object;
  block->setType("Block");
  block->setPosition(at(cell));
  block->setSolidness(solidness);
  return block;
}

/// One-cell HARD objects on every cell of the column `x` from row `top` to `bottom`.
inline void wallDown(int x, int top, int bottom) {
  for (int y = top; y <= bottom; y++)
    blockAt(cv::GridPoint(x, y));
}

/// A HARD object covering the cells from `first` to `last`, both included.
inline cv::Object *slabOver(cv::GridPoint first, cv::GridPoint last) {
  cv::Object *slab = blockAt(first);
  slab->setBox(cv::Box(cv::Vector(-0.5f, -0.5f), static_cast<float>(last.x - first.x) + 0.99f,
                       static_cast<float>(last.y - first.y) + 0.99f));
  return slab;
}

/// Steps `search` until it ends or `limit` steps have been made.
inline cv::PathStatus runToEnd(cv::PathFind &search, int limit = 100000) {
  cv::PathStatus status = cv::SEARCHING;
  for (int i = 0; i < limit && status == cv::SEARCHING; i++)
    status = search.cycleOnce();
  return status;
}

/// Whether every node of `path` is one straight or diagonal step from the one before.
inline bool stepsCellByCell(const cv::Path &path) {
  const std::vector<cv::Vector> &nodes = path.getNodes();
  for (std::size_t i = 1; i < nodes.size(); i++) {
    const cv::Vector step = nodes[i] - nodes[i - 1];
    const float dx = step.getX() < 0 ? -step.getX() : step.getX();
    const float dy = step.getY() < 0 ? -step.getY() : step.getY();
    if (dx > 1 || dy > 1 || (dx == 0 && dy == 0))
      return false;
  }
  return true;
}

class PathWorld : public ::testing::Test {
 protected:
  explicit PathWorld(const std::string &config = "headless:true,") : engine(config) {}
  void SetUp() override { ASSERT_EQ(engine.start(), 0); }
  void TearDown() override {
    if (cv::GameManager::getInstance().isStarted())
      engine.stop();
  }

  cv::WorldManager &world() { return cv::WorldManager::getInstance(); }
  cv::PathManager &paths() { return cv::PathManager::getInstance(); }

  /// An object at `cell` that searches; the default HARD one-cell object.
  cv::Object *searcherAt(cv::GridPoint cell) { return blockAt(cell); }

  cvtest::TestEngine engine;  ///< the engine under test
};

}  // namespace pathtest

namespace cv {
inline std::ostream &operator<<(std::ostream &out, const GridPoint &cell) {
  return out << "(" << cell.x << "," << cell.y << ")";
}
inline std::ostream &operator<<(std::ostream &out, const Vector &position) {
  return out << "(" << position.getX() << "," << position.getY() << ")";
}
}  // namespace cv
