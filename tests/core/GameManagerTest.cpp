#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Corvane.h"
#include "support/RecordingObject.h"
#include "support/TestEngine.h"

using cvtest::RecordingObject;
using cvtest::TestEngine;

namespace {

// The messages of `all` that are among `wanted`, in log order.
std::vector<std::string> only(const std::vector<std::string> &all, const std::vector<std::string> &wanted) {
  std::vector<std::string> result;
  for (const std::string &message : all)
    if (std::find(wanted.begin(), wanted.end(), message) != wanted.end())
      result.push_back(message);
  return result;
}

// Ends the game loop from a step handler at step `last`.
void stopAtStep(RecordingObject &object, int last, std::vector<int> *steps = nullptr) {
  object.on_event = [last, steps](const cv::Event *event) {
    const int step = static_cast<const cv::EventStep *>(event)->getStepCount();
    if (steps)
      steps->push_back(step);
    if (step == last)
      cv::GameManager::getInstance().setGameOver();
  };
}

}  // namespace

TEST(GameManager, StartsAndStopsTheManagersInOrder) {
  TestEngine engine("headless:true,log_level:1,");
  ASSERT_EQ(engine.start(), 0);
  engine.stop();
  const std::vector<std::string> messages = engine.messages();
  ASSERT_GE(messages.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(messages.begin(), messages.begin() + 5),
            (std::vector<std::string>{"****************************************************",
                                      "** Corvane version 4.15 **", "** Game engine started **",
                                      "****************************************************", "Log Manager started."}));
  EXPECT_EQ(messages[5], "-----------------------------------");
  EXPECT_EQ(only(messages, {"Display manager started.", "Input manager started.", "Network manager started.",
                            "Resource manager started.", "World manager started.", "Path manager started."}),
            (std::vector<std::string>{"Display manager started.", "Input manager started.",
                                      "Resource manager started.", "World manager started.",
                                      "Path manager started."}));
  EXPECT_EQ(only(messages, {"Path manager stopped", "World manager stopped", "Resource manager stopped",
                            "Network manager stopped", "Input manager stopped", "Display manager stopped",
                            "** Game engine stopped **"}),
            (std::vector<std::string>{"Path manager stopped", "World manager stopped", "Resource manager stopped",
                                      "Input manager stopped", "Display manager stopped",
                                      "** Game engine stopped **"}));
  EXPECT_EQ(messages[messages.size() - 2], "****************************************************");
  EXPECT_EQ(messages.back(), "** Game engine stopped **");
  EXPECT_FALSE(cv::GameManager::getInstance().isStarted());
  EXPECT_FALSE(cv::LogManager::getInstance().isStarted());
}

TEST(GameManager, SecondStartUpSaysSoAndSucceeds) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(cv::GameManager::getInstance().startUp(), 0);
  EXPECT_EQ(engine.messages().back(), "GameManager::startup(): Already started.");
}

TEST(GameManager, ConfigurationWarningsReachStandardErrorAndTheLog) {
  TestEngine engine("headless:true,\nframe_tme:20,\n");
  const std::string warning = "Config::loadConfig(): Warning! line 2: unknown key 'frame_tme' (did you mean 'frame_time'?)";
  testing::internal::CaptureStderr();
  ASSERT_EQ(engine.start(), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(warning), std::string::npos);
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(std::count(messages.begin(), messages.end(), warning), 1);
}

TEST(GameManager, SizesTheWorldToTheDisplayGrid) {
  TestEngine engine("headless:true,window_horizontal_chars:100,window_vertical_chars:30,");
  ASSERT_EQ(engine.start(), 0);
  const cv::WorldManager &world = cv::WorldManager::getInstance();
  EXPECT_EQ(world.getBoundary(), cv::Box(cv::Vector(0, 0), 100, 30));
  EXPECT_EQ(world.getView(), cv::Box(cv::Vector(0, 0), 100, 30));
  EXPECT_EQ(world.getViewSlack(), cv::Vector(1.0f / 3.0f, 1.0f / 3.0f));
}

