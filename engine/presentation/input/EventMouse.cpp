#include "presentation/input/EventMouse.h"

namespace cv {

EventMouse::EventMouse() : mouse_action(MOUSE_ACTION_UNDEFINED), mouse_button(Mouse::MOUSE_BUTTON_UNDEFINED) {
  setType(MOUSE_EVENT);
}

void EventMouse::setMouseAction(EventMouseAction new_mouse_action) { mouse_action = new_mouse_action; }

EventMouseAction EventMouse::getMouseAction() const { return mouse_action; }

void EventMouse::setMouseButton(Mouse::Button new_mouse_button) { mouse_button = new_mouse_button; }

Mouse::Button EventMouse::getMouseButton() const { return mouse_button; }

void EventMouse::setMousePosition(Vector new_mouse_xy) { mouse_xy = new_mouse_xy; }

Vector EventMouse::getMousePosition() const { return mouse_xy; }

}  // namespace cv
