#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

TEST(Pause, ListensToTheKeyboardAndSaysHowToResume) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  cv::Pause pause(cv::Keyboard::F10);
  EXPECT_EQ(engine.messages().back(), "Pause::Pause(): Pause enabled.  Press any other key to resume.");
  EXPECT_EQ(pause.getType(), "Pause");
  EXPECT_EQ(pause.getSolidness(), cv::SPECTRAL);
  cv::EventKeyboard other;
  other.setKey(cv::Keyboard::A);
  other.setKeyboardAction(cv::KEY_PRESSED);
  EXPECT_EQ(cv::InputManager::getInstance().onEvent(&other), 1);
}

TEST(Pause, OtherEventsAndOtherKeysDoNotPause) {
  TestEngine engine("headless:true,log_level:10,");
  ASSERT_EQ(engine.start(), 0);
  cv::Pause pause(cv::Keyboard::F10);
  const cv::EventStep step;
  EXPECT_EQ(pause.eventHandler(&step), 0);
  cv::EventMouse mouse;
  mouse.setMouseAction(cv::CLICKED);
  EXPECT_EQ(pause.eventHandler(&mouse), 0);
  cv::EventKeyboard other;
  other.setKey(cv::Keyboard::F11);
  other.setKeyboardAction(cv::KEY_PRESSED);
  EXPECT_EQ(pause.eventHandler(&other), 1);
  EXPECT_EQ(engine.messagesFrom("Pause::Pause(): Pause enabled.  Press any other key to resume."),
            (std::vector<std::string>{"Pause::Pause(): Pause enabled.  Press any other key to resume.",
                                      "Pause::eventHandler(): Got event", "Pause::eventHandler(): Got event",
                                      "Pause::eventHandler(): Got event"}));
}

TEST(Pause, RefusesWithoutAWindow) {
  TestEngine engine("headless:true,log_level:1,");
  ASSERT_EQ(engine.start(), 0);
  cv::Pause pause(cv::Keyboard::F10);
  cv::EventKeyboard key;
  key.setKey(cv::Keyboard::F10);
  key.setKeyboardAction(cv::KEY_PRESSED);
  EXPECT_EQ(pause.eventHandler(&key), 0);
  const std::vector<std::string> messages = engine.messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2], "Pause::eventHandler(): Game paused.");
  EXPECT_EQ(messages.back(), "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause.");
}

TEST(Pause, HeldAndReleasedEventsOfItsKeyDoNotPause) {
  TestEngine engine("headless:true,log_level:1,");
  ASSERT_EQ(engine.start(), 0);
  cv::Pause pause(cv::Keyboard::F10);
  for (cv::EventKeyboardAction action : {cv::KEY_RELEASED, cv::KEY_DOWN}) {
    SCOPED_TRACE(action);
    cv::EventKeyboard key;
    key.setKey(cv::Keyboard::F10);
    key.setKeyboardAction(action);
    EXPECT_EQ(pause.eventHandler(&key), 1);
  }
  EXPECT_FALSE(engine.logged("Pause::eventHandler(): Game paused."));
}
