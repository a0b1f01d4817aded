#pragma once

#include <memory>

#include "presentation/InputSource.h"

namespace cv {

/// An input source that wraps another and hands every operation on to it;
/// recording and replaying derive from it and change what getInput does.
class ForwardingInput : public InputSource {
 public:
  explicit ForwardingInput(std::unique_ptr<InputSource> wrapped);

  void startUp() override;
  void shutDown() override;
  bool isInteractive() const override;
  bool getInput(const InputDispatch &dispatch) override;
  bool isKeyHeld(Keyboard::Key key) const override;
  bool isButtonHeld(Mouse::Button button) const override;
  Vector getMousePosition() const override;
  std::vector<int> takeKeyPresses() override;

  /// Gives back the wrapped source, leaving this one empty.
  std::unique_ptr<InputSource> release();

 protected:
  std::unique_ptr<InputSource> live;  ///< the source wrapped: the medium's own input
};

}  // namespace cv
