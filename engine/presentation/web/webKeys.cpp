#include "presentation/web/webKeys.h"

#include <cstring>

namespace cv {

namespace {

// The keys named one by one, with the window library's code for each.
struct NamedKey {
  const char *code;  // KeyboardEvent.code
  int sfml;          // window-library key code
};

const NamedKey NAMED_KEYS[] = {
    {"Escape", 36},       {"ControlLeft", 37},   {"ShiftLeft", 38},      {"AltLeft", 39},     {"MetaLeft", 40},
    {"ControlRight", 41}, {"ShiftRight", 42},    {"AltRight", 43},       {"MetaRight", 44},   {"ContextMenu", 45},
    {"BracketLeft", 46},  {"BracketRight", 47},  {"Semicolon", 48},      {"Comma", 49},       {"Period", 50},
    {"Quote", 51},        {"Slash", 52},         {"Backslash", 53},      {"Backquote", 54},   {"Equal", 55},
    {"Minus", 56},        {"Space", 57},         {"Enter", 58},          {"NumpadEnter", 58}, {"Backspace", 59},
    {"Tab", 60},          {"PageUp", 61},        {"PageDown", 62},       {"End", 63},         {"Home", 64},
    {"Insert", 65},       {"Delete", 66},        {"NumpadAdd", 67},      {"NumpadSubtract", 68},
    {"NumpadMultiply", 69}, {"NumpadDivide", 70}, {"ArrowLeft", 71},     {"ArrowRight", 72},  {"ArrowUp", 73},
    {"ArrowDown", 74},    {"Pause", 100},
};

// A run of keys named by a prefix and a number ("Digit4", "F10"), with the
// code of the run's first key.
struct NumberedKeys {
  const char *prefix;  // the name before the number
  int first;           // the number of the run's first key
  int last;            // the number of its last key
  int sfml;            // window-library code of the first key
};

const NumberedKeys NUMBERED_KEYS[] = {
    {"Digit", 0, 9, 26},
    {"Numpad", 0, 9, 75},
    {"F", 1, 15, 85},
};

// The number after `prefix` in `code`, or -1 when `code` is not the prefix and digits.
int numberAfter(const char *code, const char *prefix) {
  const std::size_t length = std::strlen(prefix);
  if (std::strncmp(code, prefix, length) != 0 || code[length] == '\0')
    return -1;
  int number = 0;
  for (const char *digit = code + length; *digit; digit++) {
    if (*digit < '0' || *digit > '9' || number > 100)
      return -1;
    number = number * 10 + (*digit - '0');
  }
  return number;
}

}  // namespace

int sfmlCodeOfWebKey(const char *code) {
  // "KeyA" to "KeyZ": the letters, codes 0 to 25.
  if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0')
    return code[3] - 'A';
  for (const NumberedKeys &run : NUMBERED_KEYS) {
    const int number = numberAfter(code, run.prefix);
    if (number >= run.first && number <= run.last)
      return run.sfml + number - run.first;
  }
  for (const NamedKey &key : NAMED_KEYS)
    if (std::strcmp(code, key.code) == 0)
      return key.sfml;
  return -1;
}

}  // namespace cv
