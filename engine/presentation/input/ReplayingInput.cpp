#include "presentation/input/ReplayingInput.h"

#include "core/GameManager.h"
#include "presentation/input/InputReplayer.h"

namespace cv {

ReplayingInput::ReplayingInput(std::unique_ptr<InputSource> live_input, std::unique_ptr<InputReplayer> new_replayer)
    : ForwardingInput(std::move(live_input)), replayer(std::move(new_replayer)) {}

ReplayingInput::~ReplayingInput() = default;

bool ReplayingInput::getInput(const InputDispatch &dispatch) {
  replayer->playStep(GameManager::getInstance().getStepCount(), digestWorld(), dispatch);
  return live->getInput([](const Event *) { return 0; });
}

void ReplayingInput::finish(int last_step) { replayer->finish(last_step, digestWorld()); }

}  // namespace cv
