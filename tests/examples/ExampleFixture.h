#pragma once
// Runs an example game headless: starts the engine from a configuration
// text, loads the example's own sprites, and drives the real game loop with
// a script object that injects input events at chosen steps.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "Corvane.h"
#include "support/TestEngine.h"

namespace exampletest {

/// Sends input as the input manager would: to every object interested.
inline void injectKey(cv::Keyboard::Key key, cv::EventKeyboardAction action) {
  cv::EventKeyboard event;
  event.setKey(key);
  event.setKeyboardAction(action);
  cv::InputManager::getInstance().onEvent(&event);
}

/// A click of `button` at `where`, in view cells.
inline void injectClick(cv::Vector where, cv::Mouse::Button button = cv::Mouse::LEFT_BUTTON) {
  cv::EventMouse event;
  event.setMouseAction(cv::CLICKED);
  event.setMouseButton(button);
  event.setMousePosition(where);
  cv::InputManager::getInstance().onEvent(&event);
}

/// Runs the actions given for a step when that step's event arrives, and
/// ends the game at `last_step` at the latest.
class Script : public cv::Object {
 public:
  explicit Script(int new_last_step) : last_step(new_last_step) {
    setType("Script");
    setSolidness(cv::SPECTRAL);
    registerInterest(cv::STEP_EVENT);
  }
  void at(int step, std::function<void()> action) { actions[step] = std::move(action); }
  int eventHandler(const cv::Event *event) override {
    if (event->getType() != cv::STEP_EVENT)
      return 0;
    const int step = static_cast<const cv::EventStep *>(event)->getStepCount();
    steps_seen = step;
    if (actions.count(step))
      actions[step]();
    if (step >= last_step)
      cv::GameManager::getInstance().setGameOver();
    return 1;
  }
  int steps_seen = 0;

 private:
  int last_step;
  std::map<int, std::function<void()>> actions;
};

class ExampleTest : public ::testing::Test {
 protected:
  /// Headless, unpaced (frame_time 0), so the loop runs as fast as it can.
  ExampleTest() : engine("headless:true,frame_time:0,random_seed:7,") {}
  void SetUp() override { ASSERT_EQ(engine.start(), 0); }
  void TearDown() override { engine.stop(); }

  /// Loads `name`-spr.txt from `sprite_dir` under the label `name`.
  static void loadSprite(const std::string &sprite_dir, const std::string &name) {
    ASSERT_EQ(cv::ResourceManager::getInstance().loadSprite(sprite_dir + "/" + name + "-spr.txt", name), 0);
  }

  /// A HUD counter labelled `label`, as the examples make them.
  static cv::ViewObject *counter(const std::string &label) {
    auto *view = new cv::ViewObject;
    view->setViewString(label);
    return view;
  }

  cvtest::TestEngine engine;
};

}  // namespace exampletest
