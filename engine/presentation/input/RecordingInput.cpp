#include "presentation/input/RecordingInput.h"

#include "core/GameManager.h"
#include "presentation/input/InputRecorder.h"

namespace cv {

RecordingInput::RecordingInput(std::unique_ptr<InputSource> live_input, std::unique_ptr<InputRecorder> new_recorder)
    : ForwardingInput(std::move(live_input)), recorder(std::move(new_recorder)) {}

RecordingInput::~RecordingInput() = default;

bool RecordingInput::getInput(const InputDispatch &dispatch) {
  const int step = GameManager::getInstance().getStepCount();
  recorder->checkpoint(step, digestWorld());
  return live->getInput([&](const Event *event) {
    const int receivers = dispatch(event);
    recorder->event(step, *event, receivers);
    return receivers;
  });
}

void RecordingInput::close(int last_step) { recorder->close(last_step, digestWorld()); }

}  // namespace cv
