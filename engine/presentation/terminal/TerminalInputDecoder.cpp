#include "presentation/terminal/TerminalInputDecoder.h"

#include <cstdlib>

#include "presentation/input/keyCodes.h"

namespace cv {

namespace {

const char ESC = '\x1b';

// Codes of the window library's keys that the engine does not name, for the
// same keys read from the terminal: they arrive as code + UNNAMED_KEY_OFFSET,
// exactly as from the window.
const int LIBRARY_LBRACKET = 46, LIBRARY_RBRACKET = 47, LIBRARY_HYPHEN = 56, LIBRARY_PAGE_UP = 61,
          LIBRARY_PAGE_DOWN = 62, LIBRARY_END = 63, LIBRARY_HOME = 64, LIBRARY_INSERT = 65, LIBRARY_DELETE = 66;

Keyboard::Key unnamed(int library_code) { return static_cast<Keyboard::Key>(library_code + UNNAMED_KEY_OFFSET); }

Keyboard::Key offset(Keyboard::Key first, int n) { return static_cast<Keyboard::Key>(first + n); }

// Punctuation, each with the key it is typed with (shifted ones too, as the
// window reports the key, not the character).
struct CharacterKey {
  char ch;
  Keyboard::Key key;
};

const CharacterKey PUNCTUATION[] = {
    {' ', Keyboard::SPACE},     {'-', Keyboard::MINUS},       {'+', Keyboard::PLUS},
    {'~', Keyboard::TILDE},     {'`', Keyboard::TILDE},       {'.', Keyboard::PERIOD},
    {'>', Keyboard::PERIOD},    {',', Keyboard::COMMA},       {'<', Keyboard::COMMA},
    {'/', Keyboard::SLASH},     {'?', Keyboard::SLASH},       {'=', Keyboard::EQUAL},
    {'\\', Keyboard::BACKSLASH}, {'|', Keyboard::BACKSLASH},  {'*', Keyboard::MULTIPLY},
    {'\'', Keyboard::QUOTE},    {'"', Keyboard::QUOTE},       {';', Keyboard::SEMICOLON},
    {':', Keyboard::SEMICOLON}, {'!', Keyboard::NUM1},        {'@', Keyboard::NUM2},
    {'#', Keyboard::NUM3},      {'$', Keyboard::NUM4},        {'%', Keyboard::NUM5},
    {'^', Keyboard::NUM6},      {'&', Keyboard::NUM7},        {'(', Keyboard::NUM9},
    {')', Keyboard::NUM0},      {'[', unnamed(LIBRARY_LBRACKET)}, {'{', unnamed(LIBRARY_LBRACKET)},
    {']', unnamed(LIBRARY_RBRACKET)}, {'}', unnamed(LIBRARY_RBRACKET)}, {'_', unnamed(LIBRARY_HYPHEN)},
};

// The key a character (or control character) is typed with; KEY_UNDEFINED
// for bytes that are no key.
Keyboard::Key keyOfCharacter(int c) {
  if (c >= 'a' && c <= 'z') return offset(Keyboard::A, c - 'a');
  if (c >= 'A' && c <= 'Z') return offset(Keyboard::A, c - 'A');
  if (c == '0') return Keyboard::NUM0;
  if (c >= '1' && c <= '9') return offset(Keyboard::NUM1, c - '1');
  switch (c) {
    case '\r':
    case '\n':
      return Keyboard::RETURN;
    case '\t':
      return Keyboard::TAB;
    case 0x7f:
    case 0x08:
      return Keyboard::BACKSPACE;
    case ESC:
      return Keyboard::ESCAPE;
    default:
      break;
  }
  if (c >= 1 && c <= 26) return offset(Keyboard::A, c - 1);  // Ctrl with a letter
  for (const CharacterKey &entry : PUNCTUATION)
    if (entry.ch == c) return entry.key;
  return Keyboard::KEY_UNDEFINED;
}

// Key numbers of the kitty keyboard protocol beyond plain characters.
const int KITTY_KEYPAD_0 = 57399, KITTY_KEYPAD_9 = 57408, KITTY_KEYPAD_DECIMAL = 57409, KITTY_KEYPAD_DIVIDE = 57410,
          KITTY_KEYPAD_MULTIPLY = 57411, KITTY_KEYPAD_SUBTRACT = 57412, KITTY_KEYPAD_ADD = 57413,
          KITTY_KEYPAD_ENTER = 57414, KITTY_LEFT_SHIFT = 57441, KITTY_LEFT_CONTROL = 57442,
          KITTY_RIGHT_SHIFT = 57447, KITTY_RIGHT_CONTROL = 57448;

Keyboard::Key keyOfKittyNumber(long number) {
  if (number >= KITTY_KEYPAD_0 && number <= KITTY_KEYPAD_9)
    return keyOfCharacter(static_cast<int>('0' + number - KITTY_KEYPAD_0));
  switch (number) {
    case KITTY_KEYPAD_DECIMAL: return Keyboard::PERIOD;
    case KITTY_KEYPAD_DIVIDE: return Keyboard::SLASH;
    case KITTY_KEYPAD_MULTIPLY: return Keyboard::MULTIPLY;
    case KITTY_KEYPAD_SUBTRACT: return Keyboard::MINUS;
    case KITTY_KEYPAD_ADD: return Keyboard::PLUS;
    case KITTY_KEYPAD_ENTER: return Keyboard::RETURN;
    case KITTY_LEFT_SHIFT: return Keyboard::LEFT_SHIFT;
    case KITTY_LEFT_CONTROL: return Keyboard::LEFT_CONTROL;
    case KITTY_RIGHT_SHIFT: return Keyboard::RIGHT_SHIFT;
    case KITTY_RIGHT_CONTROL: return Keyboard::RIGHT_CONTROL;
    default: break;
  }
  // Characters and the control keys (Enter 13, Tab 9, Escape 27, Backspace 127) come as their code.
  return number >= 0 && number < 128 ? keyOfCharacter(static_cast<int>(number)) : Keyboard::KEY_UNDEFINED;
}

// The numbered keys of "ESC [ n ~".
Keyboard::Key keyOfTildeNumber(long number) {
  if (number >= 11 && number <= 15) return offset(Keyboard::F1, static_cast<int>(number - 11));
  if (number >= 17 && number <= 21) return offset(Keyboard::F6, static_cast<int>(number - 17));
  switch (number) {
    case 23: return Keyboard::F11;
    case 24: return Keyboard::F12;
    case 1:
    case 7: return unnamed(LIBRARY_HOME);
    case 4:
    case 8: return unnamed(LIBRARY_END);
    case 2: return unnamed(LIBRARY_INSERT);
    case 3: return unnamed(LIBRARY_DELETE);
    case 5: return unnamed(LIBRARY_PAGE_UP);
    case 6: return unnamed(LIBRARY_PAGE_DOWN);
    default: return Keyboard::KEY_UNDEFINED;
  }
}

// The keys of "ESC [ <letter>" and "ESC O <letter>".
Keyboard::Key keyOfFinalLetter(char final) {
  switch (final) {
    case 'A': return Keyboard::UP;
    case 'B': return Keyboard::DOWN;
    case 'C': return Keyboard::RIGHT;
    case 'D': return Keyboard::LEFT;
    case 'H': return unnamed(LIBRARY_HOME);
    case 'F': return unnamed(LIBRARY_END);
    case 'P': return Keyboard::F1;
    case 'Q': return Keyboard::F2;
    case 'R': return Keyboard::F3;
    case 'S': return Keyboard::F4;
    case 'Z': return Keyboard::TAB;  // with Shift
    case 'M': return Keyboard::RETURN;  // keypad Enter in application mode
    default: return Keyboard::KEY_UNDEFINED;
  }
}

// The numbers of a control sequence's parameters: fields split by ';',
// each into sub-fields split by ':'. Empty ones are -1.
std::vector<std::vector<long>> parameters(const std::string &text) {
  std::vector<std::vector<long>> fields(1);
  std::string number;
  auto close_number = [&] {
    long value = -1;
    if (!number.empty()) value = number.size() > 9 ? 999999999 : std::strtol(number.c_str(), nullptr, 10);
    fields.back().push_back(value);
    number.clear();
  };
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      number += c;
    } else if (c == ':') {
      close_number();
    } else if (c == ';') {
      close_number();
      fields.emplace_back();
    }
  }
  close_number();
  return fields;
}

