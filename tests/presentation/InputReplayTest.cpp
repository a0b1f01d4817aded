// Recording a game's input and replaying it: what a recording holds, how a
// replay sends it, and how a replay that drifts from its recording says so.

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Corvane.h"
#include "presentation/input/RecordingInput.h"
#include "support/RecordingObject.h"
#include "support/TestEngine.h"

namespace {

std::string worldLine(int step, cv::WorldDigest world) {
  char line[64];
  std::snprintf(line, sizeof line, "%d world %d %08" PRIx32, step, world.objects, world.digest);
  return line;
}

std::string digestText(cv::WorldDigest world) {
  char text[64];
  std::snprintf(text, sizeof text, "%d objects (digest %08" PRIx32 ")", world.objects, world.digest);
  return text;
}

std::string readFile(const std::string &path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class InputReplayTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(engine.start(), 0); }
  void TearDown() override { engine.stop(); }

  // Writes `lines` after a header with seed 5 and an empty configuration.
  std::string recording(const std::string &lines) {
    const std::string path = engine.directory() + "/game.rec";
    cvtest::writeFile(path, "corvane-recording 1\nseed 5\nconfig \n" + lines);
    return path;
  }

  cvtest::TestEngine engine;
};

// An input source that sends what a test gives it, as a medium would.
class ScriptedInput : public cv::InputSource {
 public:
  std::vector<std::function<void(const cv::InputDispatch &)>> next;  // sent at the next getInput

  bool getInput(const cv::InputDispatch &dispatch) override {
    for (const auto &send : next) send(dispatch);
    next.clear();
    return true;
  }
  bool isKeyHeld(cv::Keyboard::Key) const override { return false; }
  bool isButtonHeld(cv::Mouse::Button) const override { return false; }
  cv::Vector getMousePosition() const override { return cv::Vector(); }
  std::vector<int> takeKeyPresses() override { return {}; }
};

