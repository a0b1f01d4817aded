#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Corvane.h"
#include "support/RecordingObject.h"
#include "support/TestEngine.h"

using cv::Keyboard::Key;
using cvtest::RecordingObject;
using cvtest::TestEngine;

namespace {

struct KeyCase {
  int sfml_code;  // the window library's key code
  int key;        // the engine key expected
};

// Window-library codes with the engine key each must give: every single
// key, both ends of each block, the keys games use, and unnamed keys.
const KeyCase KEY_CASES[] = {
    {57, Key::SPACE},
    {58, Key::RETURN},
    {36, Key::ESCAPE},
    {60, Key::TAB},
    {71, Key::LEFT},
    {72, Key::RIGHT},
    {73, Key::UP},
    {74, Key::DOWN},
    {100, Key::PAUSE},
    {68, Key::MINUS},
    {67, Key::PLUS},
    {54, Key::TILDE},
    {50, Key::PERIOD},
    {49, Key::COMMA},
    {52, Key::SLASH},
    {55, Key::EQUAL},
    {53, Key::BACKSLASH},
    {69, Key::MULTIPLY},
    {51, Key::QUOTE},
    {48, Key::SEMICOLON},
    {37, Key::LEFT_CONTROL},
    {41, Key::RIGHT_CONTROL},
    {38, Key::LEFT_SHIFT},
    {42, Key::RIGHT_SHIFT},
    {26, Key::NUM0},
    {59, Key::BACKSPACE},
    // blocks
    {0, 36},
    {25, 61},
    {27, 62},
    {35, 70},
    {85, 24},
    {94, 33},
    {96, 35},
    // the game's keys
    {15, 51},
    {16, 52},
    {22, 58},
    {18, 54},
    {3, 39},
    // keys without an engine name: code + 97
    {-1, 96},
    {39, 136},
    {40, 137},
    {43, 140},
    {44, 141},
    {45, 142},
    {46, 143},
    {47, 144},
    {56, 153},
    {61, 158},
    {62, 159},
    {63, 160},
    {64, 161},
    {65, 162},
    {66, 163},
    {70, 167},
    {75, 172},
    {84, 181},
    {97, 194},
    {99, 196},
};

}  // namespace

TEST(InputKeys, LibraryCodesMapToEngineKeys) {
  for (const KeyCase &c : KEY_CASES)
    EXPECT_EQ(cv::keyFromSFML(c.sfml_code), c.key) << "library code " << c.sfml_code;
}

TEST(InputKeys, EveryNamedKeyHasExactlyOneLibraryCode) {
  // Each engine key maps back to a code that maps to it; unnamed values have none.
  for (int key = Key::SPACE; key <= Key::BACKSPACE; key++) {
    const int code = cv::sfmlKeyOf(static_cast<Key>(key));
    EXPECT_NE(code, -1) << "key " << key;
    EXPECT_EQ(cv::keyFromSFML(code), key) << "key " << key;
  }
  int named = 0;
  for (int code = -1; code <= 100; code++)
    if (cv::keyFromSFML(code) <= Key::BACKSPACE)
      named++;
  EXPECT_EQ(named, Key::BACKSPACE + 1);
  EXPECT_EQ(cv::sfmlKeyOf(Key::KEY_UNDEFINED), -1);
  EXPECT_EQ(cv::sfmlKeyOf(static_cast<Key>(161)), -1);
}

TEST(InputMouse, ClickIsReportedWithTheButtonOfItsOwnEvent) {
  // The window library numbers its buttons 0 left, 1 right, 2 middle, then the
  // two extra buttons; the buttons held when the event is read play no part.
  const std::pair<int, cv::Mouse::Button> cases[] = {{0, cv::Mouse::LEFT_BUTTON},
                                                     {1, cv::Mouse::RIGHT_BUTTON},
                                                     {2, cv::Mouse::MIDDLE_BUTTON},
                                                     {3, cv::Mouse::MOUSE_BUTTON_UNDEFINED},
                                                     {4, cv::Mouse::MOUSE_BUTTON_UNDEFINED},
                                                     {-1, cv::Mouse::MOUSE_BUTTON_UNDEFINED}};
  for (const auto &[sfml_button, expected] : cases)
    EXPECT_EQ(cv::clickedButton(sfml_button), expected) << "button " << sfml_button;
}

