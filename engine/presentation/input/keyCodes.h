#pragma once

#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"

// The engine's keys and buttons against the window library's numbering of
// them. The window reports keys by these codes; the log and every other
// medium use the same numbers, so a key reads the same wherever it came from.

namespace cv {

/// Offset added to a window-library key code the engine does not name, so
/// that such keys still arrive, with a value outside Keyboard::Key.
const int UNNAMED_KEY_OFFSET = 97;

/// The engine key for a window-library key code. Codes of keys the engine
/// does not name (and the library's -1 for an unidentified key) give
/// code + UNNAMED_KEY_OFFSET.
Keyboard::Key keyFromSFML(int sfml_code);

/// The window-library key code of a named engine key; -1 (the library's
/// unidentified key) for any other value.
int sfmlKeyOf(Keyboard::Key key);

/// The button a click is reported with: the window library's button of the
/// press event itself (0 left, 1 right, 2 middle); undefined for any other.
/// What is held when the event is read plays no part, so a click released
/// before it was read keeps its button, and a right click while the left
/// button is held is a right click.
Mouse::Button clickedButton(int sfml_button);

/// The window library's key codes of the keys its numbering names apart from
/// the engine's blocks, for the window back end to check itself against.
namespace sfml_code {
const int A = 0, NUM0 = 26, NUM1 = 27, ESCAPE = 36, LEFT_CONTROL = 37, LEFT_SHIFT = 38, RIGHT_CONTROL = 41,
          RIGHT_SHIFT = 42, SEMICOLON = 48, COMMA = 49, PERIOD = 50, QUOTE = 51, SLASH = 52, BACKSLASH = 53,
          TILDE = 54, EQUAL = 55, SPACE = 57, RETURN = 58, BACKSPACE = 59, TAB = 60, PLUS = 67, MINUS = 68,
          MULTIPLY = 69, LEFT = 71, RIGHT = 72, UP = 73, DOWN = 74, F1 = 85, PAUSE = 100;
}  // namespace sfml_code

}  // namespace cv
