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
//   --keep-buffer      leave flushing off, as before a game turns it on
//   --show-sprite FILE load the sprite file FILE and show it, centred on (10, 5)
//   --fatal HOW        after two steps (each logging a levelled line), die:
//                      SIGSEGV, SIGABRT, SIGFPE, SIGBUS or SIGILL raised, or
//                      "null-write" (a real invalid access) or "abort" (abort())
//   --figures SPRITE   show the figures of support/PlacementFrame.h, drawn
//                      from the sprite file SPRITE
//   --enter-run-directory
//                      enter the run directory beside the program before
//                      starting, as the examples do
//
// A failed start-up prints one line on standard error and exits 1.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "Corvane.h"
#include "support/PlacementFrame.h"

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

// Logs a levelled line every step and dies as `how` says after two steps.
class FatalAfterSteps : public cv::Object {
 public:
  explicit FatalAfterSteps(std::string fatal_how) : how(std::move(fatal_how)) {
    setType("FatalAfterSteps");
    setSolidness(cv::SPECTRAL);
    registerInterest(cv::STEP_EVENT);
  }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::STEP_EVENT)
      return 0;
    cv::LogManager::getInstance().writeLog(1, "FatalAfterSteps: step %d", steps);
    if (++steps < 2)
      return 1;
    if (how == "null-write") {
      volatile int *volatile nowhere = nullptr;
      *nowhere = 1;
    } else if (how == "abort") {
      std::abort();
    }
    for (const auto &[name, number] : SIGNALS)
      if (how == name)
        std::raise(number);
    return 1;
  }

 private:
  static constexpr std::pair<const char *, int> SIGNALS[] = {
      {"SIGSEGV", SIGSEGV}, {"SIGABRT", SIGABRT}, {"SIGFPE", SIGFPE},
#ifdef SIGBUS  // not on Windows
      {"SIGBUS", SIGBUS},
#endif
      {"SIGILL", SIGILL}};
  std::string how;  ///< how to die
  int steps = 0;    ///< steps seen
};

}  // namespace

int main(int argc, char **argv) {
  cv::GameManager &game_manager = cv::GameManager::getInstance();
  for (int i = 1; i < argc; i++)
    if (std::strcmp(argv[i], "--enter-run-directory") == 0)
      game_manager.enterRunDirectory();
  if (game_manager.startUp() != 0) {
    cv::LogManager::getInstance().writeLog("Error starting game manager!");
    const std::string reason = game_manager.getStartUpFailure();
    game_manager.shutDown();
    std::fprintf(stderr, "engine: cannot start: %s\n", reason.c_str());
    return 1;
  }
  bool flush = true;
  for (int i = 1; i < argc; i++)
    if (std::strcmp(argv[i], "--keep-buffer") == 0)
      flush = false;
  cv::LogManager::getInstance().setFlush(flush);
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--load") == 0 && i + 1 < argc) {
      cv::ResourceManager::getInstance().loadSound(argv[i + 1], "sound");
      cv::ResourceManager::getInstance().loadMusic(argv[i + 1], "music");
      i++;
    } else if (std::strcmp(argv[i], "--stop-after") == 0 && i + 1 < argc) {
      new StepLimit(std::atoi(argv[i + 1]));
      i++;
    } else if (std::strcmp(argv[i], "--show-sprite") == 0 && i + 1 < argc) {
      if (cv::ResourceManager::getInstance().loadSprite(argv[i + 1], "shown") == 0) {
        auto *shown = new cv::Object;
        shown->setSolidness(cv::SPECTRAL);
        shown->setSprite("shown");
        shown->setPosition(cv::Vector(10, 5));
      }
    } else if (std::strcmp(argv[i], "--figures") == 0 && i + 1 < argc) {
      cvtest::placeFigures(argv[i + 1]);
      i++;
    } else if (std::strcmp(argv[i], "--interrupt-in-shutdown") == 0) {
      new InterruptOnDestruction();
    } else if (std::strcmp(argv[i], "--fatal") == 0 && i + 1 < argc) {
      new FatalAfterSteps(argv[i + 1]);
      i++;
    }
  }
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
