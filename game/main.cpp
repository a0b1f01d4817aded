// Tomato: a top-down shooter on the Corvane engine.

#include <cstdio>
#include <string>

#include "Corvane.h"
#include "GameStart.h"
#include "resources.h"

int main() {
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  // The game's files are in its run directory, whatever the working directory.
  game_manager.enterRunDirectory();
  const std::string run_directory = game_manager.getRunDirectory();
  cv::LogManager &log_manager = cv::LogManager::getInstance();
  if (game_manager.startUp() != 0) {
    log_manager.writeLog("Error starting game manager!");
    const std::string reason = game_manager.getStartUpFailure();
    const std::string log_file = cv::fullPath(log_manager.getLogFileName());
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
