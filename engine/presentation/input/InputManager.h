#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Manager.h"
#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"

namespace sf {
class RenderWindow;
}  // namespace sf

namespace cv {

class InputRecorder;
class InputReplayer;
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

/// The button a click is reported with: the window library's button of the
/// press event itself (0 left, 1 right, 2 middle); undefined for any other.
/// What is held when the event is read plays no part, so a click released
/// before it was read keeps its button, and a right click while the left
/// button is held is a right click.
Mouse::Button clickedButton(int sfml_button);

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

  /// Sends `event` to the objects interested in it, recording it with the
  /// step while a recording is made. Ignored (0) while a recording is
  /// replayed: live input does not count then. Returns the objects that
  /// took it.
  int onEvent(const Event *event) const;

  /// When "CORVANE_REPLAY" names a recording, reads it and loads its
  /// configuration, the current configuration's own settings on top (so a
  /// replay may run headless or unpaced). Call after the log has started,
  /// before the other managers start. -1 when the recording cannot be read.
  int prepareReplay();

  /// Whether a recording replaces live input.
  bool isReplaying() const;

  /// The random seed to use: the recorded one while replaying, else `seed`.
  int chooseSeed(int seed) const;

  /// When "CORVANE_RECORD" names a file, starts recording the game started
  /// with `seed` into it. -1 when the file cannot be written.
  int startRecording(int seed);

  /// After the game loop's last step `last_step`: closes the recording, or
  /// compares the replay's end with the recording's.
  void endRecordingAndReplay(int last_step);
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

  std::unique_ptr<InputRecorder> recorder;  ///< the recording being made, or null
  std::unique_ptr<InputReplayer> replayer;  ///< the recording being replayed, or null
  std::unique_ptr<TerminalInput> terminal_input;  ///< input from the terminal; null for a window
};

}  // namespace cv