TEST_F(InputReplayTest, RecordedInputAndWorldReadBackAndReplayWithoutDrift) {
  const std::string path = engine.directory() + "/made.rec";
  auto recorder = std::make_unique<cv::InputRecorder>();
  ASSERT_EQ(recorder->open(path, 42, cv::Config::getInstance().getConfigText()), 0);
  auto scripted = std::make_unique<ScriptedInput>();
  ScriptedInput &player = *scripted;
  cv::RecordingInput recording(std::move(scripted), std::move(recorder));
  auto *listener = new cvtest::RecordingObject;
  listener->registerInterest(cv::KEYBOARD_EVENT);
  player.next.push_back([](const cv::InputDispatch &dispatch) {
    cv::EventKeyboard key;
    key.setKey(cv::Keyboard::A);
    key.setKeyboardAction(cv::KEY_PRESSED);
    EXPECT_EQ(dispatch(&key), 1);
    cv::EventMouse mouse;
    mouse.setMouseAction(cv::MOVED);
    mouse.setMousePosition(cv::Vector(3.5f, 0.1f));
    EXPECT_EQ(dispatch(&mouse), 0);
  });
  const cv::WorldDigest world = cv::digestWorld();
  cv::InputManager &input = cv::InputManager::getInstance();
  const auto dispatch = [&input](const cv::Event *event) { return input.onEvent(event); };
  EXPECT_TRUE(recording.getInput(dispatch));
  // What the game sends itself is not the player's: it is not recorded.
  cv::EventKeyboard own;
  own.setKey(cv::Keyboard::B);
  own.setKeyboardAction(cv::KEY_PRESSED);
  EXPECT_EQ(input.onEvent(&own), 1);
  recording.close(0);
  EXPECT_TRUE(engine.logged("InputRecorder::open(): Recording input to '" + path + "'."));
  EXPECT_TRUE(engine.logged("InputRecorder::close(): Recorded 1 steps to '" + path + "'."));

  const std::string text = readFile(path);
  EXPECT_EQ(text.rfind("corvane-recording 1\nseed 42\nconfig headless%3Atrue%2C\n0 world " +
                           worldLine(0, world).substr(8) + "\n", 0), 0u) << text;
  EXPECT_NE(text.find("\n0 keyboard 0 " + std::to_string(cv::Keyboard::A) + " 1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n0 mouse 2 -1 3.5 0.1 0\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("keyboard 0 " + std::to_string(cv::Keyboard::B) + " "), std::string::npos) << text;

  cv::InputReplayer replayer;
  ASSERT_EQ(replayer.open(path), 0);
  EXPECT_EQ(replayer.getSeed(), 42);
  EXPECT_EQ(replayer.getConfigText(), "headless:true,");
  EXPECT_EQ(replayer.getLastStep(), 0);
  listener->received.clear();
  replayer.playStep(0, world, input);
  EXPECT_EQ(listener->received.size(), 1u) << "the recorded key press, sent again";
  replayer.finish(0, cv::digestWorld());
  EXPECT_TRUE(engine.logged("InputReplayer::finish(): Replay of '" + path +
                            "' matched its recording: 1 steps, 1 objects at the end."));
}

TEST(InputReplay, TheGamesOwnEventsReachItsObjectsDuringAReplay) {
  cvtest::TestEngine engine;
  const std::string path = engine.directory() + "/long.rec";
  cvtest::writeFile(path, "corvane-recording 1\nseed 5\nconfig \nend 1000 0 00000000\n");
  setenv("CORVANE_REPLAY", path.c_str(), 1);
  const int started = engine.start();
  unsetenv("CORVANE_REPLAY");
  ASSERT_EQ(started, 0);
  ASSERT_TRUE(cv::InputManager::getInstance().isReplaying());
  auto *listener = new cvtest::RecordingObject;
  listener->registerInterest(cv::KEYBOARD_EVENT);
  cv::EventKeyboard own;
  own.setKey(cv::Keyboard::B);
  own.setKeyboardAction(cv::KEY_PRESSED);
  EXPECT_EQ(cv::InputManager::getInstance().onEvent(&own), 1);
  EXPECT_EQ(listener->received, std::vector<std::string>{cv::KEYBOARD_EVENT});
  engine.stop();
}

TEST_F(InputReplayTest, ADifferentWorldIsADriftNamedWithItsStep) {
  const cv::WorldDigest now = cv::digestWorld();
  const cv::WorldDigest other{now.objects + 3, now.digest ^ 0xdeadbeefu};
  const std::string path = recording(worldLine(0, now) + "\n" + worldLine(1, other) + "\n" + worldLine(2, other) +
                                     "\nend 2 " + worldLine(0, now).substr(8) + "\n");
  cv::InputReplayer replayer;
  ASSERT_EQ(replayer.open(path), 0);
  for (int step = 0; step <= 2; step++)
    replayer.playStep(step, cv::digestWorld(), cv::InputManager::getInstance());
  EXPECT_TRUE(cv::GameManager::getInstance().getGameOver()) << "the recording's last step ends the game";
  replayer.finish(2, cv::digestWorld());
  EXPECT_TRUE(engine.logged("InputReplayer::playStep(): Error! Replay drifted at step 1: " + digestText(now) +
                            ", recorded " + digestText(other) + "."));
  EXPECT_TRUE(engine.logged("InputReplayer::finish(): Error! Replay of '" + path +
                            "' drifted from its recording 2 times."));
}

TEST_F(InputReplayTest, AnEventReachingOtherObjectsOrAnEarlyEndIsADrift) {
  const std::string path = recording("3 keyboard 0 1 1\n3 mouse 0 0 2 2 2\nend 9 0 00000000\n");
  cv::InputReplayer replayer;
  ASSERT_EQ(replayer.open(path), 0);
  auto *listener = new cvtest::RecordingObject;
  listener->registerInterest(cv::KEYBOARD_EVENT);
  replayer.playStep(3, cv::digestWorld(), cv::InputManager::getInstance());
  replayer.finish(5, cv::digestWorld());
  EXPECT_EQ(listener->received.size(), 1u);
  EXPECT_TRUE(engine.logged("InputReplayer::playStep(): Error! Replay drifted at step 3: mouse event reached 0 "
                            "objects, recorded 2."));
  EXPECT_TRUE(engine.logged("InputReplayer::finish(): Error! Replay of '" + path +
                            "' drifted from its recording 2 times."));
}

TEST_F(InputReplayTest, ABrokenRecordingIsRefusedWithItsLine) {
  struct Case {
    const char *text;
    const char *message;  // after "InputReplayer::open(): Error! '<file>'"
  } cases[] = {
      {"not a recording\n", " is not a recording."},
      {"corvane-recording 1\nseed x\nconfig \n", " has no seed and configuration."},
      {"corvane-recording 1\nseed 1\nconfig \n0 world 1 zz\nend 0 0 00000000\n", " line 4: malformed or missing end."},
      {"corvane-recording 1\nseed 1\nconfig \n5 world 0 00000000\n4 world 0 00000000\n",
       " line 5: malformed or missing end."},
      {"corvane-recording 1\nseed 1\nconfig \n0 mouse 0 0 nan 1 0\n", " line 4: malformed or missing end."},
      {"corvane-recording 1\nseed 1\nconfig \n0 world 0 00000000\n", " line 4: malformed or missing end."},
  };
  const std::string path = engine.directory() + "/broken.rec";
  for (const Case &c : cases) {
    cvtest::writeFile(path, c.text);
    cv::InputReplayer replayer;
    EXPECT_EQ(replayer.open(path), -1) << c.text;
    EXPECT_TRUE(engine.logged("InputReplayer::open(): Error! '" + path + "'" + c.message)) << c.text;
  }
}

}  // namespace
