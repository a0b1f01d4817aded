#pragma once

#include <memory>

#include "presentation/InputSource.h"

namespace sf {
class RenderWindow;
}  // namespace sf

namespace cv {

class WindowScreen;

/// Keyboard and mouse of a window of the window library: the window's
/// queued events, then the live state of the mouse buttons and the polled
/// keys. A request to close the window ends the game.
class WindowInput : public InputSource {
 public:
  explicit WindowInput(std::shared_ptr<WindowScreen> screen);

  /// Turns the window's key repeat off, so that holding a key is reported
  /// by polling, not by repeated presses.
  void startUp() override;
  /// Turns the window's key repeat back on.
  void shutDown() override;
  /// The window's queued events in order; a close request stops there.
  /// Writes an error when the window is gone.
  bool getInput(const InputDispatch &dispatch) override;
  bool isKeyHeld(Keyboard::Key key) const override;
  bool isButtonHeld(Mouse::Button button) const override;
  /// Where the mouse is over the window, in cells.
  Vector getMousePosition() const override;
  /// Takes every event waiting in the window's queue and discards it.
  /// Returns the key codes of the key presses among them, in queue order.
  std::vector<int> takeKeyPresses() override;

 private:
  /// The window, or null once it is gone.
  sf::RenderWindow *window() const;

  std::shared_ptr<WindowScreen> screen;  ///< the screen whose window is read
};

}  // namespace cv