long numberAt(const std::vector<std::vector<long>> &fields, size_t field, size_t sub, long fallback) {
  if (field >= fields.size() || sub >= fields[field].size() || fields[field][sub] < 0) return fallback;
  return fields[field][sub];
}

TerminalInputItem keyItem(Keyboard::Key key, KeyPhase phase) {
  return TerminalInputItem{TerminalInputItem::KEY, key, phase, Mouse::MOUSE_BUTTON_UNDEFINED, 0, 0};
}

// The phase of a key from the event sub-field of its modifiers: 2 repeat, 3 release.
KeyPhase phaseOf(const std::vector<std::vector<long>> &fields) {
  switch (numberAt(fields, 1, 1, 1)) {
    case 2: return KeyPhase::REPEAT;
    case 3: return KeyPhase::RELEASE;
    default: return KeyPhase::PRESS;
  }
}

// An SGR mouse report "ESC [ < b ; x ; y M" (or m for a release).
void decodeMouse(const std::string &text, char final, std::vector<TerminalInputItem> &items) {
  const std::vector<std::vector<long>> fields = parameters(text);
  const long code = numberAt(fields, 0, 0, -1);
  const long x = numberAt(fields, 1, 0, -1);
  const long y = numberAt(fields, 2, 0, -1);
  if (fields.size() != 3 || code < 0 || x < 1 || y < 1 || x > 100000 || y > 100000) return;
  if (code & 64) return;  // the wheel
  const int column = static_cast<int>(x - 1), row = static_cast<int>(y - 1);
  if (code & 32) {
    items.push_back({TerminalInputItem::MOUSE_MOVED, Keyboard::KEY_UNDEFINED, KeyPhase::PRESS,
                     Mouse::MOUSE_BUTTON_UNDEFINED, column, row});
    return;
  }
  Mouse::Button button = Mouse::MOUSE_BUTTON_UNDEFINED;
  switch (code & 3) {
    case 0: button = Mouse::LEFT_BUTTON; break;
    case 1: button = Mouse::MIDDLE_BUTTON; break;
    case 2: button = Mouse::RIGHT_BUTTON; break;
    default: return;
  }
  items.push_back({final == 'M' ? TerminalInputItem::MOUSE_DOWN : TerminalInputItem::MOUSE_UP,
                   Keyboard::KEY_UNDEFINED, KeyPhase::PRESS, button, column, row});
}

}  // namespace

