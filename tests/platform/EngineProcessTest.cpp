// The engine as a whole process on a real machine's edges: a display that
// does not answer, no audio device, and Ctrl-C or SIGTERM while it runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "support/EngineProcess.h"
#include "support/TestEngine.h"
#include "support/WavFile.h"

using cvtest::TestEngine;

namespace {

const std::string ENGINE_STOPPED = "** Game engine stopped **";

// A display number nothing listens on, as over ssh without X forwarding.
std::string silentDisplay() {
  for (int number = 97; number < 200; number++)
    if (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)))
      return ":" + std::to_string(number);
  return "";
}

long countOf(const std::vector<std::string> &messages, const std::string &message) {
  return std::count(messages.begin(), messages.end(), message);
}

}  // namespace

TEST(EngineProcess, WindowOnADisplayThatDoesNotAnswerFailsStartUpCleanly) {
  const std::string display = silentDisplay();
  ASSERT_FALSE(display.empty());
  TestEngine engine(std::string("font_file:") + CORVANE_TEST_FONT + ",");
  cvtest::ChildProcess game = cvtest::runEngineProcess(engine, {}, {{"DISPLAY", display}});
  const cvtest::ChildEnd end = game.wait(30);
  EXPECT_TRUE(end.exited);
  EXPECT_EQ(end.exit_status, 0);
  EXPECT_EQ(cvtest::engineErrorOutput(engine), "");
  EXPECT_EQ(engine.messagesFrom("DisplayManager::startUp(): Error! cannot connect to display '" + display +
                                "' to open a window on."),
            (std::vector<std::string>{
                "DisplayManager::startUp(): Error! cannot connect to display '" + display + "' to open a window on.",
                "DisplayManager::startUp(): Unable to allocate window!", "Error starting display manager!",
                "Error starting game manager!", "****************************************************",
                ENGINE_STOPPED}));
}

TEST(EngineProcess, InterruptOrTerminateEndsTheLoopAndShutsDownInOrder) {
  for (const auto &[signal_number, name] : {std::pair{SIGINT, "SIGINT"}, std::pair{SIGTERM, "SIGTERM"}}) {
    SCOPED_TRACE(name);
    TestEngine engine("headless:true,log_level:1,");
    cvtest::ChildProcess game = cvtest::runEngineProcess(engine, {});
    ASSERT_TRUE(cvtest::waitForLogMessage(engine, "GameManager::run(): starting game loop"));
    game.signal(signal_number);
    const cvtest::ChildEnd end = game.wait(30);
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.exit_status, 0);
    EXPECT_EQ(engine.messagesFrom(std::string("GameManager::run(): Caught ") + name + ", ending the game."),
              (std::vector<std::string>{std::string("GameManager::run(): Caught ") + name + ", ending the game.",
                                        "GameManager::run(): end of game loop", "Path manager stopped",
                                        "World manager stopped", "Resource manager stopped", "Input manager stopped",
                                        "DisplayManager::shutDown(): successfully stopped.", "Display manager stopped",
                                        "****************************************************", ENGINE_STOPPED}));
  }
}

TEST(EngineProcess, SecondInterruptDuringShutDownEndsTheProgramAtOnce) {
  TestEngine engine("headless:true,log_level:1,");
  cvtest::ChildProcess game = cvtest::runEngineProcess(engine, {"--interrupt-in-shutdown"});
  ASSERT_TRUE(cvtest::waitForLogMessage(engine, "GameManager::run(): starting game loop"));
  game.signal(SIGTERM);
  const cvtest::ChildEnd end = game.wait(30);
  EXPECT_FALSE(end.exited);
  EXPECT_EQ(end.signal, SIGINT);
  EXPECT_TRUE(engine.logged("GameManager::run(): end of game loop"));
  EXPECT_TRUE(engine.logged("Path manager stopped"));
  EXPECT_FALSE(engine.logged("World manager stopped"));
  EXPECT_FALSE(engine.logged(ENGINE_STOPPED));
}

TEST(EngineProcess, WithoutAnAudioDeviceSaysSoOnceAndPlaysOnInSilence) {
  TestEngine engine("headless:true,log_level:1,");
  const std::string wav = engine.directory() + "/beep.wav";
  cvtest::writeToneWav(wav, 50);
  // OpenAL has no back end of that name, so it opens no device.
  cvtest::ChildProcess game =
      cvtest::runEngineProcess(engine, {"--load", wav, "--stop-after", "2"}, {{"ALSOFT_DRIVERS", "none"}});
  const cvtest::ChildEnd end = game.wait(30);
  EXPECT_TRUE(end.exited);
  EXPECT_EQ(end.exit_status, 0);
  EXPECT_EQ(cvtest::engineErrorOutput(engine), "");
  const std::vector<std::string> messages = engine.messages();
  const std::string no_device =
      "AudioDevice::isAvailable(): Warning! No audio device could be opened (OpenAL has no audio back end that "
      "opens a device). Playing without sound.";
  EXPECT_EQ(countOf(messages, no_device), 1);
  // No sound or music object was made, so none complained through the library.
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [](const std::string &message) { return message.rfind("SFML:", 0) == 0; }),
            0);
  EXPECT_EQ(engine.messagesFrom(no_device).at(1), "Resource manager started.");
  EXPECT_EQ(countOf(messages, "ResourceManager::loadSound(): Error! Cannot load sound from file '" + wav + "'."), 1);
  EXPECT_EQ(countOf(messages, "ResourceManager::loadmusic(): Error! Cannot load music from file '" + wav + "'."), 1);
  EXPECT_EQ(messages.back(), ENGINE_STOPPED);
}
