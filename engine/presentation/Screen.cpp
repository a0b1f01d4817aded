#include "presentation/Screen.h"

#include <cmath>

namespace cv {

bool nearestCell(Vector view_pos, int columns, int rows, int &column, int &row) {
  const float x = std::floor(view_pos.getX() + 0.5f);
  const float y = std::floor(view_pos.getY() + 0.5f);
  // Also false for a position that is not a number.
  if (!(x >= 0 && y >= 0 && x < static_cast<float>(columns) && y < static_cast<float>(rows)))
    return false;
  column = static_cast<int>(x);
  row = static_cast<int>(y);
  return true;
}

}  // namespace cv
