#pragma once

#include <cstdint>
#include <memory>
#include <queue>
#include <vector>

#include "foundation/Vector.h"
#include "path/Path.h"
#include "path/PathNode.h"
#include "path/PathStatus.h"

namespace cv {

class Box;
class Object;

/// One path search for one object across the world's cells, around HARD
/// obstacles: a best-first search with a straight-line estimate, run one
/// cell at a time so that the path manager can stop between cells.
///
/// A search is sized from the world's boundary when it is created; a world
/// of more than MAX_PATH_CELLS cells, or a start or goal outside it, is
/// refused with a message. The search never owns its object or target.
class PathFind {
 public:
  /// Most cells a search's node graph may hold (1024 x 1024).
  static const int MAX_PATH_CELLS = 1 << 20;

  /// A search for `object` from the cell nearest its position to the cell
  /// nearest `goal`. With a `target`, the search also ends as soon as the
  /// object would overlap the target placed on the goal cell. Returns null,
  /// after a message, when there is no object, the world is too large, or
  /// the object or the goal lies outside the world.
  static std::unique_ptr<PathFind> create(Object *object, Vector goal, Object *target = nullptr);
  /// A search for `object` from cell `start` to cell `goal`; refused as above.
  static std::unique_ptr<PathFind> create(Object *object, GridPoint start, GridPoint goal,
                                          Object *target = nullptr);

  /// One search step: expands one cell. FOUND when the goal (or the
  /// target) is reached, SEARCHING while cells are left, else NOT_FOUND.
  /// Once found, a search stays found.
  PathStatus cycleOnce();

  /// The path from the start to the goal, both included, when found;
  /// otherwise an empty path.
  Path getPath() const;

  /// The object the path is for.
  Object *getObject() const;
  /// The object to reach, or null.
  Object *getTarget() const;
  /// Stops aiming at the target (it is going away): the search then leads
  /// to its goal cell.
  void forgetTarget();

  /// The cell the path starts from.
  GridPoint getStart() const;
  /// The cell the path leads to (the reached cell once a target is met).
  GridPoint getGoal() const;
  /// Whether a path has been found.
  bool isFound() const;

  /// Notes that the search's outcome has been handed to its object.
  void markReported();
  /// Whether the outcome has been handed to the object: a search still
  /// listed after that was kept by an object that did not end it.
  bool wasReported() const;

  /// Columns and rows of the node graph.
  int getWidth() const;
  int getHeight() const;
  /// What the search knows of `cell`, or null outside the node graph.
  const PathNode *getNode(GridPoint cell) const;
  /// Cells already expanded, in expansion order.
  const std::vector<GridPoint> &getClosedList() const;
  /// Cells reached but not yet expanded, in the order they were reached.
  /// Built by a walk over the whole node graph.
  std::vector<GridPoint> getOpenList() const;

 private:
  /// Where a cell stands in the search.
  enum CellState : std::uint8_t { UNSEEN, OPEN, CLOSED };

  /// A cell waiting on the open list with the estimate it had when queued.
  struct OpenEntry {
    float estimate;       ///< the cell's estimate when queued
    std::uint32_t order;  ///< when the cell joined the open list
    GridPoint cell;       ///< the cell
  };
  /// A world box as its edges, so that the many tests against obstacles
  /// need no further geometry calls. Tests on extents give the same
  /// answers as the same tests on the boxes.
  struct Extent {
    float left, right;  ///< horizontal range, edges included
    float top, bottom;  ///< vertical range, edges included
  };
  /// The edges of `box`.
  static Extent extentOf(const Box &box);
  /// Whether the extents overlap or touch, as boxIntersectsBox decides.
  static bool overlaps(const Extent &a, const Extent &b);
  /// Whether the point (x, y) lies in `extent`, edges included.
  static bool covers(const Extent &extent, float x, float y);
  /// Orders the open list so that its top is the smallest estimate and,
  /// among equal estimates, the cell that joined last.
  struct ExpandsLater {
    bool operator()(const OpenEntry &a, const OpenEntry &b) const {
      return a.estimate > b.estimate || (a.estimate == b.estimate && a.order < b.order);
    }
  };

  PathFind(Object *object, GridPoint start, GridPoint goal, Object *target, int width, int height);
  PathFind(const PathFind &) = delete;
  PathFind &operator=(const PathFind &) = delete;

  /// Takes the open cell to expand next off the open list; `start` when
  /// the open list is empty.
  GridPoint takeBestOpen();
  /// Whether `object` on `cell` would overlap `target` on the goal cell.
  bool meetsTarget(GridPoint cell) const;
  /// Reaches the free neighbours of `current` that are not closed yet.
  void expand(GridPoint current);
  /// Offers `neighbour` the route through `current`.
  void relax(GridPoint current, GridPoint neighbour);
  /// Gathers into `obstacles` the world boxes of the HARD objects that may
  /// keep `object` off a cell around `current`, asking the scene graph's
  /// grid for the objects nearby when it is in use. A HARD object covering
  /// the goal never blocks, so that a goal inside an obstacle can be reached.
  void gatherObstacles(GridPoint current);
  /// Adds the world box of `other` to `obstacles` when it is HARD, is not
  /// the object itself, does not cover the goal and meets `reach`.
  void keepIfObstacle(const Object *other, const Extent &reach);
  /// Whether one of the gathered obstacles keeps `object` off `cell`.
  bool isBlocked(GridPoint cell) const;
  /// Columns and rows a neighbour may lie in: the world's boundary as it
  /// is now, but never more than the node graph.
  GridPoint searchLimit() const;
  /// Straight-line distance from `cell` to the goal.
  float distanceToGoal(GridPoint cell) const;
  /// Index of `cell` in the node graph's arrays.
  std::size_t indexOf(GridPoint cell) const;

  Object *object;                     ///< the object the path is for, not owned
  Object *target;                     ///< object to reach, or null; not owned
  GridPoint start;                    ///< the cell the path starts from
  GridPoint goal;                     ///< the cell the path leads to
  int width;                          ///< columns of the node graph
  int height;                         ///< rows of the node graph
  std::vector<PathNode> node_graph;   ///< one record per cell, row by row
  std::vector<CellState> states;      ///< per cell: unseen, open or closed
  std::vector<std::uint32_t> orders;  ///< per cell: when it joined the open list
  std::priority_queue<OpenEntry, std::vector<OpenEntry>, ExpandsLater>
      open_list;                      ///< open cells; entries outdated by a better estimate are skipped
  int open_count;                     ///< cells on the open list
  std::uint32_t next_order;           ///< order the next cell to join the open list gets
  std::vector<GridPoint> closed_list; ///< cells expanded, in order
  std::vector<Extent> obstacles;      ///< HARD objects around the cell being expanded
  Vector own_corner;                  ///< corner of the object's box, relative to its position
  float own_width;                    ///< horizontal extent of the object's box
  float own_height;                   ///< vertical extent of the object's box
  bool found;                         ///< a path has been found
  bool reported = false;              ///< the outcome has been handed to the object
};

}  // namespace cv
