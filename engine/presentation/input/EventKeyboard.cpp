#include "presentation/input/EventKeyboard.h"

namespace cv {

EventKeyboard::EventKeyboard() : key(Keyboard::KEY_UNDEFINED), keyboard_action(KEYBOARD_ACTION_UNDEFINED) {
  setType(KEYBOARD_EVENT);
}

void EventKeyboard::setKey(Keyboard::Key new_key) { key = new_key; }

Keyboard::Key EventKeyboard::getKey() const { return key; }

void EventKeyboard::setKeyboardAction(EventKeyboardAction new_action) { keyboard_action = new_action; }

EventKeyboardAction EventKeyboard::getKeyboardAction() const { return keyboard_action; }

}  // namespace cv
