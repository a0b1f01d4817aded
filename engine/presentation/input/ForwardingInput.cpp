#include "presentation/input/ForwardingInput.h"

namespace cv {

ForwardingInput::ForwardingInput(std::unique_ptr<InputSource> wrapped) : live(std::move(wrapped)) {}

void ForwardingInput::startUp() { live->startUp(); }
void ForwardingInput::shutDown() { live->shutDown(); }
bool ForwardingInput::isInteractive() const { return live->isInteractive(); }
bool ForwardingInput::getInput(const InputDispatch &dispatch) { return live->getInput(dispatch); }
bool ForwardingInput::isKeyHeld(Keyboard::Key key) const { return live->isKeyHeld(key); }
bool ForwardingInput::isButtonHeld(Mouse::Button button) const { return live->isButtonHeld(button); }
Vector ForwardingInput::getMousePosition() const { return live->getMousePosition(); }
std::vector<int> ForwardingInput::takeKeyPresses() { return live->takeKeyPresses(); }

std::unique_ptr<InputSource> ForwardingInput::release() { return std::move(live); }

}  // namespace cv
