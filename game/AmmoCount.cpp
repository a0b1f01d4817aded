#include "AmmoCount.h"

#include "Corvane.h"

AmmoCount::AmmoCount() {
  setLocation(cv::BOTTOM_RIGHT);
  setViewString("Bullets");
  setValue(2);
  setColor(cv::YELLOW);
  registerInterest(cv::STEP_EVENT);
}

int AmmoCount::eventHandler(const cv::Event *event) {
  if (cv::ViewObject::eventHandler(event))
    return 1;
  if (event->getType() == cv::STEP_EVENT)
    setColor(getValue() > 2 ? cv::BLUE : cv::YELLOW);
  return 0;
}
