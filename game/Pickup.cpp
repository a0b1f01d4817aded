#include "Pickup.h"

#include "Corvane.h"

Pickup::Pickup(cv::Vector position) {
  setType("Pickup");
  setSolidness(cv::SOFT);
  registerInterest(cv::STEP_EVENT);
  setPosition(position);
  setBox(cv::Box(cv::Vector(-1, -1), 3, 3));
}

int Pickup::eventHandler(const cv::Event *event) {
  return event->getType() == cv::STEP_EVENT || event->getType() == cv::COLLISION_EVENT ? 1 : 0;
}
