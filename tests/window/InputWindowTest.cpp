// Drives a real window under Xvfb with xdotool while the game loop runs, and
// records the keyboard and mouse events that reach an object.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <SFML/Graphics/RenderWindow.hpp>

#include "Corvane.h"
#include "support/TestEngine.h"
#include "window/WindowCloseRequest.h"

using cvtest::TestEngine;
using namespace std::chrono_literals;

namespace {

// Longest wait for anything a test waits on; nothing waits unbounded.
constexpr auto PATIENCE = 10s;
// Time the X server gets to hand fake input to the window.
constexpr auto SETTLE = 150ms;
// Iterations after which a loop ends whatever its script does (about 30 s).
constexpr int MAX_ITERATIONS = 900;

// The configuration of a window test: its own title, so that xdotool finds
// this test's window, and the test font.
std::string windowConfig(const std::string &title, const std::string &more = "") {
  return "window_title:" + title + ",font_file:" + CORVANE_TEST_FONT + "," + more;
}

// Runs xdotool with `arguments`, bounded in time. True when it succeeded.
bool xdotool(const std::string &arguments) {
  const std::string command = "timeout 10 xdotool " + arguments + " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// xdotool arguments that pick the window titled `title` as the target of
// the commands after them ("%1").
std::string windowNamed(const std::string &title) { return "search --sync --name '^" + title + "$' "; }

// Gives the window titled `title` the keyboard focus (there is no window
// manager to do it).
bool focus(const std::string &title) { return xdotool(windowNamed(title) + "windowfocus --sync"); }

// One keyboard or mouse event as an object received it.
struct Input {
  int iteration = -1;                                   // loop iteration whose input brought it
  std::string type;                                     // "cv-keyboard" or "cv-mouse"
  int key = cv::Keyboard::KEY_UNDEFINED;                // keyboard events
  int keyboard_action = cv::KEYBOARD_ACTION_UNDEFINED;  // keyboard events
  int mouse_action = cv::MOUSE_ACTION_UNDEFINED;        // mouse events
  int button = cv::Mouse::MOUSE_BUTTON_UNDEFINED;       // mouse events
  cv::Vector position;                                  // mouse events, in cells
};

// Runs the game loop while a script on another thread drives the window.
// The script can act between two iterations: the loop waits inside a step
// event while the action runs, so everything the action causes is read by
// the input of the next iteration, whatever the timing.
class Loop {
 public:
  // Game thread, in every step event: counts the iteration, waits while
  // the script acts, ends the loop when the script is done.
  void step() {
    std::unique_lock<std::mutex> lock(mutex);
    if (hold_requested) {
      held_at = iterations;
      holding = true;
      changed.notify_all();
      changed.wait_for(lock, PATIENCE, [this] { return !hold_requested; });
      holding = false;
      changed.notify_all();
    }
    iterations++;
    changed.notify_all();
    if (script_done || iterations >= MAX_ITERATIONS)
      cv::GameManager::getInstance().setGameOver();
  }

  // Iteration whose input is being read now (the one before its step event).
  int iteration() {
    std::lock_guard<std::mutex> lock(mutex);
    return iterations;
  }

  // Script: runs `action` between two iterations. Returns the iteration
  // that reads what the action did, or -1 when the loop did not wait.
  int between(const std::function<void()> &action) {
    {
      std::unique_lock<std::mutex> lock(mutex);
      hold_requested = true;
      if (!changed.wait_for(lock, PATIENCE, [this] { return holding || loop_ended; }) || !holding) {
        hold_requested = false;
        return -1;
      }
    }
    action();
    std::this_thread::sleep_for(SETTLE);
    std::unique_lock<std::mutex> lock(mutex);
    hold_requested = false;
    changed.notify_all();
    // Let the loop leave this iteration before anything else is asked of it.
    changed.wait_for(lock, PATIENCE, [this] { return !holding || loop_ended; });
    return held_at + 1;
  }

  // Script: waits until `count` more iterations have run. False on timeout.
  bool waitIterations(int count) {
    std::unique_lock<std::mutex> lock(mutex);
    const int target = iterations + count;
    return changed.wait_for(lock, PATIENCE, [&] { return iterations >= target || loop_ended; }) &&
           iterations >= target;
  }

  // Runs the game loop until `script` returns (or the iteration limit).
  void run(const std::function<void()> &script) {
    std::thread driver([&] {
      script();
      std::lock_guard<std::mutex> lock(mutex);
      script_done = true;
    });
    cv::GameManager::getInstance().run();
    {
      std::lock_guard<std::mutex> lock(mutex);
      loop_ended = true;
      changed.notify_all();
    }
    driver.join();
  }

 private:
  std::mutex mutex;                   // guards everything below
  std::condition_variable changed;    // signalled on every change the other thread waits for
  int iterations = 0;                 // step events seen
  bool hold_requested = false;        // the script wants the loop to wait
  bool holding = false;               // the loop is waiting for the script
  int held_at = -1;                   // iteration in which the loop last waited
  bool script_done = false;           // the script has finished
  bool loop_ended = false;            // the game loop has returned
};

// Records every keyboard and mouse event it receives, and drives the loop's
// step bookkeeping.
class Recorder : public cv::Object {
 public:
  explicit Recorder(Loop &loop) : loop(loop) {
    registerInterest("cv-keyboard");
    registerInterest("cv-mouse");
    registerInterest("cv-step");
  }

  int eventHandler(const cv::Event *event) override {
    Input input;
    input.iteration = loop.iteration();
    input.type = event->getType();
    if (event->getType() == "cv-keyboard") {
      const auto *keyboard = static_cast<const cv::EventKeyboard *>(event);
      input.key = keyboard->getKey();
      input.keyboard_action = keyboard->getKeyboardAction();
    } else if (event->getType() == "cv-mouse") {
      const auto *mouse = static_cast<const cv::EventMouse *>(event);
      input.mouse_action = mouse->getMouseAction();
      input.button = mouse->getMouseButton();
      input.position = mouse->getMousePosition();
    } else {
      loop.step();
      return 1;
    }
    inputs.push_back(input);
    return 1;
  }

  // The keyboard events of `iteration`, as (key, action) pairs in order.
  std::vector<std::pair<int, int>> keys(int iteration) const {
    std::vector<std::pair<int, int>> result;
    for (const Input &input : inputs)
      if (input.iteration == iteration && input.type == "cv-keyboard")
        result.emplace_back(input.key, input.keyboard_action);
    return result;
  }

  // The mouse events of `iteration`, in order.
  std::vector<Input> mouse(int iteration) const {
    std::vector<Input> result;
    for (const Input &input : inputs)
      if (input.iteration == iteration && input.type == "cv-mouse")
        result.push_back(input);
    return result;
  }

  std::vector<Input> inputs;  // everything received, in order

 private:
  Loop &loop;
};

using KeyAction = std::pair<int, int>;
using Keys = std::vector<KeyAction>;

}  // namespace

TEST(InputWindow, KeyRepeatIsOffWhileStartedAndOnAgainAfter) {
  TestEngine engine(windowConfig("corvane-input-repeat", "log_level:5,"));
  ASSERT_EQ(engine.start(), 0);
  ASSERT_NE(cv::DisplayManager::getInstance().getWindow(), nullptr);
  const std::vector<std::string> starting = engine.messagesFrom("InputManager::startUp(): Keyboard repeated disabled.");
  ASSERT_GE(starting.size(), 3u);
  EXPECT_EQ(starting[1], "InputManager::startUp(): successfully started.");
  EXPECT_EQ(starting[2], "Input manager started.");
  EXPECT_EQ(cv::InputManager::getInstance().startUp(), 0);
  EXPECT_EQ(engine.messages().back(), "InputManager::startUp(): Already started.");
  engine.stop();
  const std::vector<std::string> stopping = engine.messagesFrom("InputManager::shutDown(): Keyboard repeat enabled.");
  ASSERT_GE(stopping.size(), 2u);
  EXPECT_EQ(stopping[1], "InputManager::shutDown(): successfully stopped.");
}

TEST(InputWindow, KeyTappedWithinOneIterationIsPressedAndReleasedButNotHeld) {
  const std::string title = "corvane-input-tap";
  TestEngine engine(windowConfig(title));
  ASSERT_EQ(engine.start(), 0);
  {
    Loop loop;
    Recorder recorder(loop);
    int tap_a = -1, tap_home = -1;
    bool focused = false;
    loop.run([&] {
      focused = focus(title);
      tap_a = loop.between([] { xdotool("key a"); });
      tap_home = loop.between([] { xdotool("key Home"); });
      loop.waitIterations(2);
    });
    ASSERT_TRUE(focused);
    ASSERT_NE(tap_a, -1);
    ASSERT_NE(tap_home, -1);
    EXPECT_EQ(recorder.keys(tap_a), (Keys{{36, cv::KEY_PRESSED}, {36, cv::KEY_RELEASED}}));
    EXPECT_EQ(recorder.keys(tap_home), (Keys{{161, cv::KEY_PRESSED}, {161, cv::KEY_RELEASED}}));
    int events = 0;
    for (const Input &input : recorder.inputs)
      if (input.type == "cv-keyboard")
        events++;
    EXPECT_EQ(events, 4);  // nothing held in any other iteration
  }
  engine.stop();
}

TEST(InputWindow, HeldKeysAreDownEveryIterationInPollingOrder) {
  const std::string title = "corvane-input-hold";
  TestEngine engine(windowConfig(title));
  ASSERT_EQ(engine.start(), 0);
  {
    Loop loop;
    Recorder recorder(loop);
    int pressed = -1, released = -1;
    bool focused = false;
    loop.run([&] {
      focused = focus(title);
      pressed = loop.between([] { xdotool("keydown w Up F11"); });
      loop.waitIterations(4);
      released = loop.between([] { xdotool("keyup w Up F11"); });
      loop.waitIterations(2);
    });
    ASSERT_TRUE(focused);
    ASSERT_NE(pressed, -1);
    ASSERT_NE(released, -1);
    ASSERT_GE(released - pressed, 4);
    // Pressed in the order typed, then held in polling order: UP before W;
    // F11 is never polled.
    EXPECT_EQ(recorder.keys(pressed), (Keys{{cv::Keyboard::W, cv::KEY_PRESSED},
                                            {cv::Keyboard::UP, cv::KEY_PRESSED},
                                            {cv::Keyboard::F11, cv::KEY_PRESSED},
                                            {cv::Keyboard::UP, cv::KEY_DOWN},
                                            {cv::Keyboard::W, cv::KEY_DOWN}}));
    for (int iteration = pressed + 1; iteration < released; iteration++)
      EXPECT_EQ(recorder.keys(iteration), (Keys{{cv::Keyboard::UP, cv::KEY_DOWN}, {cv::Keyboard::W, cv::KEY_DOWN}}))
          << "iteration " << iteration;
    EXPECT_EQ(recorder.keys(released), (Keys{{cv::Keyboard::W, cv::KEY_RELEASED},
                                             {cv::Keyboard::UP, cv::KEY_RELEASED},
                                             {cv::Keyboard::F11, cv::KEY_RELEASED}}));
    EXPECT_TRUE(recorder.keys(released + 1).empty());
  }
  engine.stop();
}

TEST(InputWindow, MouseMovesClicksAndHeldButtons) {
  const std::string title = "corvane-input-mouse";
  TestEngine engine(windowConfig(title));
  ASSERT_EQ(engine.start(), 0);
  {
    Loop loop;
    Recorder recorder(loop);
    const std::string window = windowNamed(title);
    int moved = -1, left = -1, right_with_left = -1, let_go = -1, middle = -1, right = -1, quick_click = -1;
    loop.run([&] {
      // From elsewhere first: the pointer may already be there from an earlier test.
      xdotool(window + "mousemove --window %1 5 5");
      moved = loop.between([&] { xdotool(window + "mousemove --window %1 128 160"); });
      left = loop.between([] { xdotool("mousedown 1"); });
      right_with_left = loop.between([] { xdotool("mousedown 3"); });
      let_go = loop.between([] { xdotool("mouseup 3 mouseup 1"); });
      middle = loop.between([] { xdotool("mousedown 2"); });
      loop.between([] { xdotool("mouseup 2"); });
      right = loop.between([] { xdotool("mousedown 3"); });
      loop.between([] { xdotool("mouseup 3"); });
      quick_click = loop.between([] { xdotool("click 1"); });
      loop.waitIterations(2);
    });
    for (int iteration : {moved, left, right_with_left, let_go, middle, right, quick_click})
      ASSERT_NE(iteration, -1);

    const cv::Vector cell(10, 5);  // pixel (128, 160) with the default grid
    const std::vector<Input> moves = recorder.mouse(moved);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().mouse_action, cv::MOVED);
    EXPECT_EQ(moves.back().button, cv::Mouse::MOUSE_BUTTON_UNDEFINED);
    EXPECT_FLOAT_EQ(moves.back().position.getX(), 10);
    EXPECT_FLOAT_EQ(moves.back().position.getY(), 5);

    // (action, button) of each mouse event in an iteration.
    const auto actions = [&](int iteration) {
      std::vector<std::pair<int, int>> result;
      for (const Input &input : recorder.mouse(iteration)) {
        result.emplace_back(input.mouse_action, input.button);
        EXPECT_EQ(input.position, cell) << "iteration " << iteration;
      }
      return result;
    };
    using Mouse = std::vector<std::pair<int, int>>;
    EXPECT_EQ(actions(left), (Mouse{{cv::CLICKED, cv::Mouse::LEFT_BUTTON}, {cv::PRESSED, cv::Mouse::LEFT_BUTTON}}));
    // A right click while the left button is held is a right click.
    EXPECT_EQ(actions(right_with_left), (Mouse{{cv::CLICKED, cv::Mouse::RIGHT_BUTTON},
                                               {cv::PRESSED, cv::Mouse::LEFT_BUTTON},
                                               {cv::PRESSED, cv::Mouse::RIGHT_BUTTON}}));
    EXPECT_TRUE(actions(let_go).empty());
    EXPECT_EQ(actions(middle),
              (Mouse{{cv::CLICKED, cv::Mouse::MIDDLE_BUTTON}, {cv::PRESSED, cv::Mouse::MIDDLE_BUTTON}}));
    EXPECT_EQ(actions(right), (Mouse{{cv::CLICKED, cv::Mouse::RIGHT_BUTTON}, {cv::PRESSED, cv::Mouse::RIGHT_BUTTON}}));
    // The button was up again when the click was read: the click keeps it.
    EXPECT_EQ(actions(quick_click), (Mouse{{cv::CLICKED, cv::Mouse::LEFT_BUTTON}}));
  }
  engine.stop();
}