TEST(GameManager, StepEventsReachOnlyActiveRegisteredObjects) {
  TestEngine engine("headless:true,frame_time:0,");
  ASSERT_EQ(engine.start(), 0);
  auto *listener = new RecordingObject;
  auto *inactive = new RecordingObject;
  auto *deaf = new RecordingObject;
  std::vector<int> steps;
  stopAtStep(*listener, 2, &steps);
  listener->registerInterest("cv-step");
  inactive->registerInterest("cv-step");
  inactive->setActive(false);

  cv::GameManager::getInstance().run();
  EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(inactive->received.empty());
  EXPECT_TRUE(deaf->received.empty());
  // The loop ends after the iteration that set game over, counting it.
  EXPECT_EQ(cv::GameManager::getInstance().getStepCount(), 3);
  engine.stop();
}

TEST(GameManager, DeletedListenerGetsNoFurtherSteps) {
  TestEngine engine("headless:true,frame_time:0,");
  ASSERT_EQ(engine.start(), 0);
  auto *stopper = new RecordingObject;
  stopAtStep(*stopper, 3);
  stopper->registerInterest("cv-step");
  auto *doomed = new RecordingObject;
  doomed->registerInterest("cv-step");
  cv::WorldManager::getInstance().markForDelete(doomed);
  const cv::EventStep step(0);
  EXPECT_EQ(cv::GameManager::getInstance().onEvent(&step), 2);
  cv::WorldManager::getInstance().update();  // destroys the marked object
  EXPECT_EQ(cv::GameManager::getInstance().onEvent(&step), 1);
  engine.stop();
}

TEST(GameManager, ZeroFrameTimeNeverReportsFallingBehind) {
  TestEngine engine("headless:true,frame_time:0,");
  ASSERT_EQ(engine.start(), 0);
  auto *slow = new RecordingObject;
  slow->registerInterest("cv-step");
  stopAtStep(*slow, 4);
  slow->on_event = [inner = slow->on_event](const cv::Event *event) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    inner(event);
  };
  cv::GameManager::getInstance().run();
  for (const std::string &message : engine.messages())
    EXPECT_EQ(message.find("Can't keep up!"), std::string::npos) << message;
  engine.stop();
}

TEST(GameManager, OverrunIterationsAfterTheFirstReportFallingBehind) {
  TestEngine engine("headless:true,frame_time:5,");
  ASSERT_EQ(engine.start(), 0);
  auto *slow = new RecordingObject;
  slow->registerInterest("cv-step");
  stopAtStep(*slow, 2);
  slow->on_event = [inner = slow->on_event](const cv::Event *event) {
    std::this_thread::sleep_for(std::chrono::milliseconds(12));
    inner(event);
  };
  cv::GameManager::getInstance().run();
  std::vector<std::string> behind;
  for (const std::string &line : engine.lines())
    if (line.find("Can't keep up!") != std::string::npos)
      behind.push_back(line.substr(9));
  // Steps 1 and 2 overran; step 0 is never reported. The split is at least
  // the 12 ms the handler slept (more on a busy machine).
  ASSERT_EQ(behind.size(), 2u);
  for (int step : {1, 2}) {
    const std::string prefix = "   " + std::to_string(step) + " GameManager::run(): Can't keep up! frame_time 5 ms, split ";
    const std::string &line = behind[static_cast<size_t>(step - 1)];
    ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
    const std::string split = line.substr(prefix.size());
    ASSERT_GE(split.size(), 4u) << line;
    EXPECT_EQ(split.substr(split.size() - 3), " ms") << line;
    EXPECT_GE(std::stoi(split), 12) << line;
  }
  engine.stop();
}

TEST(GameManager, WithoutNetworkingTheNetworkManagerIsLeftAlone) {
  TestEngine engine("headless:true,log_level:5,networking:false,");
  ASSERT_EQ(engine.start(), 0);
  engine.stop();
  for (const std::string &message : engine.messages())
    EXPECT_EQ(message.find("Network manager"), std::string::npos) << message;
  EXPECT_FALSE(cv::NetworkManager::getInstance().isStarted());
}

