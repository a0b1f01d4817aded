#include "Rock.h"

Rock::Rock(cv::Vector where) {
  setType("Rock");
  setSprite("rock");
  setPosition(where);
}