TEST(InputWindow, PauseKeyStopsTheLoopUntilAnyKeyIsPressed) {
  const std::string title = "corvane-input-pause";
  TestEngine engine(windowConfig(title, "log_level:10,"));
  ASSERT_EQ(engine.start(), 0);
  {
    cv::Pause pause(cv::Keyboard::F10);
    Loop loop;
    Recorder recorder(loop);
    bool focused = false, resumed = false;
    int paused = -1, later = -1;
    loop.run([&] {
      focused = focus(title);
      loop.waitIterations(3);
      xdotool("key F10");
      // Paused once the count stands still between two looks.
      paused = loop.iteration();
      for (int look = 0; look < 50; look++) {
        std::this_thread::sleep_for(200ms);
        const int now = loop.iteration();
        if (now == paused)
          break;
        paused = now;
      }
      std::this_thread::sleep_for(1s);
      later = loop.iteration();
      xdotool("key space");
      resumed = loop.waitIterations(5);
    });
    ASSERT_TRUE(focused);
    EXPECT_EQ(later, paused);  // no step for more than a second
    EXPECT_TRUE(resumed);
    // It stopped in the iteration that read F10 (the recorder, registered
    // after the pause, got the key once the game went on).
    ASSERT_FALSE(recorder.keys(paused).empty());
    EXPECT_EQ(recorder.keys(paused).front(), KeyAction(cv::Keyboard::F10, cv::KEY_PRESSED));
    // The press that resumed was taken by the pause: no object saw it.
    for (const Input &input : recorder.inputs)
      EXPECT_FALSE(input.key == cv::Keyboard::SPACE && input.keyboard_action == cv::KEY_PRESSED)
          << "iteration " << input.iteration;
    EXPECT_TRUE(engine.logged("Pause::eventHandler(): Game paused."));
    EXPECT_TRUE(engine.logged("Pause::eventHandler(): Keypress (57)"));
    EXPECT_TRUE(engine.logged("Pause::eventHandler(): Game resumed."));
  }
  engine.stop();
}

