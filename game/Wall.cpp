#include "Wall.h"

#include "Corvane.h"

Wall::Wall(cv::Vector position) {
  setType("Wall");
  setSprite("wall");
  setSolidness(cv::HARD);
  setAltitude(4);
  registerInterest(cv::STEP_EVENT);
  setPosition(position);
}
