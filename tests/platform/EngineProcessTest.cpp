// The engine as a whole process on a real machine's edges: a display that
// does not answer, no audio device, Ctrl-C, SIGTERM or SIGHUP while it runs,
// and dying of a fatal signal or SIGKILL.

#include <gtest/gtest.h>

#include <sys/resource.h>

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
  EXPECT_EQ(end.exit_status, 1);
  EXPECT_EQ(cvtest::engineErrorOutput(engine), "engine: cannot start: DisplayManager::startUp(): Error! cannot connect to "
                                               "display '" + display + "' to open a window on.\n");
  EXPECT_EQ(engine.messagesFrom("DisplayManager::startUp(): Error! cannot connect to display '" + display +
                                "' to open a window on."),
            (std::vector<std::string>{
                "DisplayManager::startUp(): Error! cannot connect to display '" + display + "' to open a window on.",
                "DisplayManager::startUp(): Unable to allocate window!", "Error starting display manager!",
                "Error starting game manager!", "****************************************************",
                ENGINE_STOPPED}));
}

TEST(EngineProcess, InterruptTerminateOrHangUpEndsTheLoopAndShutsDownInOrder) {
  for (const auto &[signal_number, name] :
       {std::pair{SIGINT, "SIGINT"}, std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGHUP, "SIGHUP"}}) {
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

TEST(EngineProcess, FatalSignalWritesTheBufferedLogAndNamesTheSignalThenTakesItsDefaultAction) {
  // The default action may dump core: not from a test.
  const rlimit no_core{0, 0};
  ASSERT_EQ(setrlimit(RLIMIT_CORE, &no_core), 0);
  struct Case {
    const char *how;
    int signal_number;
    const char *text;
  };
  const Case cases[] = {
      {"SIGSEGV", SIGSEGV, "SIGSEGV (invalid memory access)"},
      {"SIGABRT", SIGABRT, "SIGABRT (abort)"},
      {"SIGFPE", SIGFPE, "SIGFPE (arithmetic error)"},
      {"SIGBUS", SIGBUS, "SIGBUS (bus error)"},
      {"SIGILL", SIGILL, "SIGILL (illegal instruction)"},
      {"null-write", SIGSEGV, "SIGSEGV (invalid memory access)"},
      {"abort", SIGABRT, "SIGABRT (abort)"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.how);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer takes real memory faults over to report them itself.
    if (std::string(c.how) == "null-write")
      continue;
#endif
    // Levelled lines with flushing off wait in the log's buffer.
    TestEngine engine("headless:true,log_level:1,");
    cvtest::ChildProcess game = cvtest::runEngineProcess(engine, {"--keep-buffer", "--fatal", c.how});
    const cvtest::ChildEnd end = game.wait(30);
    EXPECT_FALSE(end.exited);
    EXPECT_EQ(end.signal, c.signal_number);
    EXPECT_EQ(engine.messagesFrom("GameManager::run(): starting game loop"),
              (std::vector<std::string>{"GameManager::run(): starting game loop", "FatalAfterSteps: step 0",
                                        "FatalAfterSteps: step 1",
                                        std::string("LogManager::writeOnFatalSignal(): Error! Caught fatal signal ") +
                                            c.text + ", the program ends."}));
    // The last line has the time and step prefixes of every other line.
    const std::vector<std::string> lines = engine.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().substr(2, 1) + lines.back().substr(5, 1), "::");
    EXPECT_EQ(lines.back().substr(8, 6), "    1 ");
  }
}

TEST(EngineProcess, LinesWithoutALevelReachTheFileAtOnce) {
  TestEngine engine("headless:true,log_level:1,");
  cvtest::ChildProcess game = cvtest::runEngineProcess(engine, {"--keep-buffer"});
  // Nothing flushes the log, yet the banner is there while the game runs.
  ASSERT_TRUE(cvtest::waitForLogMessage(engine, "** Game engine started **"));
  game.signal(SIGKILL);
  const cvtest::ChildEnd end = game.wait(30);
  EXPECT_EQ(end.signal, SIGKILL);
  std::vector<std::string> banner = engine.messagesFrom("****************************************************");
  banner.resize(std::min<size_t>(banner.size(), 4));
  EXPECT_EQ(banner,
            (std::vector<std::string>{"****************************************************", "** Corvane version 4.15 **",
                                      "** Game engine started **",
                                      "****************************************************"}));
}
