#include "ReflectorDisplay.h"

#include "Corvane.h"

ReflectorDisplay::ReflectorDisplay() {
  setLocation(cv::CENTER_RIGHT);
  setViewString("RFL POWER");
  setValue(30);
  setColor(cv::YELLOW);
  registerInterest(cv::STEP_EVENT);
}

int ReflectorDisplay::eventHandler(const cv::Event *event) {
  if (cv::ViewObject::eventHandler(event))
    return 1;
  if (event->getType() != cv::STEP_EVENT)
    return 0;
  if (getValue() < 0)
    setColor(cv::RED);
  else if (getValue() >= 30)
    setColor(cv::YELLOW);
  return 0;
}
