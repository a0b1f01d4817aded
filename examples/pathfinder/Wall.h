#pragma once

#include "Corvane.h"

/// A hard upright wall, one cell wide and fourteen high, centred at its position.
class Wall : public cv::Object {
 public:
  explicit Wall(cv::Vector where);
};
