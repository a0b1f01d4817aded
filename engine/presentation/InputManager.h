#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Manager.h"
#include "presentation/EventKeyboard.h"
#include "presentation/EventMouse.h"

namespace sf {
class RenderWindow;
}  // namespace sf

namespace cv {

class TerminalInput;

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

/// The button a click is reported with. Each rule overrides the one before:
/// right when the library's button was the right one, left when the left
/// button is held now, middle when the middle button is held now; undefined
/// when none applies.
Mouse::Button clickedButton(int sfml_button, bool left_held, bool middle_held);

/// Turns the window's keyboard and mouse input into "cv-keyboard" and
/// "cv-mouse" events once per game-loop iteration: first the window's
/// queued events, then one event per held mouse button, then one per held
/// key of a fixed list. A request to close the window ends the game.
/// When the display shows the game in a terminal, the same events come
/// from the terminal instead (TerminalInput).
class InputManager : public Manager {
 public:
  static InputManager &getInstance();
  ~InputManager() override;

  /// Turns the window's key repeat off, so that holding a key is reported
  /// by polling, not by repeated presses. 0 started (also when already
  /// started or headless), -1 when the display manager is not started.
  int startUp() override;

  /// Turns the window's key repeat back on and stops the manager.
  void shutDown() override;

  /// True for "cv-keyboard" and "cv-mouse".
  bool isValid(std::string event_type) const override;

  /// Reads and dispatches all input for one iteration. Does nothing when
  /// headless; writes an error when there is no window.
  void getInput();

  /// A keyboard event for a window-library key code, its action not yet set.
  EventKeyboard toEventKeyboard(int sfml_code) const;

  /// Takes every event waiting in `window`'s queue and discards it. Returns
  /// the key codes of the key presses among them, in queue order.
  std::vector<int> drainKeyPresses(sf::RenderWindow &window) const;

  /// The terminal's input; null unless the display is a terminal.
  TerminalInput *getTerminalInput() const;

 private:
  InputManager();
  InputManager(const InputManager &) = delete;
  InputManager &operator=(const InputManager &) = delete;

  /// Dispatches the window's queued events in order. Returns false when a
  /// close request ended the game (the rest of the queue stays unread).
  bool sendWindowEvents(sf::RenderWindow &window) const;
  /// One PRESSED mouse event per held button: left, right, middle.
  void sendHeldButtons(const sf::RenderWindow &window) const;
  /// One KEY_DOWN event per held key of the polled list, in its order.
  void sendHeldKeys() const;

  std::unique_ptr<TerminalInput> terminal_input;  ///< input from the terminal; null for a window
};

}  // namespace cv
