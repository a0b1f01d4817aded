#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "foundation/Vector.h"
#include "presentation/InputSource.h"
#include "presentation/terminal/TerminalInputDecoder.h"

namespace cv {

/// Turns what the terminal sends into the keyboard and mouse events the
/// window gives, for the input manager when the game is shown in a
/// terminal. Keys: KEY_PRESSED when a key arrives, KEY_DOWN every iteration
/// while it counts as held, KEY_RELEASED when it is let go. Most terminals
/// send no releases, only the key again and again while it is held; there a
/// key counts as held until its repeats stop. A terminal that reports
/// releases (kitty keyboard protocol) is asked to, and its releases are used.
/// Mouse: MOVED, CLICKED with its button, PRESSED for held buttons, in cells.
class TerminalInput : public InputSource {
 public:
  /// Longest wait for a held key's first repeat, in milliseconds: terminals
  /// start repeating after a delay of about half a second.
  static const int FIRST_REPEAT_WAIT_MS = 550;
  /// Longest gap between two repeats of a held key, in milliseconds.
  static const int REPEAT_GAP_MS = 120;

  /// `send` writes control text to the terminal (to ask for key releases).
  explicit TerminalInput(std::function<void(const char *)> send);

  /// Reads what waits on the terminal and dispatches the iteration's events.
  /// Always true: closing the terminal ends the game by a signal instead.
  bool getInput(const InputDispatch &dispatch) override;

  /// Dispatches the events of `bytes` arrived at `now_ms` (milliseconds on
  /// any steady clock), then the held keys and buttons: getInput without
  /// the reading, for tests. A null `bytes` is a read that brought nothing.
  void handleBytes(const char *bytes, int count, std::int64_t now_ms, const InputDispatch &dispatch);

  /// Whether `key` counts as held.
  bool isKeyHeld(Keyboard::Key key) const override;
  /// Whether the terminal last reported `button` down.
  bool isButtonHeld(Mouse::Button button) const override;
  /// The mouse's last reported cell.
  Vector getMousePosition() const override;

  /// Reads the terminal and returns the keys pressed as the window library's
  /// codes, dispatching nothing (for a pause). Releases read meanwhile are
  /// reported at the next getInput.
  std::vector<int> takeKeyPresses() override;

  /// Whether the terminal reports key releases.
  bool hasReleases() const;

 private:
  /// A key that counts as held.
  struct HeldKey {
    std::int64_t last_ms;  ///< when it last arrived
    bool repeating;        ///< whether a repeat has arrived since the press
  };

  /// Reads the bytes waiting (at most a few reads' worth) into `bytes`.
  void readWaiting(std::vector<char> &bytes) const;
  void handleItem(const TerminalInputItem &item, std::int64_t now_ms, const InputDispatch &dispatch);
  void handleKey(Keyboard::Key key, KeyPhase phase, std::int64_t now_ms, const InputDispatch &dispatch);
  void sendKey(Keyboard::Key key, int action, const InputDispatch &dispatch) const;
  void sendMouse(int action, Mouse::Button button, const InputDispatch &dispatch) const;
  /// KEY_RELEASED for the held keys whose repeats stopped.
  void releaseStaleKeys(std::int64_t now_ms, const InputDispatch &dispatch);

  std::function<void(const char *)> send;       ///< writes control text to the terminal
  TerminalInputDecoder decoder;                 ///< bytes to keys and mouse inputs
  std::map<int, HeldKey> held_keys;             ///< keys counting as held, by key value
  std::vector<Keyboard::Key> released_meanwhile;  ///< releases read by drainKeyPresses
  bool buttons_held[3];                         ///< left, right, middle
  Vector mouse_position;                        ///< the mouse's last cell
  bool releases;                                ///< whether the terminal reports key releases
};

}  // namespace cv