// Notes, at every step, how many draws its animation has had (two frames of
// four draws each: the count goes round every eight).
class Spinner : public cv::Object {
 public:
  Spinner() {
    setSprite("example");
    setPosition(cv::Vector(40, 12));
    registerInterest(cv::STEP_EVENT);
  }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::STEP_EVENT)
      return 0;
    draws.push_back(getAnimation().getIndex() * 4 + getAnimation().getSlowdownCount());
    return 1;
  }
  std::vector<int> draws;  // at each step
};

TEST(InputWindow, PauseWithItsMessageLeavesAnimationsWhereTheyWere) {
  const std::string title = "corvane-input-pause-message";
  TestEngine engine(windowConfig(title, "log_level:1,"));
  ASSERT_EQ(engine.start(), 0);
  ASSERT_EQ(cv::ResourceManager::getInstance().loadSprite(std::string(CORVANE_TEST_FIXTURES) + "/sprites/example.txt",
                                                          "example"),
            0);
  {
    cv::Pause pause(cv::Keyboard::F10);
    pause.setShowMessage(true);
    auto *spinner = new Spinner;
    Loop loop;
    Recorder recorder(loop);
    bool focused = false;
    int paused = -1;
    loop.run([&] {
      focused = focus(title);
      loop.waitIterations(3);
      paused = loop.between([&] { xdotool("key F10"); });
      std::this_thread::sleep_for(300ms);
      xdotool("key space");
      loop.waitIterations(5);
    });
    ASSERT_TRUE(focused);
    ASSERT_NE(paused, -1);
    ASSERT_TRUE(engine.logged("Pause::eventHandler(): Game resumed."));
    // One draw between two steps, the pause's frame not counted.
    ASSERT_GE(spinner->draws.size(), 8u);
    for (size_t i = 1; i < spinner->draws.size(); i++)
      EXPECT_EQ(spinner->draws[i], (spinner->draws[i - 1] + 1) % 8) << "step " << i;
  }
  engine.stop();
}

