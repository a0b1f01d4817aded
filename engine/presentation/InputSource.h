#pragma once

#include <functional>
#include <vector>

#include "foundation/Vector.h"
#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"

namespace cv {

class Event;

/// Hands one input event to the objects interested in it and returns how
/// many took it: the input manager's dispatch.
using InputDispatch = std::function<int(const Event *)>;

/// Where keyboard and mouse input comes from: a window, a text terminal, or
/// nowhere. A screen opens the source of its own medium (Screen::openInput);
/// a recording or a replay wraps one. Every iteration of the game loop the
/// input manager asks it for what arrived, in this order: the medium's
/// events (KEY_PRESSED, KEY_RELEASED, MOVED, CLICKED) as they happened, then
/// one PRESSED event per held mouse button (left, right, middle), then one
/// KEY_DOWN event per held key of the polled list (sendHeldInput).
class InputSource {
 public:
  virtual ~InputSource() = default;

  /// Readies the medium for the game (the window's key repeat goes off, for
  /// instance) and logs it as the input manager's start-up.
  virtual void startUp() {}

  /// Gives the medium back as startUp found it.
  virtual void shutDown() {}

  /// Whether a player can give input here: false where nothing is read
  /// (headless), so that nothing waits for a key that cannot come.
  virtual bool isInteractive() const { return true; }

  /// Hands the events that arrived since the last call to `dispatch`, then
  /// the held buttons and keys. False when the player asked to close the
  /// game: what followed the request stays unread, and nothing is held.
  virtual bool getInput(const InputDispatch &dispatch) = 0;

  /// Whether `key` is held down now.
  virtual bool isKeyHeld(Keyboard::Key key) const = 0;

  /// Whether `button` is held down now.
  virtual bool isButtonHeld(Mouse::Button button) const = 0;

  /// The mouse's position, in cells from the view's top-left corner.
  virtual Vector getMousePosition() const = 0;

  /// Reads what arrived and returns the key presses among it as the window
  /// library's key codes, handing nothing on: a pause waits on this.
  virtual std::vector<int> takeKeyPresses() = 0;

 protected:
  /// One PRESSED event per held button (left, right, middle) at the mouse's
  /// position, then one KEY_DOWN event per held key of the polled list, in
  /// its order, to `dispatch`.
  void sendHeldInput(const InputDispatch &dispatch) const;
};

}  // namespace cv