TEST(InputEvents, StartUndefinedWithTheirTypes) {
  const cv::EventKeyboard keyboard;
  EXPECT_EQ(keyboard.getType(), "cv-keyboard");
  EXPECT_EQ(keyboard.getKey(), Key::KEY_UNDEFINED);
  EXPECT_EQ(keyboard.getKeyboardAction(), cv::KEYBOARD_ACTION_UNDEFINED);
  const cv::EventMouse mouse;
  EXPECT_EQ(mouse.getType(), "cv-mouse");
  EXPECT_EQ(mouse.getMouseAction(), cv::MOUSE_ACTION_UNDEFINED);
  EXPECT_EQ(mouse.getMouseButton(), cv::Mouse::MOUSE_BUTTON_UNDEFINED);
  EXPECT_EQ(mouse.getMousePosition(), cv::Vector(0, 0));
}

TEST(InputManager, HeadlessStartsAndReadsNothing) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  const std::vector<std::string> started =
      engine.messagesFrom("InputManager::startUp(): not doing input since in headless mode.");
  ASSERT_GE(started.size(), 2u);
  EXPECT_EQ(started[1], "InputManager::startUp(): successfully started.");
  cv::InputManager &input_manager = cv::InputManager::getInstance();
  EXPECT_TRUE(input_manager.isStarted());
  {
    RecordingObject listener;
    ASSERT_EQ(listener.registerInterest("cv-keyboard"), 0);
    ASSERT_EQ(listener.registerInterest("cv-mouse"), 0);
    const size_t lines = engine.lines().size();
    input_manager.getInput();
    EXPECT_TRUE(listener.received.empty());
    EXPECT_EQ(engine.lines().size(), lines);
  }
  engine.stop();
  EXPECT_FALSE(input_manager.isStarted());
  EXPECT_TRUE(engine.logged("InputManager::shutDown(): successfully stopped."));
  EXPECT_FALSE(engine.logged("InputManager::shutDown(): Keyboard repeat enabled."));
}

TEST(InputManager, RefusesToStartBeforeTheDisplay) {
  TestEngine engine("headless:false,");
  cv::Config::getInstance().loadConfig("");
  ASSERT_EQ(cv::LogManager::getInstance().startUp(), 0);
  cv::LogManager::getInstance().setFlush(true);
  EXPECT_EQ(cv::InputManager::getInstance().startUp(), -1);
  EXPECT_FALSE(cv::InputManager::getInstance().isStarted());
  EXPECT_EQ(engine.messages().back(),
            "InputManager::startUp(): Error starting InputManager. DisplayManager must be started first.");
}

TEST(InputManager, ReadingWithoutAWindowIsAnErrorEveryTime) {
  TestEngine engine("headless:false,");
  cv::Config::getInstance().loadConfig("");
  ASSERT_EQ(cv::LogManager::getInstance().startUp(), 0);
  cv::LogManager::getInstance().setFlush(true);
  cv::InputManager::getInstance().getInput();
  cv::InputManager::getInstance().getInput();
  EXPECT_EQ(engine.messages(),
            (std::vector<std::string>{"InputManager::getInput(): DisplayManager unexpectedly returned null window!",
                                      "InputManager::getInput(): DisplayManager unexpectedly returned null window!"}));
}

TEST(InputManager, KeyboardEventFromALibraryCodeIsTracedAtLevel15) {
  TestEngine engine("headless:true,log_level:15,");
  ASSERT_EQ(engine.start(), 0);
  const cv::EventKeyboard a = cv::InputManager::getInstance().toEventKeyboard(0);
  EXPECT_EQ(a.getKey(), Key::A);
  EXPECT_EQ(a.getKeyboardAction(), cv::KEYBOARD_ACTION_UNDEFINED);
  EXPECT_EQ(engine.messages().back(), "InputManager::toEventKeyboard(): Keyboard event '$' (0)");
  const cv::EventKeyboard home = cv::InputManager::getInstance().toEventKeyboard(64);
  EXPECT_EQ(home.getKey(), 161);
}