TEST(InputWindow, TerminateWhilePausedEndsThePauseAndTheGame) {
  const std::string title = "corvane-input-pause-terminate";
  TestEngine engine(windowConfig(title, "log_level:1,"));
  ASSERT_EQ(engine.start(), 0);
  {
    cv::Pause pause(cv::Keyboard::F10);
    Loop loop;
    Recorder recorder(loop);
    bool focused = false, kept_running = true;
    loop.run([&] {
      focused = focus(title);
      loop.waitIterations(3);
      xdotool("key F10");
      // Paused once the count stands still between two looks.
      int paused = loop.iteration();
      for (int look = 0; look < 50; look++) {
        std::this_thread::sleep_for(200ms);
        const int now = loop.iteration();
        if (now == paused)
          break;
        paused = now;
      }
      std::raise(SIGTERM);
      kept_running = loop.waitIterations(30);
    });
    ASSERT_TRUE(focused);
    EXPECT_FALSE(kept_running);
    EXPECT_TRUE(engine.logged("Pause::eventHandler(): Game paused."));
    EXPECT_FALSE(engine.logged("Pause::eventHandler(): Game resumed."));
    // The paused iteration overran its frame, so the loop may say it can't keep up.
    std::vector<std::string> after_pause;
    for (const std::string &message : engine.messagesFrom("Pause::eventHandler(): Pause ended by a request to stop."))
      if (message.rfind("GameManager::run(): Can't keep up!", 0) != 0)
        after_pause.push_back(message);
    EXPECT_EQ(after_pause, (std::vector<std::string>{"Pause::eventHandler(): Pause ended by a request to stop.",
                                                     "GameManager::run(): Caught SIGTERM, ending the game.",
                                                     "GameManager::run(): end of game loop"}));
  }
  engine.stop();
}

