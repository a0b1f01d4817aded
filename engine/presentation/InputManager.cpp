#include "presentation/InputManager.h"

namespace cv {

// Input is not read yet: the manager starts and stops and accepts interest
// in keyboard and mouse events.

InputManager::InputManager() { setType("InputManager"); }

InputManager &InputManager::getInstance() {
  static InputManager input_manager;
  return input_manager;
}

int InputManager::startUp() { return Manager::startUp(); }
void InputManager::shutDown() { Manager::shutDown(); }

bool InputManager::isValid(std::string event_type) const {
  return event_type == "cv-keyboard" || event_type == "cv-mouse";
}

void InputManager::getInput() {}

}  // namespace cv
