#pragma once

#include <string>
#include <vector>

#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"

namespace cv {

/// What a key did, as far as the terminal tells: most terminals send only
/// presses (and repeat them while a key is held); a terminal speaking the
/// kitty keyboard protocol also tells repeats and releases.
enum class KeyPhase { PRESS, REPEAT, RELEASE };

/// One input decoded from the terminal's bytes.
struct TerminalInputItem {
  enum Kind {
    KEY,               ///< a key, with its phase
    MOUSE_MOVED,       ///< the mouse moved to (column, row)
    MOUSE_DOWN,        ///< a mouse button went down at (column, row)
    MOUSE_UP,          ///< a mouse button came up at (column, row)
    RELEASES_OFFERED,  ///< the terminal can report key releases (kitty keyboard protocol)
  };
  Kind kind;
  Keyboard::Key key;     ///< for KEY: the key (a value outside the enumeration for unnamed keys)
  KeyPhase phase;        ///< for KEY: press, repeat or release
  Mouse::Button button;  ///< for MOUSE_DOWN and MOUSE_UP
  int column;            ///< for the mouse: the cell's column, 0 at the left
  int row;               ///< for the mouse: the cell's row, 0 at the top
};

/// Turns the bytes a terminal sends into keys and mouse inputs: printable
/// characters, control keys, the escape sequences of arrows, F1 to F12 and
/// the editing keys (xterm and VT forms), the kitty keyboard protocol's key
/// reports, and SGR mouse reports. A sequence split over several reads is
/// kept until it is complete; anything that is not understood is dropped.
class TerminalInputDecoder {
 public:
  /// Longest escape sequence waited for; a longer unfinished one is junk.
  static const std::size_t MAX_SEQUENCE = 64;

  /// Decodes `count` bytes that follow those fed before, appending every
  /// complete input to `items`.
  void feed(const char *bytes, int count, std::vector<TerminalInputItem> &items);

  /// For a read that brought nothing: an Escape still waiting for what
  /// follows was the Escape key; any other unfinished sequence is dropped.
  void flush(std::vector<TerminalInputItem> &items);

  /// Whether bytes of an unfinished sequence are kept.
  bool hasPending() const;

 private:
  /// Decodes the input starting at `at`; the bytes it used, 0 when the
  /// sequence is not complete yet.
  std::size_t decodeOne(std::size_t at, std::vector<TerminalInputItem> &items) const;
  /// Decodes a control sequence (after ESC [) ending at `final_at`.
  void decodeControl(std::size_t start, std::size_t final_at, std::vector<TerminalInputItem> &items) const;

  std::string pending;  ///< bytes fed and not yet decoded
};

}  // namespace cv
