#pragma once

#include "Corvane.h"

/// The shaded floor under everything: a sprite as large as the screen,
/// drawn first, that nothing collides with.
class Floor : public cv::Object {
 public:
  Floor();
};
