#include "Reticle.h"

#include "Corvane.h"

Reticle::Reticle() {
  setType("Reticle");
  setSolidness(cv::SPECTRAL);
  setAltitude(4);
  registerInterest(cv::MOUSE_EVENT);
  const cv::Box boundary = cv::WorldManager::getInstance().getBoundary();
  const int columns = static_cast<int>(boundary.getHorizontal()), rows = static_cast<int>(boundary.getVertical());
  setPosition(cv::Vector(static_cast<float>(columns / 2), static_cast<float>(rows / 2)));
}

int Reticle::eventHandler(const cv::Event *event) {
  if (event->getType() != cv::MOUSE_EVENT)
    return 0;
  const auto *mouse = static_cast<const cv::EventMouse *>(event);
  if (mouse->getMouseAction() != cv::MOVED)
    return 0;
  setPosition(mouse->getMousePosition());
  return 1;
}

int Reticle::draw() { return cv::DisplayManager::getInstance().drawCharacter(getPosition(), '+', cv::RED); }
