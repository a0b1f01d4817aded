#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "foundation/Box.h"

namespace cv {

class Object;

/// A uniform grid of cells over the plane that finds the objects whose
/// boxes may meet a given box without looking at every object. Each entry
/// remembers when it was inserted, and queries answer in that order, so a
/// list kept in insertion order (with removals keeping the order of the rest)
/// and this grid agree on the order of what they hold. An object may be
/// inserted more than once; a removal takes its earliest entry, as
/// ObjectList::remove takes the first occurrence.
///
/// Boxes are reduced to the cells their closed ranges touch, with the same
/// float arithmetic the box intersection test uses, so every box that
/// intersects a query box is among the candidates. Boxes that are not finite
/// or that span very many cells are kept aside and are candidates for every
/// query. The grid never owns the objects.
class SpatialGrid {
 public:
  /// An empty grid of cells `cell_width` by `cell_height` world cells.
  explicit SpatialGrid(float cell_width = 4, float cell_height = 4);

  /// Adds an entry for `object`, whose box in the world is `world_box`.
  void insert(Object *object, const Box &world_box);
  /// Removes the earliest entry of `object`; nothing if it has none.
  void remove(Object *object);
  /// Moves every entry of `object` to the cells of `world_box`.
  void move(Object *object, const Box &world_box);
  /// Removes every entry.
  void clear();
  /// Whether `object` has an entry.
  bool contains(const Object *object) const;

  /// The objects whose boxes may meet `area` (a superset of those that do),
  /// once per entry, in insertion order. The list is reused by the next query.
  const std::vector<Object *> &candidates(const Box &area) const;

 private:
  /// The cells a box touches, inclusive; `spread` when it has no usable cells.
  struct CellRange {
    std::int32_t min_x, min_y, max_x, max_y;  ///< first and last cell in each direction
    bool spread;                             ///< kept aside: a candidate for every query
    bool operator==(const CellRange &other) const;
  };
  /// One entry of one object, as stored in a cell.
  struct Item {
    Object *object;       ///< the object
    std::uint64_t order;  ///< when the entry was made; smaller is earlier
  };
  /// Where an object's entries are.
  struct Placement {
    CellRange range;                   ///< the cells every entry is in
    std::vector<std::uint64_t> orders; ///< the entries, earliest first
  };

  /// The cells `box` touches.
  CellRange rangeOf(const Box &box) const;
  /// Cell index of a coordinate along one direction, clamped to the grid's reach.
  static std::int32_t cellIndex(float coordinate, float cell_size);
  /// Key of the cell (x, y).
  static std::int64_t key(std::int32_t x, std::int32_t y);
  /// Adds one item to every cell of `range`, or to the spread list.
  void place(const Item &item, const CellRange &range);
  /// Takes the item of `order` out of every cell of `range`, or the spread list.
  void unplace(std::uint64_t order, const CellRange &range);
  /// Sorts the gathered candidates into insertion order, each entry once.
  void finishCandidates() const;

  float cell_width;                                            ///< cell width in world cells
  float cell_height;                                           ///< cell height in world cells
  std::uint64_t next_order;                                    ///< order of the next entry
  std::unordered_map<std::int64_t, std::vector<Item>> cells;   ///< entries by cell
  std::vector<Item> spread;                                    ///< entries kept aside
  std::unordered_map<const Object *, Placement> placements;    ///< each object's entries
  mutable std::vector<Item> gathered;                          ///< scratch space of a query
  mutable std::vector<Object *> answer;                        ///< the last query's answer
};

}  // namespace cv