TEST(InputWindow, CloseRequestEndsTheGameAndDropsTheRestOfThatIterationsInput) {
  const std::string title = "corvane-input-close";
  TestEngine engine(windowConfig(title, "log_level:1,"));
  ASSERT_EQ(engine.start(), 0);
  const unsigned long handle = cv::DisplayManager::getInstance().getWindow()->getSystemHandle();
  {
    Loop loop;
    Recorder recorder(loop);
    bool focused = false, sent = false, kept_running = true;
    int closed = -1;
    loop.run([&] {
      focused = focus(title);
      // The key press queues behind the close request.
      closed = loop.between([&] {
        sent = cvtest::requestWindowClose(handle);
        xdotool("key a");
      });
      kept_running = loop.waitIterations(30);
    });
    ASSERT_TRUE(focused);
    ASSERT_TRUE(sent);
    ASSERT_NE(closed, -1);
    EXPECT_FALSE(kept_running);
    EXPECT_EQ(loop.iteration(), closed + 1);  // the loop ended with that iteration
    EXPECT_TRUE(cv::GameManager::getInstance().getGameOver());
    EXPECT_TRUE(recorder.keys(closed).empty());
    EXPECT_TRUE(engine.logged("InputManager::getInput(): Window close event. Setting game over."));
  }
  engine.stop();
}