TEST(GameManager, FailedDisplayStartUpStillStopsEveryManager) {
  TestEngine engine("headless:true,log_level:1,window_vertical_pixels:100000,");
  EXPECT_EQ(engine.start(), -1);
  EXPECT_EQ(engine.messages().back(), "Error starting display manager!");
  // A program that gives up after the failure gets the usual Ctrl-C and SIGTERM back.
  for (int signal_number : {SIGINT, SIGTERM}) {
    const auto handler = std::signal(signal_number, SIG_DFL);
    EXPECT_EQ(handler, SIG_DFL) << signal_number;
  }
  engine.stop();
  const std::vector<std::string> after = engine.messagesFrom("Error starting display manager!");
  EXPECT_EQ(only(after, {"Manager::shutDown(): Warning! PathManager not started.", "Path manager stopped",
                         "Manager::shutDown(): Warning! WorldManager not started.", "World manager stopped",
                         "Manager::shutDown(): Warning! ResourceManager not started.", "Resource manager stopped",
                         "Manager::shutDown(): Warning! InputManager not started.", "Input manager stopped",
                         "Manager::shutDown(): Warning! DisplayManager not started.", "Display manager stopped",
                         "** Game engine stopped **"}),
            (std::vector<std::string>{"Manager::shutDown(): Warning! PathManager not started.", "Path manager stopped",
                                      "Manager::shutDown(): Warning! WorldManager not started.", "World manager stopped",
                                      "Manager::shutDown(): Warning! ResourceManager not started.",
                                      "Resource manager stopped",
                                      "Manager::shutDown(): Warning! InputManager not started.", "Input manager stopped",
                                      "Manager::shutDown(): Warning! DisplayManager not started.",
                                      "Display manager stopped", "** Game engine stopped **"}));
}

TEST(GameManager, FailedStartUpGivesTheFailingManagersReason) {
  struct Case {
    const char *config;
    bool unset_display;
    const char *reason;
  };
  const Case cases[] = {
      {"headless:true,window_horizontal_pixels:100000,", false,
       "DisplayManager::startUp(): Error! window of 100000 x 768 pixels with 80 x 24 characters not supported."},
#ifndef _WIN32
      // Windows has no X display to be missing.
      {"headless:false,window_horizontal_pixels:1024,", true,
       "DisplayManager::startUp(): Error! no display to open a window on (DISPLAY is not set)."},
#endif
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.config);
    TestEngine engine(c.config);
    if (c.unset_display)
      unsetenv("DISPLAY");
    ASSERT_EQ(engine.start(), -1);
    EXPECT_EQ(cv::GameManager::getInstance().getStartUpFailure(), c.reason);
    engine.stop();
  }
  // A log that cannot be opened is a reason too; a later good start clears it.
  // (Settings a configuration leaves out keep the values of the last one.)
  TestEngine engine("headless:true,window_horizontal_pixels:1024,");
  setenv("CORVANE_LOG", engine.directory().c_str(), 1);
  ASSERT_EQ(engine.start(), -1);
  EXPECT_EQ(cv::GameManager::getInstance().getStartUpFailure(),
            "LogManager::startup(): Warning! Unable to open file '" + engine.directory() + "'.");
  engine.stop();
  setenv("CORVANE_LOG", engine.logPath().c_str(), 1);
  ASSERT_EQ(engine.start(), 0) << cv::GameManager::getInstance().getStartUpFailure();
  EXPECT_EQ(cv::GameManager::getInstance().getStartUpFailure(), "");
  engine.stop();
}

TEST(GameManager, KeptFilesAreADirectoryMadeIfMissingAndRefusedWhereAFileStands) {
  TestEngine engine("headless:true,log_level:1,");
  ASSERT_EQ(engine.start(), 0);
  cv::GameManager &game = cv::GameManager::getInstance();
  const std::string saves = engine.directory() + "/saves/slot1";
  EXPECT_EQ(game.keepFiles(saves), 0);
  EXPECT_TRUE(std::filesystem::is_directory(saves));
  EXPECT_TRUE(engine.logged("GameManager::keepFiles(): Keeping files in '" + saves + "'."));
  EXPECT_EQ(game.keepFiles(saves), 0);  // already there

  const std::string file = engine.directory() + "/not-a-directory";
  std::ofstream(file) << "x";
  EXPECT_EQ(game.keepFiles(file), -1);
  const std::vector<std::string> messages = engine.messages();
  const std::string refusal = "GameManager::keepFiles(): Error! Cannot keep files in '" + file + "': ";
  EXPECT_TRUE(std::any_of(messages.begin(), messages.end(),
                          [&](const std::string &m) { return m.rfind(refusal, 0) == 0 && m.size() > refusal.size() + 1; }));
  EXPECT_EQ(game.saveKeptFiles(), 0);  // on a disk there is nothing to write back
}
