#include "core/GameManager.h"

#include <climits>
#include <cstdlib>  // Required for: srand()
#include <ctime>    // Required for: time()
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/EventStep.h"
#include "core/PreciseSleeper.h"
#include "foundation/Box.h"
#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"
#include "network/NetworkManager.h"
#include "path/PathManager.h"
#include "platform/Clock.h"
#include "platform/platform.h"
#include "platform/signals.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/input/InputManager.h"
#include "presentation/sprites/ResourceManager.h"
#include "presentation/BackEnd.h"
#include "world/WorldManager.h"

namespace cv {

namespace {

const char *const BANNER_RULE = "****************************************************";

// The reason to give for a failed start: the first of the manager's own
// messages (the library's come before them and say less), else `failure`.
std::string failureReason(const std::vector<std::string> &noted, const char *failure) {
  // What the media libraries' lines in the log begin with.
  const std::string library_prefix = "SFML: ";
  for (const std::string &message : noted)
    if (message.compare(0, library_prefix.size(), library_prefix) != 0)
      return message;
  return noted.empty() ? failure : noted.front();
}

// The file that marks a run directory.
const char *const RUN_DIRECTORY_MARK = "cv-config.txt";

// The game's run directory: "run/" beside the executable, or the
// executable's own directory, whichever first holds the mark. Empty when
// neither does or the executable cannot be told.
std::filesystem::path findRunDirectory() {
  const std::filesystem::path executable = std::filesystem::u8path(platform::executablePath());
  if (executable.empty())
    return {};
  const std::filesystem::path beside = executable.parent_path();
  std::error_code error;
  for (const std::filesystem::path &candidate : {beside / "run", beside})
    if (std::filesystem::is_regular_file(candidate / RUN_DIRECTORY_MARK, error))
      return candidate;
  return {};
}

// Says on standard error (the log is not open yet) that the configuration
// file was not found, where the game looked, and where its log will be.
void reportMissingConfig(const Config &config) {
  const std::string file = config.getConfigFile();
  bool exists = false;
  try {
    std::error_code error;
    exists = std::filesystem::exists(std::filesystem::u8path(file), error) && !error;
  } catch (const std::exception &) {
    // Taken for missing: the message still names the file.
  }
  LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(
      "GameManager::startUp(): Warning! configuration file '%s' %s (working directory '%s'); every setting keeps "
      "its default, and the log goes to '%s'.",
      file.c_str(), exists ? "cannot be read" : "not found", GameManager::getInstance().getRunDirectory().c_str(),
      fullPath(log_manager.getLogFileNameToOpen()).c_str());
}

// Stops one manager and writes its stopped line.
void stopOne(Manager &manager, const char *stopped) {
  manager.shutDown();
  LogManager::getInstance().writeLog(1, "%s", stopped);
}

}  // namespace

GameManager::GameManager() : game_over(false), frame_time(0), step_count(0), kept_files(false) {
  setType("GameManager");
}

GameManager &GameManager::getInstance() {
  static GameManager game_manager;
  return game_manager;
}

bool GameManager::isValid(std::string event_type) const { return event_type == STEP_EVENT; }

int GameManager::startUp() {
  LogManager &log_manager = LogManager::getInstance();
  if (isStarted()) {
    log_manager.writeLog("GameManager::startup(): Already started.");
    return 0;
  }
  // From here Ctrl-C or SIGTERM asks for an orderly end instead of killing the game.
  platform::catchStopSignals();
  // The configuration is read before the log opens, so its warnings reach
  // standard error only; they are kept to be written into the log as well.
  Config &config = Config::getInstance();
  log_manager.beginNoting();
  config.loadConfig("");
  if (!config.getConfigFileFound())
    reportMissingConfig(config);
  const std::vector<std::string> config_warnings = log_manager.endNoting();
  start_up_failure.clear();

  log_manager.beginNoting();
  const int log_result = log_manager.startUp();
  const std::vector<std::string> log_noted = log_manager.endNoting();
  if (log_result == -1) {
    start_up_failure = failureReason(log_noted, "Error starting log manager!");
    log_manager.writeLog("Error starting log manager!");
    platform::releaseStopSignals();  // a caller that gives up here gets Ctrl-C back
    return -1;
  }
  startLibraryMessages();
  log_manager.writeLog("%s", BANNER_RULE);
  log_manager.writeLog("** Corvane version %.2f **", CORVANE_VERSION);
  log_manager.writeLog("** Game engine started **");
  log_manager.writeLog("%s", BANNER_RULE);
  log_manager.writeLog(1, "Log Manager started.");
  config.print();
  for (const std::string &warning : config_warnings)
    log_manager.writeLog("%s", warning.c_str());
  // A replay brings the recorded configuration before anything reads it.
  if (InputManager::getInstance().prepareReplay() == -1) {
    start_up_failure = "the recording to replay cannot be read";
    platform::releaseStopSignals();
    return -1;
  }

  frame_time = config.getFrameTime();
  log_manager.writeLog(5, "GameManager::startUp(): frame time is %d", frame_time);

  if (startManagers() == -1) {
    platform::releaseStopSignals();
    return -1;
  }

  DisplayManager &display_manager = DisplayManager::getInstance();
  const Box screen(Vector(0, 0), static_cast<float>(display_manager.getHorizontalChars()),
                   static_cast<float>(display_manager.getVerticalChars()));
  WorldManager &world_manager = WorldManager::getInstance();
  world_manager.setBoundary(screen);
  world_manager.setView(screen);
  world_manager.setViewSlack(Vector(1.0f / 3.0f, 1.0f / 3.0f));

  if (InputManager::getInstance().startRecording(seedRandom()) == -1) {
    start_up_failure = "the recording cannot be written";
    platform::releaseStopSignals();
    return -1;
  }

  if (!platform::requestTimerResolution(1))
    log_manager.writeLog(1, "GameManager()::startUp(): Warning!  timeBeginPeriod() cannot accept 1 msec.");

  game_over = false;
  Manager::startUp();
  log_manager.writeLog(5, "GameManager::startUp(): successfully started.");
  return 0;
}

int GameManager::enterRunDirectory() {
  try {
    const std::filesystem::path run = findRunDirectory();
    if (run.empty())
      return -1;
    std::error_code error;
    std::filesystem::current_path(run, error);
    return error ? -1 : 0;
  } catch (const std::exception &) {
    return -1;
  }
}

std::string GameManager::getRunDirectory() const {
  try {
    std::error_code error;
    const std::filesystem::path now = std::filesystem::current_path(error);
    return error ? "" : now.u8string();
  } catch (const std::exception &) {
    return "";
  }
}

// Starts one manager, writing the failure or success line; a failure is
// kept as the start-up's reason. Any result but 0 is a failure: the network
// manager answers 1, the others -1.
int GameManager::startOne(Manager &manager, const char *failure, const char *success) {
  LogManager &log_manager = LogManager::getInstance();
  log_manager.beginNoting();
  const int result = manager.startUp();
  const std::vector<std::string> noted = log_manager.endNoting();
  if (result != 0) {
    start_up_failure = failureReason(noted, failure);
    log_manager.writeLog("%s", failure);
    return -1;
  }
  log_manager.writeLog(1, "%s", success);
  return 0;
}

int GameManager::startManagers() {
  if (startOne(DisplayManager::getInstance(), "Error starting display manager!", "Display manager started.") == -1)
    return -1;
  if (startOne(InputManager::getInstance(), "Error starting input manager!", "Input manager started.") == -1)
    return -1;
  if (Config::getInstance().getNetworking() &&
      startOne(NetworkManager::getInstance(), "Error starting network manager!", "Network manager started.") == -1)
    return -1;
  if (startOne(ResourceManager::getInstance(), "Error starting resource manager!", "Resource manager started.") ==
      -1)
    return -1;
  if (startOne(WorldManager::getInstance(), "Error starting world manager!", "World manager started.") == -1)
    return -1;
  if (startOne(PathManager::getInstance(), "Error starting path manager!", "Path manager started.") == -1)
    return -1;
  return 0;
}

int GameManager::seedRandom() const {
  int seed = InputManager::getInstance().chooseSeed(Config::getInstance().getRandomSeed());
  if (seed == 0) {
    seed = static_cast<int>(std::time(nullptr));
    std::srand(static_cast<unsigned>(seed));
  } else if (seed != -1) {
    std::srand(static_cast<unsigned>(seed));
  }
  LogManager::getInstance().writeLog(10, "GameManager()::startUp(): seed is %d", seed);
  return seed;
}

void GameManager::shutDown() {
  LogManager &log_manager = LogManager::getInstance();
  game_over = true;
  if (!platform::releaseTimerResolution(1))
    log_manager.writeLog(1, "GameManager()::shutDown(): Warning! timeEndPeriod() cannot accept 1 msec.");

  if (kept_files)
    saveKeptFiles();
  stopOne(PathManager::getInstance(), "Path manager stopped");
  stopOne(WorldManager::getInstance(), "World manager stopped");
  stopOne(ResourceManager::getInstance(), "Resource manager stopped");
  if (Config::getInstance().getNetworking())
    stopOne(NetworkManager::getInstance(), "Network manager stopped");
  stopOne(InputManager::getInstance(), "Input manager stopped");
  stopOne(DisplayManager::getInstance(), "Display manager stopped");

  // The library's last words (a count of repeats) come before the banner.
  stopLibraryMessages();
  log_manager.writeLog("%s", BANNER_RULE);
  log_manager.writeLog("** Game engine stopped **");
  log_manager.shutDown();
  Manager::shutDown();
  platform::releaseStopSignals();
}

void GameManager::pollNetwork(const Clock &clock) const {
  NetworkManager &network_manager = NetworkManager::getInstance();
  const long deadline = static_cast<long>(frame_time * 0.2f * 1000) + clock.split();
  // What the handlers send meanwhile goes out at the end, one write a
  // connection, rather than one write a message.
  network_manager.holdOutput();
  // Every waiting connection is taken within the budget, which the data
  // passes then share; at least one data pass is always made.
  if (network_manager.isServer())
    network_manager.acceptWaiting(deadline - clock.split());
  while (network_manager.getNumSockets() > 0) {
    bool got_data = false;
    for (int i = 0; i < network_manager.getNumSockets(); i++)
      if (network_manager.genDataEvents(i) > 0)
        got_data = true;
    if (!got_data)
      break;
    if (clock.split() < deadline)
      continue;
    // Out of time with data still arriving. The clock is monotonic, so a
    // second reading could only confirm the first.
    LogManager::getInstance().writeLog("GameManager::run(): Warning! Residual network data.");
    break;
  }
  network_manager.releaseOutput();
}

void GameManager::run() {
  LogManager &log_manager = LogManager::getInstance();
  DisplayManager &display_manager = DisplayManager::getInstance();
  InputManager &input_manager = InputManager::getInstance();
  WorldManager &world_manager = WorldManager::getInstance();
  PathManager &path_manager = PathManager::getInstance();
  const bool networking = Config::getInstance().getNetworking();

  log_manager.writeLog(1, "GameManager::run(): starting game loop");
  game_over = false;
  step_count = 0;
  Clock clock;
  long adjust = 0;  // oversleep of the previous iteration, taken off this one
  PreciseSleeper sleeper;  // wakes close to the end of each frame

  while (true) {
    clock.delta();
    display_manager.swapBuffers();
    input_manager.getInput();
    const EventStep step(step_count);
    onEvent(&step);
    if (networking)
      pollNetwork(clock);
    world_manager.update();
    world_manager.draw();

    const long frame_microseconds = frame_time * 1000L;
    path_manager.cycle(static_cast<int>(static_cast<float>(frame_microseconds - clock.split() - adjust) * 0.95f / 1000));

    const long split = clock.split();
    const long remaining = frame_microseconds - split - adjust;
    if (remaining > 0) {
      const long before = clock.split();
      // Sleep the whole remainder, to the microsecond: cutting it to whole
      // milliseconds would only make every frame short, and the system's
      // own sleeps end late by a varying amount on a busy machine.
      sleeper.sleep(remaining);
      const long after = clock.split();
      const long overslept = after - before - remaining;
      adjust = overslept >= 0 ? overslept : 0;
    } else if (adjust != 0) {
      adjust = 0;
    } else if (frame_time > 0 && step_count > 0) {
      log_manager.writeLog("GameManager::run(): Can't keep up! frame_time %d ms, split %d ms", frame_time,
                           static_cast<int>(split / 1000));
    }

    // Wrap to 0 instead of overflowing: an unpaced loop (frame_time 0) runs
    // tens of thousands of iterations a second and a long run reaches INT_MAX.
    step_count = step_count < INT_MAX ? step_count + 1 : 0;
    if (!game_over && platform::stopRequested()) {
      log_manager.writeLog("GameManager::run(): Caught %s, ending the game.", platform::stopSignalName());
      game_over = true;
    }
    if (game_over)
      break;
  }
  input_manager.endRecordingAndReplay(step_count > 0 ? step_count - 1 : INT_MAX);
  log_manager.writeLog(1, "GameManager::run(): end of game loop");
}

void GameManager::setGameOver(bool new_game_over) { game_over = new_game_over; }

bool GameManager::getGameOver() const { return game_over; }

int GameManager::getFrameTime() const { return frame_time; }

int GameManager::getStepCount() const { return step_count; }

int GameManager::keepFiles(std::string directory) {
  std::string failure;
  if (platform::keepDirectory(directory, failure) == -1) {
    LogManager::getInstance().writeLog("GameManager::keepFiles(): Error! Cannot keep files in '%s': %s.",
                                       directory.c_str(), failure.c_str());
    return -1;
  }
  kept_files = true;
  LogManager::getInstance().writeLog(1, "GameManager::keepFiles(): Keeping files in '%s'.", directory.c_str());
  return 0;
}

int GameManager::saveKeptFiles() {
  std::string failure;
  if (platform::saveKeptDirectories(failure) == -1) {
    LogManager::getInstance().writeLog("GameManager::saveKeptFiles(): Error! %s.", failure.c_str());
    return -1;
  }
  return 0;
}

std::string GameManager::getStartUpFailure() const { return start_up_failure; }

}  // namespace cv
