#include "Wall.h"

Wall::Wall(cv::Vector where) {
  setType("Wall");
  setSprite("wall");
  setPosition(where);
}
