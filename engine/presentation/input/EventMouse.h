#pragma once

#include "core/Event.h"
#include "foundation/Vector.h"

namespace cv {

const std::string MOUSE_EVENT = "cv-mouse";

namespace Mouse {

/// Mouse buttons, numbered as the window library numbers them.
enum Button : int {
  MOUSE_BUTTON_UNDEFINED = -1,
  LEFT_BUTTON = 0,
  RIGHT_BUTTON = 1,
  MIDDLE_BUTTON = 2,
};

}  // namespace Mouse

/// What the mouse did.
enum EventMouseAction : int {
  MOUSE_ACTION_UNDEFINED = -1,
  CLICKED = 0,  ///< a button went down
  PRESSED = 1,  ///< a button is being held (reported every iteration)
  MOVED = 2,    ///< the mouse moved
};

/// A click, a held button or a move of the mouse. Type "cv-mouse". The
/// position is in character cells from the window's top-left corner (view
/// coordinates, not world coordinates).
class EventMouse : public Event {
 public:
  EventMouse();

  /// Sets what the mouse did.
  void setMouseAction(EventMouseAction new_mouse_action);
  /// What the mouse did.
  EventMouseAction getMouseAction() const;
  /// Sets the button concerned.
  void setMouseButton(Mouse::Button new_mouse_button);
  /// The button concerned, or MOUSE_BUTTON_UNDEFINED.
  Mouse::Button getMouseButton() const;
  /// Sets the mouse position in view cells.
  void setMousePosition(Vector new_mouse_xy);
  /// The mouse position in view cells.
  Vector getMousePosition() const;

 private:
  EventMouseAction mouse_action;  ///< clicked, pressed or moved
  Mouse::Button mouse_button;     ///< the button concerned
  Vector mouse_xy;                ///< position in view cells
};

}  // namespace cv
