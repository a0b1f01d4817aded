#pragma once

#include "presentation/EventKeyboard.h"
#include "world/Object.h"

namespace cv {

/// Pauses the whole game when its key arrives as a keyboard event: the
/// handler keeps reading the window's queue until any key is pressed, so
/// nothing is updated, moved or drawn meanwhile. Draws nothing itself.
class Pause : public Object {
 public:
  /// A spectral object of type "Pause" listening to "cv-keyboard".
  explicit Pause(Keyboard::Key key);

  /// Pauses on any keyboard event (pressed, released or held) for the
  /// pause key and returns 1 once a key press resumes the game. Returns 1
  /// for other keys, 0 for other event types and when there is no window
  /// to wait on.
  int eventHandler(const Event *event) override;

 private:
  Keyboard::Key pause_key;  ///< the key whose keyboard events pause the game
};

}  // namespace cv
