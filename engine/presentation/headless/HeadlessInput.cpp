#include "presentation/headless/HeadlessInput.h"

#include "foundation/LogManager.h"

namespace cv {

void HeadlessInput::startUp() {
  LogManager::getInstance().writeLog(1, "InputManager::startUp(): not doing input since in headless mode.");
}

bool HeadlessInput::isInteractive() const { return false; }

bool HeadlessInput::getInput(const InputDispatch &) { return true; }

bool HeadlessInput::isKeyHeld(Keyboard::Key) const { return false; }

bool HeadlessInput::isButtonHeld(Mouse::Button) const { return false; }

Vector HeadlessInput::getMousePosition() const { return Vector(); }

std::vector<int> HeadlessInput::takeKeyPresses() { return {}; }

}  // namespace cv
