#include "presentation/input/InputManager.h"

#include <cstdlib>  // Required for: getenv()

#include "core/GameManager.h"
#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "platform/platform.h"
#include "platform/signals.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/input/InputRecorder.h"
#include "presentation/input/InputReplayer.h"
#include "presentation/input/RecordingInput.h"
#include "presentation/input/ReplayingInput.h"

namespace cv {

namespace {

// Time between two reads of the input while waiting for a key.
const long KEY_WAIT_POLL_MICROSECONDS = 30;

}  // namespace

InputManager::InputManager() : replaying(false), replay_seed(0), recording(nullptr), replay(nullptr) {
  setType("InputManager");
  dispatch = [this](const Event *event) { return Manager::onEvent(event); };
}

InputManager::~InputManager() = default;

InputManager &InputManager::getInstance() {
  static InputManager input_manager;
  return input_manager;
}

int InputManager::startUp() {
  LogManager &log_manager = LogManager::getInstance();
  if (isStarted()) {
    log_manager.writeLog("InputManager::startUp(): Already started.");
    return 0;
  }
  std::unique_ptr<InputSource> live = DisplayManager::getInstance().openInput();
  if (!live) {
    log_manager.writeLog("InputManager::startUp(): Error starting InputManager. DisplayManager must be started first.");
    return -1;
  }
  live->startUp();
  if (replayer) {
    auto wrapped = std::make_unique<ReplayingInput>(std::move(live), std::move(replayer));
    replay = wrapped.get();
    source = std::move(wrapped);
  } else {
    source = std::move(live);
  }
  Manager::startUp();
  log_manager.writeLog(5, "InputManager::startUp(): successfully started.");
  return 0;
}

void InputManager::shutDown() {
  if (source)
    source->shutDown();
  source.reset();
  recording = nullptr;
  replay = nullptr;
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT;
}

void InputManager::getInput() {
  if (!source) {
    LogManager::getInstance().writeLog("InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }
  if (!source->getInput(dispatch)) {
    LogManager::getInstance().writeLog(1, "InputManager::getInput(): Window close event. Setting game over.");
    GameManager::getInstance().setGameOver(true);
  }
}

EventKeyboard InputManager::toEventKeyboard(int sfml_code) const {
  EventKeyboard event;
  event.setKey(keyFromSFML(sfml_code));
  LogManager::getInstance().writeLog(15, "InputManager::toEventKeyboard(): Keyboard event '%c' (%d)",
                                     static_cast<int>(event.getKey()), sfml_code);
  return event;
}

bool InputManager::canWaitForKeyPress() const { return source && source->isInteractive(); }

std::vector<int> InputManager::waitForKeyPress() {
  std::vector<int> pressed;
  if (!canWaitForKeyPress())
    return pressed;
  // Ctrl-C or SIGTERM ends the wait too, so the game loop can end.
  while (pressed.empty() && !platform::stopRequested()) {
    // The whole input is read before the test, so presses waiting together end one wait.
    pressed = source->takeKeyPresses();
    DisplayManager::getInstance().refresh();
    platform::sleepMicroseconds(KEY_WAIT_POLL_MICROSECONDS);
  }
  return pressed;
}

int InputManager::prepareReplay() {
  const char *filename = std::getenv("CORVANE_REPLAY");
  if (!filename || !*filename)
    return 0;
  auto new_replayer = std::make_unique<InputReplayer>();
  if (new_replayer->open(filename) == -1)
    return -1;
  Config &config = Config::getInstance();
  const std::string current = config.getConfigText();
  if (!new_replayer->getConfigText().empty())
    config.loadConfig(new_replayer->getConfigText());
  if (!current.empty())
    config.loadConfig(current);
  // The log started before the recording was read: give it the level now.
  if (config.hasLogLevel())
    LogManager::getInstance().setLogLevel(config.getLogLevel());
  replay_seed = new_replayer->getSeed();
  replayer = std::move(new_replayer);
  replaying = true;
  return 0;
}

bool InputManager::isReplaying() const { return replaying; }

int InputManager::chooseSeed(int seed) const { return replaying ? replay_seed : seed; }

int InputManager::startRecording(int seed) {
  const char *filename = std::getenv("CORVANE_RECORD");
  if (!filename || !*filename || replaying || !source)
    return 0;
  auto recorder = std::make_unique<InputRecorder>();
  if (recorder->open(filename, seed, Config::getInstance().getConfigText()) == -1)
    return -1;
  auto wrapped = std::make_unique<RecordingInput>(std::move(source), std::move(recorder));
  recording = wrapped.get();
  source = std::move(wrapped);
  return 0;
}

void InputManager::endRecordingAndReplay(int last_step) {
  if (recording)
    recording->close(last_step);
  if (replay)
    replay->finish(last_step);
  unwrapSource();
  replayer.reset();
  replaying = false;
}

void InputManager::unwrapSource() {
  ForwardingInput *wrapper = recording ? static_cast<ForwardingInput *>(recording) : replay;
  if (wrapper)
    source = wrapper->release();
  recording = nullptr;
  replay = nullptr;
}

}  // namespace cv
