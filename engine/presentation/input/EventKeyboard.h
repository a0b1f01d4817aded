#pragma once

#include "core/Event.h"

namespace cv {

const std::string KEYBOARD_EVENT = "cv-keyboard";

namespace Keyboard {

/// The engine's keys. Keys the engine does not name are reported with a
/// value outside this enumeration (the window library's code + 97), which
/// matches no named key.
enum Key : int {
  KEY_UNDEFINED = -1,
  SPACE = 0,
  RETURN,
  ESCAPE,
  TAB,
  LEFT,
  RIGHT,
  UP,
  DOWN,
  PAUSE,
  MINUS,
  PLUS,
  TILDE,
  PERIOD,
  COMMA,
  SLASH,
  EQUAL,
  BACKSLASH,
  MULTIPLY,
  QUOTE,
  SEMICOLON,
  LEFT_CONTROL,
  RIGHT_CONTROL,
  LEFT_SHIFT,
  RIGHT_SHIFT,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  A,
  B,
  C,
  D,
  E,
  F,
  G,
  H,
  I,
  J,
  K,
  L,
  M,
  N,
  O,
  P,
  Q,
  R,
  S,
  T,
  U,
  V,
  W,
  X,
  Y,
  Z,
  NUM1,
  NUM2,
  NUM3,
  NUM4,
  NUM5,
  NUM6,
  NUM7,
  NUM8,
  NUM9,
  NUM0,
  BACKSPACE,
};

}  // namespace Keyboard

/// What happened to a key.
enum EventKeyboardAction : int {
  KEYBOARD_ACTION_UNDEFINED = -1,
  KEY_PRESSED = 0,   ///< the key went down
  KEY_RELEASED = 1,  ///< the key came up
  KEY_DOWN = 2,      ///< the key is being held (reported every iteration)
};

/// A key went down, came up or is being held. Type "cv-keyboard".
class EventKeyboard : public Event {
 public:
  EventKeyboard();

  /// Sets the key the event is about.
  virtual void setKey(Keyboard::Key new_key);
  /// The key the event is about.
  virtual Keyboard::Key getKey() const;
  /// Sets what happened to the key.
  virtual void setKeyboardAction(EventKeyboardAction new_action);
  /// What happened to the key.
  virtual EventKeyboardAction getKeyboardAction() const;

 private:
  Keyboard::Key key;                    ///< the key, or a value outside the enumeration for unnamed keys
  EventKeyboardAction keyboard_action;  ///< pressed, released or held
};

}  // namespace cv
