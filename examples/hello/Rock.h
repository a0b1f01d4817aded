#pragma once

#include "Corvane.h"

/// An obstacle: hard, so nothing hard walks through it.
class Rock : public cv::Object {
 public:
  explicit Rock(cv::Vector where);
};
