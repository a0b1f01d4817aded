#pragma once

#include <memory>

#include "presentation/input/ForwardingInput.h"

namespace cv {

class InputReplayer;

/// Plays a recording back in place of live input: at the start of every
/// step the recorded events of the step go out (see InputReplayer), and
/// the wrapped source's own input is read and dropped, so it neither piles
/// up nor reaches the game. A request to close the window still ends it.
class ReplayingInput : public ForwardingInput {
 public:
  ReplayingInput(std::unique_ptr<InputSource> live, std::unique_ptr<InputReplayer> replayer);
  ~ReplayingInput() override;

  /// The recorded events of this step to `dispatch`; the live ones nowhere.
  bool getInput(const InputDispatch &dispatch) override;

  /// Compares the end of the game after `last_step` with the recording's
  /// and logs whether the replay matched.
  void finish(int last_step);

 private:
  std::unique_ptr<InputReplayer> replayer;  ///< the recording being played
};

}  // namespace cv
