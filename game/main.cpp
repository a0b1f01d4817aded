// Tomato: a top-down shooter on the Corvane engine.

#include "Corvane.h"
#include "GameStart.h"
#include "resources.h"

int main() {
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    cv::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return 0;
  }
  loadResources();
  new GameStart;
  (new cv::Pause(cv::Keyboard::F10))->setShowMessage(true);
  cv::LogManager::getInstance().setFlush(true);
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