void TerminalInputDecoder::feed(const char *bytes, int count, std::vector<TerminalInputItem> &items) {
  if (count > 0)
    pending.append(bytes, static_cast<std::size_t>(count));
  std::size_t at = 0;
  while (at < pending.size()) {
    const std::size_t used = decodeOne(at, items);
    if (used == 0)
      break;
    at += used;
  }
  pending.erase(0, at);
}

void TerminalInputDecoder::flush(std::vector<TerminalInputItem> &items) {
  if (pending == std::string(1, ESC))
    items.push_back(keyItem(Keyboard::ESCAPE, KeyPhase::PRESS));
  pending.clear();
}

bool TerminalInputDecoder::hasPending() const { return !pending.empty(); }

std::size_t TerminalInputDecoder::decodeOne(std::size_t at, std::vector<TerminalInputItem> &items) const {
  const unsigned char first = static_cast<unsigned char>(pending[at]);
  if (first != ESC) {
    const Keyboard::Key key = keyOfCharacter(first);  // bytes above 127 (other alphabets) are no key
    if (key != Keyboard::KEY_UNDEFINED)
      items.push_back(keyItem(key, KeyPhase::PRESS));
    return 1;
  }
  if (at + 1 >= pending.size())
    return 0;  // Escape alone, or the start of a sequence
  const char second = pending[at + 1];
  if (second == '[') {
    // Parameters and intermediates (0x20 to 0x3f), then a final byte (0x40 to 0x7e).
    std::size_t end = at + 2;
    while (end < pending.size() && pending[end] >= 0x20 && pending[end] <= 0x3f) end++;
    if (end >= pending.size())
      return end - at > MAX_SEQUENCE ? end - at : 0;
    const unsigned char final = static_cast<unsigned char>(pending[end]);
    if (final < 0x40 || final > 0x7e)
      return end - at;  // broken off by another byte: drop what came before it
    if (final == 'M' && end == at + 2) {
      // An old-style mouse report: three raw bytes follow. Not asked for; skipped.
      return pending.size() >= at + 6 ? 6 : 0;
    }
    decodeControl(at + 2, end, items);
    return end + 1 - at;
  }
  if (second == 'O') {
    if (at + 2 >= pending.size())
      return 0;
    const Keyboard::Key key = keyOfFinalLetter(pending[at + 2]);
    if (key != Keyboard::KEY_UNDEFINED)
      items.push_back(keyItem(key, KeyPhase::PRESS));
    return 3;
  }
  if (second == ESC) {
    items.push_back(keyItem(Keyboard::ESCAPE, KeyPhase::PRESS));
    return 1;
  }
  // Alt with a key: the key.
  const Keyboard::Key key = keyOfCharacter(static_cast<unsigned char>(second));
  if (key != Keyboard::KEY_UNDEFINED)
    items.push_back(keyItem(key, KeyPhase::PRESS));
  return 2;
}

void TerminalInputDecoder::decodeControl(std::size_t start, std::size_t final_at,
                                         std::vector<TerminalInputItem> &items) const {
  const std::string text = pending.substr(start, final_at - start);
  const char final = pending[final_at];
  const char marker = text.empty() ? '\0' : text[0];
  if (marker == '<') {
    if (final == 'M' || final == 'm')
      decodeMouse(text.substr(1), final, items);
    return;
  }
  if (marker == '?') {
    // The answer to the question whether key releases can be reported.
    if (final == 'u')
      items.push_back({TerminalInputItem::RELEASES_OFFERED, Keyboard::KEY_UNDEFINED, KeyPhase::PRESS,
                       Mouse::MOUSE_BUTTON_UNDEFINED, 0, 0});
    return;  // other answers (device attributes) are not inputs
  }
  if (marker == '>' || marker == '=')
    return;
  const std::vector<std::vector<long>> fields = parameters(text);
  const long number = numberAt(fields, 0, 0, 1);
  Keyboard::Key key = Keyboard::KEY_UNDEFINED;
  if (final == 'u')
    key = keyOfKittyNumber(number);
  else if (final == '~')
    key = keyOfTildeNumber(number);
  else if (final == 'R' && number != 1)
    return;  // a cursor position report, not F3
  else
    key = keyOfFinalLetter(final);
  if (key != Keyboard::KEY_UNDEFINED)
    items.push_back(keyItem(key, phaseOf(fields)));
}

}  // namespace cv
