#include <gtest/gtest.h>

#include <cstdlib>

#include "Corvane.h"
#include "support/RecordingObject.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

namespace {

// Whether `text` starts with a time of day "HH:MM:SS".
bool startsWithTimeOfDay(const std::string &text) {
  if (text.size() < 8)
    return false;
  for (size_t i = 0; i < 8; i++) {
    const bool colon = i == 2 || i == 5;
    if (colon ? text[i] != ':' : !std::isdigit(static_cast<unsigned char>(text[i])))
      return false;
  }
  return true;
}

}  // namespace

TEST(LogManager, LineHoldsTimeFourColumnStepAndMessage) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(cv::LogManager::getInstance().writeLog("answer is %d", 42), 12);
  const std::string last = engine.lines().back();
  EXPECT_TRUE(startsWithTimeOfDay(last)) << last;
  EXPECT_EQ(last.substr(8), "    0 answer is 42");
}

TEST(LogManager, StepCountsWidenPastFourColumns) {
  TestEngine engine("headless:true,frame_time:0,");
  ASSERT_EQ(engine.start(), 0);
  cvtest::RecordingObject counter;
  counter.registerInterest("cv-step");
  counter.on_event = [](const cv::Event *event) {
    const int step = static_cast<const cv::EventStep *>(event)->getStepCount();
    if (step == 7 || step == 1234) {
      cv::LogManager::getInstance().writeLog("at step");
    }
    if (step == 1234)
      cv::GameManager::getInstance().setGameOver();
  };
  cv::GameManager::getInstance().run();
  std::vector<std::string> at_step;
  for (const std::string &line : engine.lines())
    if (line.size() > 9 && line.substr(line.size() - 7) == "at step")
      at_step.push_back(line.substr(9));
  ASSERT_EQ(at_step.size(), 2u);
  EXPECT_EQ(at_step[0], "   7 at step");
  EXPECT_EQ(at_step[1], "1234 at step");
}

TEST(LogManager, LevelledMessageAboveLevelWritesNothing) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  cv::LogManager &log_manager = cv::LogManager::getInstance();
  const size_t before = engine.lines().size();
  EXPECT_EQ(log_manager.writeLog(5, "hidden %d", 1), 0);
  EXPECT_EQ(engine.lines().size(), before);

  log_manager.setLogLevel(5);
  EXPECT_EQ(log_manager.getLogLevel(), 5);
  EXPECT_EQ(log_manager.writeLog(5, "shown"), 5);
  EXPECT_EQ(log_manager.writeLog(6, "still hidden"), 0);
  EXPECT_EQ(cvtest::messageOf(engine.lines().back()), "shown");
}

TEST(LogManager, ConfiguredLogLevelAppliesWhenTheLogStarts) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(cv::LogManager::getInstance().getLogLevel(), 5);
  EXPECT_TRUE(engine.logged("LogManager::startUp(): successfully started."));
  EXPECT_TRUE(engine.logged("GameManager::startUp(): frame time is 33"));
}

TEST(LogManager, EmptyLogVariableFailsStartUpOnStandardError) {
  TestEngine engine;
  setenv("CORVANE_LOG", "", 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(engine.start(), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(" LogManager::startup(): Warning! Unable to open file ''.\n"), std::string::npos) << err;
  EXPECT_NE(err.find(" Error starting log manager!\n"), std::string::npos) << err;
  EXPECT_FALSE(cv::LogManager::getInstance().isStarted());
  engine.stop();
}

TEST(LogManager, LinesOutsideTheOpenFileGoToStandardErrorWithPrefixes) {
  testing::internal::CaptureStderr();
  cv::LogManager::getInstance().writeLog("before start");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(startsWithTimeOfDay(err)) << err;
  EXPECT_EQ(err.substr(8), "    0 before start\n");

  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  engine.stop();
  testing::internal::CaptureStderr();
  cv::LogManager::getInstance().writeLog("after stop");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("    0 after stop\n"), std::string::npos);
  EXPECT_EQ(engine.messages().back(), "** Game engine stopped **");
}

TEST(LogManager, SecondStartUpWarnsAndFails) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(cv::LogManager::getInstance().startUp(), -1);
  EXPECT_EQ(engine.messages().back(), "LogManager::startup(): Warning! LogManager already started.");
}

TEST(LogManager, TimeStringIsTimeOfDay) {
  const std::string now = cv::getTimeString();
  EXPECT_EQ(now.size(), 8u);
  EXPECT_TRUE(startsWithTimeOfDay(now)) << now;
}

TEST(LogManager, LevelSetInCodeBeforeStartUpStaysUnlessTheConfigurationGivesOne) {
  cv::LogManager::getInstance().setLogLevel(5);
  TestEngine without("headless:true,frame_time:20,");
  ASSERT_EQ(without.start(), 0);
  EXPECT_EQ(cv::LogManager::getInstance().getLogLevel(), 5);
  EXPECT_TRUE(without.logged("LogManager::startUp(): successfully started."));
  without.stop();

  TestEngine with("headless:true,log_level:2,");
  ASSERT_EQ(with.start(), 0);
  EXPECT_EQ(cv::LogManager::getInstance().getLogLevel(), 2);
  with.stop();
}
