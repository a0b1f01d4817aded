#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Manager.h"
#include "presentation/InputSource.h"
#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"
#include "presentation/input/keyCodes.h"

namespace cv {

class InputReplayer;
class RecordingInput;
class ReplayingInput;

/// Turns keyboard and mouse input into "cv-keyboard" and "cv-mouse" events
/// once per game-loop iteration: first the medium's events as they came,
/// then one event per held mouse button, then one per held key of a fixed
/// list. The input comes from the source of the display's screen (the
/// window, the terminal, or nothing when headless; see InputSource.h). A
/// request to close the window ends the game. A recording or a replay
/// wraps that source: a recording holds what the player did, and a replay
/// stands in for the player only. Events a game sends itself through
/// onEvent (Manager's) reach its objects in a replay as in play, and are
/// not recorded, since the game sends them again when it is replayed.
class InputManager : public Manager {
 public:
  static InputManager &getInstance();
  ~InputManager() override;

  /// Opens the input of the display's screen (in a window, key repeat goes
  /// off, so that holding a key is reported by polling, not by repeated
  /// presses). 0 started (also when already started), -1 when the display
  /// manager is not started.
  int startUp() override;

  /// Gives the input back as it was (the window's key repeat on again) and
  /// stops the manager.
  void shutDown() override;

  /// True for "cv-keyboard" and "cv-mouse".
  bool isValid(std::string event_type) const override;

  /// Reads and dispatches all input for one iteration. Writes an error when
  /// there is no input to read (before start-up, or with the window gone).
  void getInput();

  /// A keyboard event for a window-library key code, its action not yet set.
  EventKeyboard toEventKeyboard(int sfml_code) const;

  /// Whether a key press can come to end a wait: false before start-up and
  /// when headless.
  bool canWaitForKeyPress() const;

  /// Waits until a key is pressed, reading the input every 30 microseconds
  /// and dispatching nothing; what arrives meanwhile is dropped, and the
  /// display shows its last frame again if its medium changed size. Returns
  /// the key codes (the window library's) pressed in the read that ended
  /// the wait; none at once when nothing can come (canWaitForKeyPress), and
  /// none when a request to stop the program ended it.
  std::vector<int> waitForKeyPress();

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

 private:
  InputManager();
  InputManager(const InputManager &) = delete;
  InputManager &operator=(const InputManager &) = delete;

  /// Takes the live source back out of a recording or replay wrapped round it.
  void unwrapSource();

  InputDispatch dispatch;                   ///< hands an event to the objects interested in it
  std::unique_ptr<InputSource> source;      ///< where input comes from; null until started
  std::unique_ptr<InputReplayer> replayer;  ///< a recording read, until it wraps the source at start-up
  bool replaying;                           ///< a recording replaces live input
  int replay_seed;                          ///< the recorded seed, while replaying
  RecordingInput *recording;                ///< the recording wrapped round the source, or null
  ReplayingInput *replay;                   ///< the replay wrapped round the source, or null
};

}  // namespace cv
