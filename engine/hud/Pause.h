#pragma once

#include "foundation/Vector.h"
#include "presentation/input/EventKeyboard.h"
#include "world/Object.h"

namespace cv {

/// Pauses the whole game when its key arrives as a keyboard event: the
/// handler waits for the input manager's next key press, so
/// nothing is updated, moved or drawn meanwhile. By default the last frame
/// stays on the screen as it was; with the message on, it is shown again
/// with "PAUSED" and how to resume in the middle of the view, and the next
/// frame after resuming is drawn without it.
class Pause : public Object {
 public:
  /// A spectral object of type "Pause" listening to "cv-keyboard".
  explicit Pause(Keyboard::Key key);

  /// Pauses on a press of the pause key and returns 1 once a key press
  /// resumes the game. Returns 1 for other keys and for the pause key's held
  /// and released events, 0 for other event types and when no key press can
  /// come (headless).
  int eventHandler(const Event *event) override;

  /// Whether a pause shows its message over the frozen frame (off at first).
  void setShowMessage(bool on);
  bool getShowMessage() const;

  /// Where the message is centred, in cells from the view's top-left corner
  /// (a game whose play field is not the whole view puts it there). Until
  /// set, the middle of the view.
  void setMessagePosition(Vector position);
  /// The position set, or (-1, -1) for the middle of the view.
  Vector getMessagePosition() const;

 private:
  /// Draws the world as it stands with the message over it, and shows it.
  void showMessage() const;

  Keyboard::Key pause_key;  ///< the key whose keyboard events pause the game
  bool show_message;        ///< a pause shows "PAUSED" and how to resume
  Vector message_position;  ///< centre of the message from the view's corner; (-1, -1): the view's middle
};

}  // namespace cv
