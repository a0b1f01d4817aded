#include "Walker.h"

namespace {

/// Cells walked per game step.
const float WALK_SPEED = 0.5f;

/// Adds one to the HUD counter labelled `label`.
void count(const std::string &label) {
  const cv::EventView event(label, 1, true);
  cv::WorldManager::getInstance().onEvent(&event);
}

}  // namespace

Walker::Walker(cv::Vector where) {
  setType("Walker");
  setSprite("walker");
  setPosition(where);
  // Slide along a wall's corner instead of stopping at it.
  setAvoidCollisions(true);
  registerInterest(cv::MOUSE_EVENT);
  registerInterest(cv::STEP_EVENT);
  // Path events come without registering: only to the object that asked.
}

int Walker::eventHandler(const cv::Event *event) {
  if (event->getType() == cv::MOUSE_EVENT) {
    handleClick(*static_cast<const cv::EventMouse *>(event));
    return 1;
  }
  if (event->getType() == cv::PATH_EVENT) {
    handlePath(*static_cast<const cv::EventPath *>(event));
    // The engine's own handler takes the path, starts following it and ends
    // the search; without it the path manager ends the search with a warning.
    return cv::Object::eventHandler(event);
  }
  if (event->getType() == cv::STEP_EVENT) {
    handleStep();
    return 1;
  }
  return 0;
}

void Walker::handleClick(const cv::EventMouse &mouse) {
  if (mouse.getMouseAction() != cv::CLICKED || mouse.getMouseButton() != cv::Mouse::LEFT_BUTTON)
    return;
  // The mouse reports view cells; the search wants world cells.
  const cv::Vector goal = cv::WorldManager::getInstance().getView().getCorner() + mouse.getMousePosition();
  if (findPath(goal) != 0)
    count("No way");
}

void Walker::handlePath(const cv::EventPath &found) {
  if (found.getStatus() != cv::FOUND) {
    count("No way");
    return;
  }
  setSpeed(WALK_SPEED);
  walking = true;
}

void Walker::handleStep() {
  // Following stops by itself at the end of the path.
  if (walking && !getFollowPath()) {
    walking = false;
    count("Arrivals");
  }
}
