// A long game, headless with a fixed seed: a scripted player moves, aims,
// fires, raises the reflector and fires super shots through the input
// manager's own dispatch, loses games and starts new ones. Nothing may crash
// or leak (the sanitizer build's LeakSanitizer checks the end), the heap in
// use late in the run may not exceed what it was early on beyond a small
// margin, and the number of objects stays bounded.
//
// CORVANE_SOAK_STEPS sets the length (default 20,000 steps).

#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "Corvane.h"
#include "resources.h"
#include "GameStart.h"
#include "support/TestEngine.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#endif
#ifdef SOAK_UNDER_ASAN
// From the AddressSanitizer run-time (its header does not come with every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Bytes of heap in use now (AddressSanitizer's count under it: its freed
// blocks wait in quarantine, so the process's size says nothing there).
std::size_t heapInUse() {
#ifdef SOAK_UNDER_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

// Resident size of the process in kilobytes, for the report.
long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0)
      return std::atol(line.c_str() + 6);
  return -1;
}

int objectCount(const std::string &type = "") {
  const cv::ObjectList all = cv::WorldManager::getInstance().getAllObjects(true);
  if (type.empty())
    return all.getCount();
  int n = 0;
  for (cv::ObjectListIterator li(&all); !li.isDone(); li.next())
    n += li.currentObject()->getType() == type;
  return n;
}

// "type count" for each type of object in the world, in order of first appearance.
std::string typeCounts() {
  std::vector<std::pair<std::string, int>> counts;
  const cv::ObjectList all = cv::WorldManager::getInstance().getAllObjects(true);
  for (cv::ObjectListIterator li(&all); !li.isDone(); li.next()) {
    const std::string type = li.currentObject()->getType();
    auto at = std::find_if(counts.begin(), counts.end(), [&](const auto &entry) { return entry.first == type; });
    if (at == counts.end())
      counts.push_back({type, 1});
    else
      at->second++;
  }
  std::string text;
  for (const auto &[type, count] : counts)
    text += " " + type + " " + std::to_string(count);
  return text;
}

// Plays by a fixed script of pseudo-random choices (its own generator, so
// the game's draws stay the game's), sending every event through the input
// manager as the window's input would arrive; ends the game after `steps`.
class ScriptedPlayer : public cv::Object {
 public:
  explicit ScriptedPlayer(int new_steps) : steps(new_steps) {
    setType("ScriptedPlayer");
    setSolidness(cv::SPECTRAL);
    registerInterest(cv::STEP_EVENT);
  }

