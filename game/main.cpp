// Tomato: a top-down shooter on the Corvane engine.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "Corvane.h"
#include "GameStart.h"
#include "platform/platform.h"
#include "resources.h"

namespace {

// The file every run directory holds.
const char *const RUN_DIRECTORY_MARK = "cv-config.txt";

// The directory the game's files are in, whatever the working directory:
// "run/" beside the executable, as the build lays it out, or the
// executable's own directory when the files are there. "" when neither
// holds them.
std::filesystem::path findRunDirectory() {
  const std::filesystem::path executable = std::filesystem::u8path(cv::platform::executablePath());
  if (executable.empty())
    return {};
  const std::filesystem::path beside = executable.parent_path();
  std::error_code error;
  for (const std::filesystem::path &candidate : {beside / "run", beside})
    if (std::filesystem::is_regular_file(candidate / RUN_DIRECTORY_MARK, error))
      return candidate;
  return {};
}

// Makes the run directory the working directory, where the engine and the
// resource table look for the files. Returns the directory the game runs from.
std::string enterRunDirectory() {
  std::error_code error;
  const std::filesystem::path run = findRunDirectory();
  if (!run.empty())
    std::filesystem::current_path(run, error);
  const std::filesystem::path now = std::filesystem::current_path(error);
  return error ? "(unknown)" : now.string();
}

// The log file's full name, for telling the user where to look.
std::string fullName(const std::string &file_name) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(file_name, error);
  return error ? file_name : full.string();
}

}  // namespace

int main() {
  const std::string run_directory = enterRunDirectory();
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  cv::LogManager &log_manager = cv::LogManager::getInstance();
  if (game_manager.startUp() != 0) {
    log_manager.writeLog("Error starting game manager!");
    const std::string reason = game_manager.getStartUpFailure();
    const std::string log_file = fullName(log_manager.getLogFileName());
    game_manager.shutDown();
    std::fprintf(stderr, "tomato: cannot start: %s (log: %s)\n", reason.c_str(), log_file.c_str());
    return 1;
  }
  log_manager.writeLog("tomato: running from directory '%s'", run_directory.c_str());
  loadResources();
  new GameStart;
  auto *pause = new cv::Pause(cv::Keyboard::F10);
  pause->setShowMessage(true);
  pause->setMessagePosition(fieldCentre());
  log_manager.setFlush(true);
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
