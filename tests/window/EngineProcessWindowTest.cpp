// The engine with a window as a whole process: without an audio device it
// says so once in the log and nothing reaches the terminal; SIGTERM ends it
// in order.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include "support/EngineProcess.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

TEST(EngineProcessWindow, WithoutAnAudioDeviceStartsAndStopsQuietly) {
  TestEngine engine(std::string("font_file:") + CORVANE_TEST_FONT + ",");
  cvtest::ChildProcess game = cvtest::runEngineProcess(engine, {"--stop-after", "3"}, {{"ALSOFT_DRIVERS", "none"}});
  const cvtest::ChildEnd end = game.wait(60);
  EXPECT_TRUE(end.exited);
  EXPECT_EQ(end.exit_status, 0);
  EXPECT_EQ(cvtest::engineErrorOutput(engine), "");
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(std::count(messages.begin(), messages.end(),
                       "AudioDevice::isAvailable(): Warning! No audio device could be opened (OpenAL has no audio "
                       "back end that opens a device). Playing without sound."),
            1);
  EXPECT_EQ(messages.back(), "** Game engine stopped **");
}

TEST(EngineProcessWindow, TerminateEndsTheGameWithACompleteLog) {
  TestEngine engine(std::string("font_file:") + CORVANE_TEST_FONT + ",log_level:1,");
  cvtest::ChildProcess game = cvtest::runEngineProcess(engine, {});
  ASSERT_TRUE(cvtest::waitForLogMessage(engine, "GameManager::run(): starting game loop"));
  game.signal(SIGTERM);
  const cvtest::ChildEnd end = game.wait(60);
  EXPECT_TRUE(end.exited);
  EXPECT_EQ(end.exit_status, 0);
  EXPECT_TRUE(engine.logged("GameManager::run(): Caught SIGTERM, ending the game."));
  EXPECT_TRUE(engine.logged("Display manager stopped"));
  EXPECT_EQ(engine.messages().back(), "** Game engine stopped **");
}

// An X server started without -noreset (plain `xvfb-run -a`) resets when
// its last client leaves; the engine must never leave it without one while
// the window library connects, or that library aborts the program.
TEST(EngineProcessWindow, StartsEveryTimeOnAServerThatResetsWhenItsLastClientLeaves) {
  const int STARTS = 10;
  for (int i = 0; i < STARTS; i++) {
    SCOPED_TRACE(i);
    TestEngine engine(std::string("font_file:") + CORVANE_TEST_FONT + ",log_level:1,");
    cvtest::ChildProcess game("/usr/bin/xvfb-run", {"-a", CORVANE_ENGINE_MAIN, "--stop-after", "2"}, {},
                              engine.directory() + "/stderr.txt");
    const cvtest::ChildEnd end = game.wait(60);
    ASSERT_TRUE(end.exited) << cvtest::engineErrorOutput(engine);
    ASSERT_EQ(end.exit_status, 0) << cvtest::engineErrorOutput(engine);
    EXPECT_TRUE(engine.logged("GameManager::run(): starting game loop"));
    EXPECT_EQ(engine.messages().back(), "** Game engine stopped **");
  }
}
