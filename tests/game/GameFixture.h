#pragma once
// A headless engine with a fixed seed for the game's rule tests, and small
// helpers to drive the world step by step and look objects up.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

namespace gametest {

class GameTest : public ::testing::Test {
 protected:
  explicit GameTest(const std::string &config = "headless:true,random_seed:7,") : engine(config) {}
  void SetUp() override { ASSERT_EQ(engine.start(), 0); }
  void TearDown() override { engine.stop(); }

  /// Runs `count` game steps as the loop does: the step event, then the
  /// world's update with its movement and deletions.
  void step(int count = 1) {
    for (int i = 0; i < count; i++) {
      step_count++;
      const cv::EventStep event(step_count);
      cv::GameManager::getInstance().onEvent(&event);
      world().update();
    }
  }

  static cv::WorldManager &world() { return cv::WorldManager::getInstance(); }

  /// Every object of class T in the world, active or not.
  template <typename T>
  static std::vector<T *> all() {
    std::vector<T *> found;
    const cv::ObjectList list = world().getAllObjects(true);
    for (cv::ObjectListIterator li(&list); !li.isDone(); li.next())
      if (auto *object = dynamic_cast<T *>(li.currentObject()))
        found.push_back(object);
    return found;
  }

  /// Number of objects of `type` in the world, active or not.
  static int count(const std::string &type) {
    int n = 0;
    const cv::ObjectList list = world().getAllObjects(true);
    for (cv::ObjectListIterator li(&list); !li.isDone(); li.next())
      n += li.currentObject()->getType() == type;
    return n;
  }

  /// Whether two vectors agree to within rounding.
  static bool near(cv::Vector a, cv::Vector b) {
    return std::fabs(a.getX() - b.getX()) < 1e-5f && std::fabs(a.getY() - b.getY()) < 1e-5f;
  }

  /// How often `message` was logged.
  int timesLogged(const std::string &message) const {
    int n = 0;
    for (const std::string &logged : engine.messages())
      n += logged == message;
    return n;
  }

  /// Sends a keyboard event for `key` to `object`.
  static void key(cv::Object *object, cv::Keyboard::Key key, cv::EventKeyboardAction action = cv::KEY_PRESSED) {
    cv::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(action);
    object->eventHandler(&event);
  }

  /// Sends a mouse event to `object`.
  static void mouse(cv::Object *object, cv::EventMouseAction action, cv::Mouse::Button button,
                    cv::Vector where = cv::Vector()) {
    cv::EventMouse event;
    event.setMouseAction(action);
    event.setMouseButton(button);
    event.setMousePosition(where);
    object->eventHandler(&event);
  }

  /// Writes a one-frame sprite file of `width` x `height` cells and loads it under `label`.
  void loadBlock(const std::string &label, int width, int height, int frames = 1, int slowdown = 1) {
    std::string text = "<HEADER>\nframes " + std::to_string(frames) + "\nwidth " + std::to_string(width) +
                       "\nheight " + std::to_string(height) + "\ncolor green\nslowdown " +
                       std::to_string(slowdown) + "\n</HEADER>\n<BODY>\n";
    for (int f = 0; f < frames; f++) {
      for (int row = 0; row < height; row++)
        text += std::string(static_cast<size_t>(width), 'x') + "\n";
      text += "end\n";
    }
    text += "</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";
    const std::string path = engine.directory() + "/" + label + ".txt";
    cvtest::writeFile(path, text);
    ASSERT_EQ(cv::ResourceManager::getInstance().loadSprite(path, label), 0);
  }

  cvtest::TestEngine engine;  ///< the headless engine and its log
  int step_count = 0;         ///< steps run so far
};

}  // namespace gametest
