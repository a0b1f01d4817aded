#include "presentation/input/keyCodes.h"

namespace cv {

namespace {

// The named keys outside the three blocks (letters, digits, F1 to F12),
// with the window library's code for each.
struct KeyPair {
  Keyboard::Key key;  // engine key
  int code;           // window-library key code
};

const KeyPair SINGLE_KEYS[] = {
    {Keyboard::SPACE, sfml_code::SPACE},
    {Keyboard::RETURN, sfml_code::RETURN},
    {Keyboard::ESCAPE, sfml_code::ESCAPE},
    {Keyboard::TAB, sfml_code::TAB},
    {Keyboard::LEFT, sfml_code::LEFT},
    {Keyboard::RIGHT, sfml_code::RIGHT},
    {Keyboard::UP, sfml_code::UP},
    {Keyboard::DOWN, sfml_code::DOWN},
    {Keyboard::PAUSE, sfml_code::PAUSE},
    {Keyboard::MINUS, sfml_code::MINUS},
    {Keyboard::PLUS, sfml_code::PLUS},
    {Keyboard::TILDE, sfml_code::TILDE},
    {Keyboard::PERIOD, sfml_code::PERIOD},
    {Keyboard::COMMA, sfml_code::COMMA},
    {Keyboard::SLASH, sfml_code::SLASH},
    {Keyboard::EQUAL, sfml_code::EQUAL},
    {Keyboard::BACKSLASH, sfml_code::BACKSLASH},
    {Keyboard::MULTIPLY, sfml_code::MULTIPLY},
    {Keyboard::QUOTE, sfml_code::QUOTE},
    {Keyboard::SEMICOLON, sfml_code::SEMICOLON},
    {Keyboard::LEFT_CONTROL, sfml_code::LEFT_CONTROL},
    {Keyboard::RIGHT_CONTROL, sfml_code::RIGHT_CONTROL},
    {Keyboard::LEFT_SHIFT, sfml_code::LEFT_SHIFT},
    {Keyboard::RIGHT_SHIFT, sfml_code::RIGHT_SHIFT},
    {Keyboard::NUM0, sfml_code::NUM0},
    {Keyboard::BACKSPACE, sfml_code::BACKSPACE},
};

// A run of consecutive keys that map one to one onto consecutive codes.
struct KeyBlock {
  Keyboard::Key first_key;  // first engine key of the run
  int first_code;           // its window-library code
  int count;                // keys in the run
};

const KeyBlock KEY_BLOCKS[] = {
    {Keyboard::A, sfml_code::A, 26},
    {Keyboard::NUM1, sfml_code::NUM1, 9},
    {Keyboard::F1, sfml_code::F1, 12},
};

// The window library's unidentified key, and its mouse buttons.
const int UNKNOWN_CODE = -1;
const int LEFT_BUTTON_CODE = 0, RIGHT_BUTTON_CODE = 1, MIDDLE_BUTTON_CODE = 2;

}  // namespace

Keyboard::Key keyFromSFML(int sfml_code) {
  for (const KeyBlock &block : KEY_BLOCKS)
    if (sfml_code >= block.first_code && sfml_code < block.first_code + block.count)
      return static_cast<Keyboard::Key>(block.first_key + (sfml_code - block.first_code));
  for (const KeyPair &pair : SINGLE_KEYS)
    if (sfml_code == pair.code)
      return pair.key;
  return static_cast<Keyboard::Key>(sfml_code + UNNAMED_KEY_OFFSET);
}

int sfmlKeyOf(Keyboard::Key key) {
  for (const KeyBlock &block : KEY_BLOCKS)
    if (key >= block.first_key && key < block.first_key + block.count)
      return block.first_code + (key - block.first_key);
  for (const KeyPair &pair : SINGLE_KEYS)
    if (key == pair.key)
      return pair.code;
  return UNKNOWN_CODE;
}

Mouse::Button clickedButton(int sfml_button) {
  switch (sfml_button) {
    case LEFT_BUTTON_CODE:
      return Mouse::LEFT_BUTTON;
    case RIGHT_BUTTON_CODE:
      return Mouse::RIGHT_BUTTON;
    case MIDDLE_BUTTON_CODE:
      return Mouse::MIDDLE_BUTTON;
    default:
      return Mouse::MOUSE_BUTTON_UNDEFINED;
  }
}

}  // namespace cv
