// A program that runs the engine the way a game's entry point does, for the
// tests that need a whole process: its exit status, its standard error, and
// signals sent to it. Settings come from "CORVANE_CONFIG" as usual.
//
// Arguments, all optional:
//   --load FILE        load FILE as sound "sound" and as music "music"
//   --stop-after N     end the game after N steps (default: run until stopped)
//   --interrupt-in-shutdown
//                      an object that sends SIGINT to the program while it is
//                      destroyed at shut-down

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Corvane.h"

namespace {

// Ends the game after a number of steps.
class StepLimit : public cv::Object {
 public:
  explicit StepLimit(int steps) : steps_left(steps) {
    setType("StepLimit");
    setSolidness(cv::SPECTRAL);
    registerInterest(cv::STEP_EVENT);
  }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::STEP_EVENT)
      return 0;
    if (--steps_left <= 0)
      cv::GameManager::getInstance().setGameOver();
    return 1;
  }

 private:
  int steps_left;  ///< steps before the game ends
};

// Sends SIGINT to the program from its destructor, which runs while the world
// manager shuts down.
class InterruptOnDestruction : public cv::Object {
 public:
  InterruptOnDestruction() {
    setType("InterruptOnDestruction");
    setSolidness(cv::SPECTRAL);
  }
  ~InterruptOnDestruction() override { std::raise(SIGINT); }
};

}  // namespace

int main(int argc, char **argv) {
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    cv::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return 0;
  }
  cv::LogManager::getInstance().setFlush(true);
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--load") == 0 && i + 1 < argc) {
      cv::ResourceManager::getInstance().loadSound(argv[i + 1], "sound");
      cv::ResourceManager::getInstance().loadMusic(argv[i + 1], "music");
      i++;
    } else if (std::strcmp(argv[i], "--stop-after") == 0 && i + 1 < argc) {
      new StepLimit(std::atoi(argv[i + 1]));
      i++;
    } else if (std::strcmp(argv[i], "--interrupt-in-shutdown") == 0) {
      new InterruptOnDestruction();
    }
  }
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
