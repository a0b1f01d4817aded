#pragma once

#include <memory>

#include "presentation/input/ForwardingInput.h"

namespace cv {

class InputRecorder;

/// Records a game while it is played: at the start of every step the
/// world's digest, then every event the wrapped source sends, with the
/// number of objects that took it (see InputRecorder).
class RecordingInput : public ForwardingInput {
 public:
  RecordingInput(std::unique_ptr<InputSource> live, std::unique_ptr<InputRecorder> recorder);
  ~RecordingInput() override;

  /// The world at the start of the step, then the live input, recorded.
  bool getInput(const InputDispatch &dispatch) override;

  /// Records the end of the game after `last_step` and closes the recording.
  void close(int last_step);

 private:
  std::unique_ptr<InputRecorder> recorder;  ///< the recording being written
};

}  // namespace cv
