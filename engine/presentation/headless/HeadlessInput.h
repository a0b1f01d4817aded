#pragma once

#include "presentation/InputSource.h"

namespace cv {

/// The input of a headless game: nothing arrives, nothing is held. A test
/// or a demo sends its own events through InputManager::onEvent.
class HeadlessInput : public InputSource {
 public:
  /// Logs that no input is read.
  void startUp() override;
  /// False: no key can come.
  bool isInteractive() const override;
  /// Sends nothing; true.
  bool getInput(const InputDispatch &dispatch) override;
  bool isKeyHeld(Keyboard::Key key) const override;
  bool isButtonHeld(Mouse::Button button) const override;
  /// (0, 0).
  Vector getMousePosition() const override;
  /// None.
  std::vector<int> takeKeyPresses() override;
};

}  // namespace cv
