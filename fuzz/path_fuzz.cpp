// Path finding on small worlds built from the input: the world's size, the
// walker's box, the start and goal cells and up to 16 HARD obstacles. The
// oracle is a breadth-first search of its own over the same cells with the
// same moves (eight neighbours; a diagonal step may pass one blocked corner
// but not two; a HARD object covering the goal blocks nothing). Both must
// agree on whether a route exists, and a found path must start at the
// start, end at the goal and take only legal steps through free cells.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "Corvane.h"
#include "FuzzEngine.h"

namespace {

struct Rect {
  float left, top, right, bottom;  // closed ranges
};

bool meets(const Rect &a, const Rect &b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool covers(const Rect &r, float x, float y) { return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom; }

struct World {
  int width = 0, height = 0;
  float corner_x = 0, corner_y = 0, extent = 1;  // the walker's box, relative to its position
  cv::GridPoint start, goal;
  std::vector<Rect> obstacles;

  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  bool blocked(int x, int y) const {
    const Rect walker{x + corner_x, y + corner_y, x + corner_x + extent, y + corner_y + extent};
    for (const Rect &obstacle : obstacles)
      if (meets(walker, obstacle) && !covers(obstacle, static_cast<float>(goal.x), static_cast<float>(goal.y)))
        return true;
    return false;
  }

  // Whether the step from (x, y) to (nx, ny), one of the eight neighbours, may be taken.
  bool stepAllowed(int x, int y, int nx, int ny) const {
    if (!inside(nx, ny) || blocked(nx, ny))
      return false;
    return nx == x || ny == y || !blocked(nx, y) || !blocked(x, ny);
  }

  bool reachable() const {
    std::vector<char> seen(static_cast<std::size_t>(width * height), 0);
    std::queue<cv::GridPoint> queue;
    queue.push(start);
    seen[static_cast<std::size_t>(start.y * width + start.x)] = 1;
    while (!queue.empty()) {
      const cv::GridPoint at = queue.front();
      queue.pop();
      if (at == goal)
        return true;
      for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
          const int nx = at.x + dx, ny = at.y + dy;
          if ((dx || dy) && stepAllowed(at.x, at.y, nx, ny) && !seen[static_cast<std::size_t>(ny * width + nx)]) {
            seen[static_cast<std::size_t>(ny * width + nx)] = 1;
            queue.push(cv::GridPoint(nx, ny));
          }
        }
    }
    return false;
  }
};

World worldOf(const std::uint8_t *data, std::size_t size) {
  World world;
  world.width = 1 + data[0] % 16;
  world.height = 1 + data[1] % 16;
  world.corner_x = (data[2] & 1) ? -0.5f : 0.0f;
  world.corner_y = (data[2] & 2) ? -0.5f : 0.0f;
  world.extent = 0.5f * (1 + ((data[2] >> 2) & 3));
  world.start = cv::GridPoint(data[3] % world.width, data[4] % world.height);
  world.goal = cv::GridPoint(data[5] % world.width, data[6] % world.height);
  for (std::size_t at = 7; at + 4 <= size && world.obstacles.size() < 16; at += 4) {
    const float left = 0.5f * (data[at] % 36) - 1, top = 0.5f * (data[at + 1] % 36) - 1;
    world.obstacles.push_back({left, top, left + 0.5f * (data[at + 2] % 12), top + 0.5f * (data[at + 3] % 12)});
  }
  return world;
}

std::string describe(const World &world) {
  std::string text = std::to_string(world.width) + "x" + std::to_string(world.height) + " from " +
                     std::to_string(world.start.x) + "," + std::to_string(world.start.y) + " to " +
                     std::to_string(world.goal.x) + "," + std::to_string(world.goal.y) + "\n";
  for (int y = 0; y < world.height; y++, text += "\n")
    for (int x = 0; x < world.width; x++)
      text += world.blocked(x, y) ? '#' : '.';
  return text;
}

void checkPath(const World &world, const cv::Path &path) {
  const std::vector<cv::Vector> &nodes = path.getNodes();
  if (nodes.empty() || nodes.front().getX() != world.start.x || nodes.front().getY() != world.start.y ||
      nodes.back().getX() != world.goal.x || nodes.back().getY() != world.goal.y)
    cvfuzz::fail("the path does not run from the start to the goal", describe(world));
  for (std::size_t i = 1; i < nodes.size(); i++) {
    const int x = static_cast<int>(nodes[i - 1].getX()), y = static_cast<int>(nodes[i - 1].getY());
    const int nx = static_cast<int>(nodes[i].getX()), ny = static_cast<int>(nodes[i].getY());
    if (std::abs(nx - x) > 1 || std::abs(ny - y) > 1 || (nx == x && ny == y) || !world.stepAllowed(x, y, nx, ny))
      cvfuzz::fail("the path takes an illegal step", describe(world) + "step " + std::to_string(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  cvfuzz::startEngine();
  if (size < 7)
    return 0;
  const World world = worldOf(data, size);
  cv::WorldManager &world_manager = cv::WorldManager::getInstance();
  world_manager.setBoundary(cv::Box(cv::Vector(0, 0), static_cast<float>(world.width),
                                    static_cast<float>(world.height)));
  std::vector<std::unique_ptr<cv::Object>> obstacles;
  for (const Rect &rect : world.obstacles) {
    auto obstacle = std::make_unique<cv::Object>();
    obstacle->setSolidness(cv::HARD);
    obstacle->setBox(cv::Box(cv::Vector(0, 0), rect.right - rect.left, rect.bottom - rect.top));
    obstacle->setPosition(cv::Vector(rect.left, rect.top));
    obstacles.push_back(std::move(obstacle));
  }
  cv::Object walker;
  walker.setSolidness(cv::HARD);
  walker.setBox(cv::Box(cv::Vector(world.corner_x, world.corner_y), world.extent, world.extent));
  walker.setPosition(cv::Vector(static_cast<float>(world.start.x), static_cast<float>(world.start.y)));
  std::unique_ptr<cv::PathFind> search = cv::PathFind::create(&walker, world.start, world.goal);
  if (!search)
    cvfuzz::fail("a search inside the world was refused", describe(world));
  cv::PathStatus status = cv::SEARCHING;
  const int most_steps = world.width * world.height + 1;
  for (int step = 0; step < most_steps && status == cv::SEARCHING; step++)
    status = search->cycleOnce();
  if (status == cv::SEARCHING)
    cvfuzz::fail("the search expanded more cells than the world has", describe(world));
  const bool route = world.reachable();
  if ((status == cv::FOUND) != route)
    cvfuzz::fail(route ? "the search missed a route" : "the search found a route where none exists",
                 describe(world));
  if (status == cv::FOUND)
    checkPath(world, search->getPath());
  return 0;
}
