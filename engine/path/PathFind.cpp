#include "path/PathFind.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/ObjectList.h"
#include "core/ObjectListIterator.h"
#include "foundation/Box.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"
#include "world/Object.h"
#include "world/SceneGraph.h"
#include "world/WorldManager.h"

namespace cv {

namespace {

// A boundary extent as whole cells: truncated, and 0 for a negative or
// undefined extent. Extents beyond `cap` give `cap`, so the conversion
// never overflows.
int wholeCells(float extent, int cap) {
  if (!(extent >= 1))
    return 0;
  if (extent >= static_cast<float>(cap))
    return cap;
  return static_cast<int>(extent);
}

// The cell nearest `coordinate` on an axis of `cells` cells, or -1 when the
// coordinate lies outside the axis. Positions up to the boundary's far edge
// belong to the last cell.
int cellOn(float coordinate, int cells) {
  if (!(coordinate >= -0.5f && coordinate <= static_cast<float>(cells)))
    return -1;
  return std::min(static_cast<int>(std::floor(coordinate + 0.5f)), cells - 1);
}

bool insideGraph(GridPoint cell, int width, int height) {
  return cell.x >= 0 && cell.y >= 0 && cell.x < width && cell.y < height;
}

Vector positionOf(GridPoint cell) { return Vector(static_cast<float>(cell.x), static_cast<float>(cell.y)); }

// The node graph's size from the world's boundary; false, after a message,
// when the world has too many cells for one search.
bool graphSize(int &width, int &height) {
  const Box boundary = WorldManager::getInstance().getBoundary();
  width = wholeCells(boundary.getHorizontal(), PathFind::MAX_PATH_CELLS + 1);
  height = wholeCells(boundary.getVertical(), PathFind::MAX_PATH_CELLS + 1);
  if (static_cast<long long>(width) * height <= PathFind::MAX_PATH_CELLS)
    return true;
  LogManager::getInstance().writeLog(
      "PathFind::create(): Error! world of %.0f x %.0f cells too large for a path search (at most %d cells).",
      std::trunc(boundary.getHorizontal()), std::trunc(boundary.getVertical()), PathFind::MAX_PATH_CELLS);
  return false;
}

}  // namespace

PathFind::PathFind(Object *new_object, GridPoint new_start, GridPoint new_goal, Object *new_target, int new_width,
                   int new_height)
    : object(new_object),
      target(new_target),
      start(new_start),
      goal(new_goal),
      width(new_width),
      height(new_height),
      node_graph(static_cast<std::size_t>(new_width) * static_cast<std::size_t>(new_height)),
      states(node_graph.size(), UNSEEN),
      orders(node_graph.size(), 0),
      open_count(0),
      next_order(0),
      own_width(0),
      own_height(0),
      found(false) {}

std::unique_ptr<PathFind> PathFind::create(Object *object, Vector goal, Object *target) {
  if (!object) {
    LogManager::getInstance().writeLog("PathFind::create(): Error! no object to find a path for.");
    return nullptr;
  }
  int width = 0, height = 0;
  if (!graphSize(width, height))
    return nullptr;
  const Vector position = object->getPosition();
  const GridPoint start_cell(cellOn(position.getX(), width), cellOn(position.getY(), height));
  if (start_cell.x < 0 || start_cell.y < 0) {
    LogManager::getInstance().writeLog(
        "PathFind::create(): Error! object at (%.2f,%.2f) outside the world.  Cannot find path.", position.getX(),
        position.getY());
    return nullptr;
  }
  const GridPoint goal_cell(cellOn(goal.getX(), width), cellOn(goal.getY(), height));
  if (goal_cell.x < 0 || goal_cell.y < 0) {
    LogManager::getInstance().writeLog("PathFind::create(): Error! goal (%.2f,%.2f) outside the world.  Cannot find path.",
                                       goal.getX(), goal.getY());
    return nullptr;
  }
  return create(object, start_cell, goal_cell, target);
}

std::unique_ptr<PathFind> PathFind::create(Object *object, GridPoint start, GridPoint goal, Object *target) {
  LogManager &log_manager = LogManager::getInstance();
  if (!object) {
    log_manager.writeLog("PathFind::create(): Error! no object to find a path for.");
    return nullptr;
  }
  int width = 0, height = 0;
  if (!graphSize(width, height))
    return nullptr;
  if (!insideGraph(start, width, height)) {
    log_manager.writeLog("PathFind::create(): Error! start (%d,%d) outside the world's %d x %d cells.  Cannot find path.",
                         start.x, start.y, width, height);
    return nullptr;
  }
  if (!insideGraph(goal, width, height)) {
    log_manager.writeLog("PathFind::create(): Error! goal (%d,%d) outside the world's %d x %d cells.  Cannot find path.",
                         goal.x, goal.y, width, height);
    return nullptr;
  }
  try {
    return std::unique_ptr<PathFind>(new PathFind(object, start, goal, target, width, height));
  } catch (const std::bad_alloc &) {
    log_manager.writeLog("PathFind::create(): Error! unable to allocate a node graph of %d x %d cells.", width,
                         height);
    return nullptr;
  }
}

PathStatus PathFind::cycleOnce() {
  const GridPoint current = takeBestOpen();
  // With the open list empty the start is taken again; listing it once is
  // enough, so a search stepped on after it ended does not grow.
  CellState &state = states[indexOf(current)];
  if (state != CLOSED)
    closed_list.push_back(current);
  state = CLOSED;
  if (current == goal)
    found = true;
  if (target && meetsTarget(current)) {
    found = true;
    goal = current;
  }
  if (found)
    return FOUND;
  expand(current);
  return open_count > 0 ? SEARCHING : NOT_FOUND;
}

GridPoint PathFind::takeBestOpen() {
  while (!open_list.empty()) {
    const OpenEntry best = open_list.top();
    open_list.pop();
    // An entry is outdated once its cell has been expanded or has been
    // queued again with a smaller estimate.
    const std::size_t index = indexOf(best.cell);
    if (states[index] == OPEN && node_graph[index].estimate == best.estimate) {
      open_count--;
      return best.cell;
    }
  }
  return start;
}

bool PathFind::meetsTarget(GridPoint cell) const {
  return boxIntersectsBox(getWorldBox(object, positionOf(cell)), getWorldBox(target, positionOf(goal)));
}

void PathFind::expand(GridPoint current) {
  const GridPoint limit = searchLimit();
  gatherObstacles(current);
  // The blocked test of each cell around `current`, made at most once:
  // -1 not made yet, else 0 free, 1 blocked.
  int blocked[3][3] = {{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}};
  auto blockedAt = [&](int dx, int dy) {
    int &known = blocked[dy + 1][dx + 1];
    if (known == -1)
      known = isBlocked(GridPoint(current.x + dx, current.y + dy)) ? 1 : 0;
    return known == 1;
  };
  for (int dy = -1; dy <= 1; dy++) {
    for (int dx = -1; dx <= 1; dx++) {
      const GridPoint neighbour(current.x + dx, current.y + dy);
      if ((dx == 0 && dy == 0) || !insideGraph(neighbour, limit.x, limit.y))
        continue;
      if (states[indexOf(neighbour)] == CLOSED || blockedAt(dx, dy))
        continue;
      // A diagonal step may pass one obstacle's corner, not squeeze between two.
      if (dx != 0 && dy != 0 && blockedAt(dx, 0) && blockedAt(0, dy))
        continue;
      relax(current, neighbour);
    }
  }
}

void PathFind::relax(GridPoint current, GridPoint neighbour) {
  const int dx = neighbour.x - current.x, dy = neighbour.y - current.y;
  const float step_cost = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
  const float new_cost = step_cost + node_graph[indexOf(current)].cost;
  const std::size_t index = indexOf(neighbour);
  PathNode &node = node_graph[index];
  const bool was_open = states[index] == OPEN;
  if (was_open && new_cost > node.cost)
    return;
  if (!was_open) {
    states[index] = OPEN;
    orders[index] = next_order++;
    open_count++;
  }
  // An equal cost re-parents too: the later route wins.
  const float new_estimate = new_cost + distanceToGoal(neighbour);
  const bool requeue = !was_open || new_estimate != node.estimate;
  node.parent = current;
  node.cost = new_cost;
  node.estimate = new_estimate;
  if (requeue)
    open_list.push(OpenEntry{new_estimate, orders[index], neighbour});
}

void PathFind::gatherObstacles(GridPoint current) {
  const Box box = object->getBox();
  own_corner = box.getCorner();
  own_width = box.getHorizontal();
  own_height = box.getVertical();
  // The area the object's box covers on any cell around `current` (with a
  // little room for rounding). The objects that meet it are kept; isBlocked
  // then makes the exact test for each cell.
  const float room = 0.01f;
  const Box reach_box(Vector(own_corner.getX() + static_cast<float>(current.x - 1) - room,
                             own_corner.getY() + static_cast<float>(current.y - 1) - room),
                      own_width + 2 + 2 * room, own_height + 2 + 2 * room);
  const Extent reach = extentOf(reach_box);
  obstacles.clear();
  SceneGraph &scene_graph = WorldManager::getInstance().getSceneGraph();
  if (scene_graph.getSpatialIndex()) {
    // Only the solid objects near the cells around `current`.
    for (const Object *other : scene_graph.solidObjectsNear(reach_box))
      keepIfObstacle(other, reach);
  } else {
    const ObjectList &solid = scene_graph.solidObjects();
    for (ObjectListIterator li(&solid); !li.isDone(); li.next())
      keepIfObstacle(li.currentObject(), reach);
  }
}

void PathFind::keepIfObstacle(const Object *other, const Extent &reach) {
  if (other == object || other->getSolidness() != HARD)
    return;
  const Extent extent = extentOf(getWorldBox(other));
  if (!covers(extent, static_cast<float>(goal.x), static_cast<float>(goal.y)) && overlaps(extent, reach))
    obstacles.push_back(extent);
}

bool PathFind::isBlocked(GridPoint cell) const {
  // The object's box placed on `cell`, as getWorldBox places it.
  const float left = own_corner.getX() + static_cast<float>(cell.x);
  const float top = own_corner.getY() + static_cast<float>(cell.y);
  const Extent placed{left, left + own_width, top, top + own_height};
  for (const Extent &extent : obstacles)
    if (overlaps(extent, placed))
      return true;
  return false;
}

PathFind::Extent PathFind::extentOf(const Box &box) {
  const Vector corner = box.getCorner();
  return Extent{corner.getX(), corner.getX() + box.getHorizontal(), corner.getY(),
                corner.getY() + box.getVertical()};
}

bool PathFind::overlaps(const Extent &a, const Extent &b) {
  const bool x_overlap = (b.left <= a.left && a.left <= b.right) || (a.left <= b.left && b.left <= a.right);
  const bool y_overlap = (b.top <= a.top && a.top <= b.bottom) || (a.top <= b.top && b.top <= a.bottom);
  return x_overlap && y_overlap;
}

bool PathFind::covers(const Extent &extent, float x, float y) {
  return extent.left <= x && x <= extent.right && extent.top <= y && y <= extent.bottom;
}

GridPoint PathFind::searchLimit() const {
  const Box boundary = WorldManager::getInstance().getBoundary();
  return GridPoint(wholeCells(boundary.getHorizontal(), width), wholeCells(boundary.getVertical(), height));
}

float PathFind::distanceToGoal(GridPoint cell) const {
  const double dx = cell.x - goal.x, dy = cell.y - goal.y;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

std::size_t PathFind::indexOf(GridPoint cell) const {
  return static_cast<std::size_t>(cell.y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(cell.x);
}

Path PathFind::getPath() const {
  if (!found)
    return Path();
  // Parents always lead to cells expanded earlier, so the walk ends at the start.
  std::vector<Vector> nodes;
  for (GridPoint cell = goal; cell != start; cell = node_graph[indexOf(cell)].parent)
    nodes.push_back(positionOf(cell));
  nodes.push_back(positionOf(start));
  std::reverse(nodes.begin(), nodes.end());
  return Path(std::move(nodes));
}

Object *PathFind::getObject() const { return object; }

Object *PathFind::getTarget() const { return target; }

void PathFind::forgetTarget() { target = nullptr; }

GridPoint PathFind::getStart() const { return start; }

GridPoint PathFind::getGoal() const { return goal; }

bool PathFind::isFound() const { return found; }

void PathFind::markReported() { reported = true; }

bool PathFind::wasReported() const { return reported; }

int PathFind::getWidth() const { return width; }

int PathFind::getHeight() const { return height; }

const PathNode *PathFind::getNode(GridPoint cell) const {
  return insideGraph(cell, width, height) ? &node_graph[indexOf(cell)] : nullptr;
}

const std::vector<GridPoint> &PathFind::getClosedList() const { return closed_list; }

std::vector<GridPoint> PathFind::getOpenList() const {
  std::vector<GridPoint> open;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)
      if (states[indexOf(GridPoint(x, y))] == OPEN)
        open.push_back(GridPoint(x, y));
  std::sort(open.begin(), open.end(),
            [this](GridPoint a, GridPoint b) { return orders[indexOf(a)] < orders[indexOf(b)]; });
  return open;
}

}  // namespace cv
