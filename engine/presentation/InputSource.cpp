#include "presentation/InputSource.h"

namespace cv {

namespace {

// The keys whose held state is reported every iteration, in this order.
// F11, F12 and unnamed keys are not among them.
std::vector<Keyboard::Key> makePolledKeys() {
  std::vector<Keyboard::Key> keys = {
      Keyboard::UP,           Keyboard::DOWN,          Keyboard::LEFT,       Keyboard::RIGHT,      Keyboard::SPACE,
      Keyboard::RETURN,       Keyboard::TAB,           Keyboard::ESCAPE,     Keyboard::PAUSE,      Keyboard::MINUS,
      Keyboard::PLUS,         Keyboard::TILDE,         Keyboard::PERIOD,     Keyboard::COMMA,      Keyboard::SLASH,
      Keyboard::EQUAL,        Keyboard::BACKSLASH,     Keyboard::MULTIPLY,   Keyboard::QUOTE,      Keyboard::SEMICOLON,
      Keyboard::LEFT_CONTROL, Keyboard::RIGHT_CONTROL, Keyboard::LEFT_SHIFT, Keyboard::RIGHT_SHIFT};
  for (int key = Keyboard::F1; key <= Keyboard::F10; key++)
    keys.push_back(static_cast<Keyboard::Key>(key));
  for (int key = Keyboard::A; key <= Keyboard::Z; key++)
    keys.push_back(static_cast<Keyboard::Key>(key));
  for (int key = Keyboard::NUM1; key <= Keyboard::NUM9; key++)
    keys.push_back(static_cast<Keyboard::Key>(key));
  keys.push_back(Keyboard::NUM0);
  keys.push_back(Keyboard::BACKSPACE);
  return keys;
}

const std::vector<Keyboard::Key> &polledKeys() {
  static const std::vector<Keyboard::Key> keys = makePolledKeys();
  return keys;
}

}  // namespace

void InputSource::sendHeldInput(const InputDispatch &dispatch) const {
  // One event, its button changed between the buttons held.
  EventMouse held;
  held.setMouseAction(PRESSED);
  held.setMousePosition(getMousePosition());
  for (Mouse::Button button : {Mouse::LEFT_BUTTON, Mouse::RIGHT_BUTTON, Mouse::MIDDLE_BUTTON}) {
    if (isButtonHeld(button)) {
      held.setMouseButton(button);
      dispatch(&held);
    }
  }
  for (Keyboard::Key key : polledKeys()) {
    if (isKeyHeld(key)) {
      EventKeyboard down;
      down.setKey(key);
      down.setKeyboardAction(KEY_DOWN);
      dispatch(&down);
    }
  }
}

}  // namespace cv