  int steps;                   ///< steps to play
  int step = 0;                ///< steps played
  int most_objects = 0;        ///< the most objects seen in the world at once
  int games_started = 0;       ///< P presses that started a game
  int games_lost = 0;          ///< game-over screens seen
  std::size_t heap_early = 0;  ///< heap in use at step EARLY_STEP
  long resident_early = 0;     ///< resident kilobytes at step EARLY_STEP
  static const int EARLY_STEP = 2000;

  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::STEP_EVENT)
      return 0;
    step++;
    play();
    most_objects = std::max(most_objects, objectCount());
    const bool over = objectCount("GameOver") > 0;
    games_lost += over && !was_over;
    was_over = over;
    if (step == EARLY_STEP) {
      heap_early = heapInUse();
      resident_early = residentKilobytes();
    }
    if (step >= steps)
      cv::GameManager::getInstance().setGameOver(true);
    return 1;
  }

 private:
  bool was_over = false;      ///< whether the game-over screen showed last step
  std::uint32_t seed = 12345; ///< the script's own generator
  cv::Keyboard::Key held = cv::Keyboard::KEY_UNDEFINED;  ///< movement key held down
  int release_at = 0;         ///< step its release is due

  int draw(int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
  }

  static void key(cv::Keyboard::Key key, cv::EventKeyboardAction action) {
    cv::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(action);
    cv::InputManager::getInstance().onEvent(&event);
  }

  static void mouse(cv::EventMouseAction action, cv::Mouse::Button button, cv::Vector where) {
    cv::EventMouse event;
    event.setMouseAction(action);
    event.setMouseButton(button);
    event.setMousePosition(where);
    cv::InputManager::getInstance().onEvent(&event);
  }

  void play() {
    // On the start screen, P starts a game (ignored while one runs).
    if (step % 40 == 1 && objectCount("GameStart") > 0 && objectCount("Hero") == 0) {
      key(cv::Keyboard::P, cv::KEY_PRESSED);
      games_started += objectCount("Hero") > 0;
    }
    // Walk: one of W, A, S, D pressed, held a while, released.
    if (held != cv::Keyboard::KEY_UNDEFINED && step >= release_at) {
      key(held, cv::KEY_RELEASED);
      held = cv::Keyboard::KEY_UNDEFINED;
    } else if (held == cv::Keyboard::KEY_UNDEFINED && draw(3) == 0) {
      const cv::Keyboard::Key keys[] = {cv::Keyboard::W, cv::Keyboard::A, cv::Keyboard::S, cv::Keyboard::D};
      held = keys[draw(4)];
      key(held, cv::KEY_PRESSED);
      release_at = step + 1 + draw(15);
    }
    if (held != cv::Keyboard::KEY_UNDEFINED)
      key(held, cv::KEY_DOWN);
    const cv::Vector aim(static_cast<float>(2 + draw(50)), static_cast<float>(draw(24)));
    if (step % 3 == 0)
      mouse(cv::MOVED, cv::Mouse::MOUSE_BUTTON_UNDEFINED, aim);
    if (draw(6) == 0)
      mouse(cv::CLICKED, cv::Mouse::LEFT_BUTTON, aim);
    if (draw(90) == 0)
      mouse(cv::CLICKED, cv::Mouse::RIGHT_BUTTON, aim);
    if (draw(40) == 0)
      key(cv::Keyboard::SPACE, cv::KEY_PRESSED);
  }
};

int soakSteps() {
  const char *text = std::getenv("CORVANE_SOAK_STEPS");
  const int steps = text ? std::atoi(text) : 20000;
  return steps > ScriptedPlayer::EARLY_STEP ? steps : 20000;
}

TEST(SoakTest, ALongHeadlessGameLosesNothingAndLeaksNothing) {
  cvtest::TestEngine engine("headless:true,random_seed:11,frame_time:0,");
  ASSERT_EQ(chdir(TOMATO_RUN_DIR), 0);
  ASSERT_EQ(engine.start(), 0);
  loadResources();
  new GameStart;
  new cv::Pause(cv::Keyboard::F10);
  const int steps = soakSteps();
  auto *player = new ScriptedPlayer(steps);
  cv::GameManager::getInstance().run();

  const std::size_t heap_late = heapInUse();
  std::printf("soak: objects at the end:%s\n", typeCounts().c_str());
  const long resident_late = residentKilobytes();
  std::printf("soak: %d steps, %d games started, %d lost, at most %d objects\n", player->step,
              player->games_started, player->games_lost, player->most_objects);
  std::printf("soak: heap in use %zu bytes at step %d, %zu at step %d; resident %ld kB and %ld kB\n",
              player->heap_early, ScriptedPlayer::EARLY_STEP, heap_late, player->step, player->resident_early,
              resident_late);
  EXPECT_EQ(player->step, steps);
  EXPECT_GE(player->games_lost, 3) << "the scripted player should lose games and start new ones";
  EXPECT_GE(player->games_started, player->games_lost);
  EXPECT_LE(player->most_objects, 100);
  // The world at the end is a game in some state as at step 2,000: the heap
  // may differ by that state's objects, not by what the run left behind.
  EXPECT_LE(heap_late, player->heap_early + 512 * 1024 + player->heap_early / 20);
  engine.stop();
}

}  // namespace
