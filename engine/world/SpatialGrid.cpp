#include "world/SpatialGrid.h"

#include <algorithm>
#include <cmath>

namespace cv {

namespace {

// Boxes touching more cells than this are kept aside rather than entered in
// every cell: a wall across the world stays one entry.
const std::int64_t MAX_CELLS_PER_BOX = 64;

// Queries over more cells than this read every entry instead of every cell.
const std::int64_t MAX_CELLS_PER_QUERY = 1024;

// Cell indices are clamped to this reach. Clamping keeps the order of
// coordinates, so far-away boxes share edge cells but are still found.
const double MAX_CELL_INDEX = 1 << 30;

// The closed range a box covers along one direction, whichever the sign of
// its extent: it holds every point where the intersection test can succeed.
void coveredRange(float corner, float extent, float &low, float &high) {
  const float far = corner + extent;  // the same sum the intersection test makes
  low = std::min(corner, far);
  high = std::max(corner, far);
}

}  // namespace

bool SpatialGrid::CellRange::operator==(const CellRange &other) const {
  if (spread || other.spread)
    return spread == other.spread;
  return min_x == other.min_x && min_y == other.min_y && max_x == other.max_x && max_y == other.max_y;
}

SpatialGrid::SpatialGrid(float cell_width, float cell_height)
    : cell_width(cell_width > 0 ? cell_width : 1), cell_height(cell_height > 0 ? cell_height : 1), next_order(0) {}

std::int32_t SpatialGrid::cellIndex(float coordinate, float cell_size) {
  const double index = std::floor(static_cast<double>(coordinate) / cell_size);
  return static_cast<std::int32_t>(std::clamp(index, -MAX_CELL_INDEX, MAX_CELL_INDEX));
}

std::int64_t SpatialGrid::key(std::int32_t x, std::int32_t y) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32 |
                                   static_cast<std::uint32_t>(y));
}

SpatialGrid::CellRange SpatialGrid::rangeOf(const Box &box) const {
  CellRange range{0, 0, 0, 0, true};
  float low_x, high_x, low_y, high_y;
  coveredRange(box.getCorner().getX(), box.getHorizontal(), low_x, high_x);
  coveredRange(box.getCorner().getY(), box.getVertical(), low_y, high_y);
  if (!std::isfinite(low_x) || !std::isfinite(high_x) || !std::isfinite(low_y) || !std::isfinite(high_y))
    return range;
  range.min_x = cellIndex(low_x, cell_width);
  range.max_x = cellIndex(high_x, cell_width);
  range.min_y = cellIndex(low_y, cell_height);
  range.max_y = cellIndex(high_y, cell_height);
  const std::int64_t count = (static_cast<std::int64_t>(range.max_x) - range.min_x + 1) *
                             (static_cast<std::int64_t>(range.max_y) - range.min_y + 1);
  range.spread = count > MAX_CELLS_PER_BOX;
  return range;
}

void SpatialGrid::place(const Item &item, const CellRange &range) {
  if (range.spread) {
    spread.push_back(item);
    return;
  }
  for (std::int32_t x = range.min_x; x <= range.max_x; x++)
    for (std::int32_t y = range.min_y; y <= range.max_y; y++)
      cells[key(x, y)].push_back(item);
}

void SpatialGrid::unplace(std::uint64_t order, const CellRange &range) {
  const auto take = [order](std::vector<Item> &items) {
    const auto found =
        std::find_if(items.begin(), items.end(), [order](const Item &item) { return item.order == order; });
    if (found != items.end())
      items.erase(found);
  };
  if (range.spread) {
    take(spread);
    return;
  }
  for (std::int32_t x = range.min_x; x <= range.max_x; x++) {
    for (std::int32_t y = range.min_y; y <= range.max_y; y++) {
      const auto cell = cells.find(key(x, y));
      if (cell == cells.end())
        continue;
      take(cell->second);
      if (cell->second.empty())
        cells.erase(cell);
    }
  }
}

void SpatialGrid::insert(Object *object, const Box &world_box) {
  Placement &placement = placements[object];
  if (placement.orders.empty())
    placement.range = rangeOf(world_box);
  else
    move(object, world_box);  // every entry of one object shares the same box
  const Item item{object, next_order++};
  placement.orders.push_back(item.order);
  place(item, placement.range);
}

void SpatialGrid::remove(Object *object) {
  const auto found = placements.find(object);
  if (found == placements.end())
    return;
  Placement &placement = found->second;
  unplace(placement.orders.front(), placement.range);
  placement.orders.erase(placement.orders.begin());
  if (placement.orders.empty())
    placements.erase(found);
}

void SpatialGrid::move(Object *object, const Box &world_box) {
  const auto found = placements.find(object);
  if (found == placements.end())
    return;
  Placement &placement = found->second;
  const CellRange range = rangeOf(world_box);
  if (range == placement.range)
    return;
  for (const std::uint64_t order : placement.orders) {
    unplace(order, placement.range);
    place(Item{object, order}, range);
  }
  placement.range = range;
}

void SpatialGrid::clear() {
  cells.clear();
  spread.clear();
  placements.clear();
}

bool SpatialGrid::contains(const Object *object) const { return placements.count(object) > 0; }

const std::vector<Object *> &SpatialGrid::candidates(const Box &area) const {
  gathered.assign(spread.begin(), spread.end());
  const CellRange range = rangeOf(area);
  const std::int64_t count = range.spread ? 0
                                          : (static_cast<std::int64_t>(range.max_x) - range.min_x + 1) *
                                                (static_cast<std::int64_t>(range.max_y) - range.min_y + 1);
  if (range.spread || count > MAX_CELLS_PER_QUERY) {
    // Reading every entry is cheaper than visiting that many cells.
    for (const auto &cell : cells)
      gathered.insert(gathered.end(), cell.second.begin(), cell.second.end());
  } else {
    for (std::int32_t x = range.min_x; x <= range.max_x; x++) {
      for (std::int32_t y = range.min_y; y <= range.max_y; y++) {
        const auto cell = cells.find(key(x, y));
        if (cell != cells.end())
          gathered.insert(gathered.end(), cell->second.begin(), cell->second.end());
      }
    }
  }
  finishCandidates();
  return answer;
}

void SpatialGrid::finishCandidates() const {
  std::sort(gathered.begin(), gathered.end(), [](const Item &a, const Item &b) { return a.order < b.order; });
  answer.clear();
  std::uint64_t last = 0;
  bool first = true;
  for (const Item &item : gathered) {
    if (!first && item.order == last)
      continue;  // an entry met in several cells
    answer.push_back(item.object);
    last = item.order;
    first = false;
  }
}

}  // namespace cv
