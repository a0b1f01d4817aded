#include "Floor.h"

Floor::Floor() {
  setType("Floor");
  setSprite("floor");
  setSolidness(cv::SPECTRAL);
  setAltitude(0);
  // Centred on the screen's middle, it covers the screen from its corner.
  setPosition(cv::Vector(39.5f, 11.5f));
}
