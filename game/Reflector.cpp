#include "Reflector.h"

#include "Corvane.h"

Reflector::Reflector(cv::Vector position) {
  setType("Reflector");
  setSprite("reflector");
  setSolidness(cv::SOFT);
  registerInterest(cv::STEP_EVENT);
  setPosition(cv::Vector(position.getX() + 3, position.getY()));
}

int Reflector::eventHandler(const cv::Event *event) {
  return event->getType() == cv::STEP_EVENT || event->getType() == cv::COLLISION_EVENT ? 1 : 0;
}