TEST(InputWindow, CloseRequestEndsAReplayAsItEndsAGame) {
  const std::string title = "corvane-input-close-replay";
  TestEngine engine(windowConfig(title, "log_level:1,"));
  // A recording of a thousand steps with no input in them.
  const std::string recording = engine.directory() + "/long.rec";
  cvtest::writeFile(recording, "corvane-recording 1\nseed 5\nconfig \nend 1000 0 00000000\n");
  setenv("CORVANE_REPLAY", recording.c_str(), 1);
  const int started = engine.start();
  unsetenv("CORVANE_REPLAY");
  ASSERT_EQ(started, 0);
  ASSERT_TRUE(cv::InputManager::getInstance().isReplaying());
  const unsigned long handle = cv::DisplayManager::getInstance().getWindow()->getSystemHandle();
  {
    Loop loop;
    Recorder recorder(loop);
    bool sent = false, kept_running = true;
    int closed = -1;
    loop.run([&] {
      closed = loop.between([&] { sent = cvtest::requestWindowClose(handle); });
      kept_running = loop.waitIterations(30);
    });
    ASSERT_TRUE(sent);
    ASSERT_NE(closed, -1);
    EXPECT_FALSE(kept_running);
    EXPECT_EQ(loop.iteration(), closed + 1);
    EXPECT_TRUE(engine.logged("InputManager::getInput(): Window close event. Setting game over."));
  }
  engine.stop();
}

TEST(InputWindow, PauseKeyPressedAgainResumesAndStaysResumed) {
  const std::string title = "corvane-input-pause-again";
  TestEngine engine(windowConfig(title, "log_level:1,"));
  ASSERT_EQ(engine.start(), 0);
  {
    cv::Pause pause(cv::Keyboard::F10);
    Loop loop;
    Recorder recorder(loop);
    bool focused = false, resumed_while_held = false, running_after_release = false;
    loop.run([&] {
      focused = focus(title);
      loop.waitIterations(3);
      xdotool("key F10");
      // Paused once the count stands still between two looks.
      for (int look = 0, seen = loop.iteration(); look < 50; look++) {
        std::this_thread::sleep_for(200ms);
        if (loop.iteration() == seen)
          break;
        seen = loop.iteration();
      }
      // Held: the loop polls F10 as held right after resuming.
      xdotool("keydown F10");
      resumed_while_held = loop.waitIterations(5);
      xdotool("keyup F10");
      running_after_release = loop.waitIterations(5);
    });
    ASSERT_TRUE(focused);
    EXPECT_TRUE(resumed_while_held);
    EXPECT_TRUE(running_after_release);
    int pauses = 0;
    for (const std::string &message : engine.messages())
      if (message == "Pause::eventHandler(): Game paused.")
        pauses++;
    EXPECT_EQ(pauses, 1);
  }
  engine.stop();
}
