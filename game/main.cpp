// Tomato: a top-down shooter on the Corvane engine.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "Corvane.h"
#include "GameStart.h"
#include "resources.h"

namespace {

// The log file's full name, for telling the user where to look.
std::string fullName(const std::string &file_name) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(file_name, error);
  return error ? file_name : full.string();
}

}  // namespace

int main() {
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    cv::LogManager &log_manager = cv::LogManager::getInstance();
    log_manager.writeLog("Error starting game manager!");
    const std::string reason = game_manager.getStartUpFailure();
    const std::string log_file = fullName(log_manager.getLogFileName());
    game_manager.shutDown();
    std::fprintf(stderr, "tomato: cannot start: %s (log: %s)\n", reason.c_str(), log_file.c_str());
    return 1;
  }
  loadResources();
  new GameStart;
  new cv::Pause(cv::Keyboard::F10);
  cv::LogManager::getInstance().setFlush(true);
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
