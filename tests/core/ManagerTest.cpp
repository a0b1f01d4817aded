#include <gtest/gtest.h>

#include "Corvane.h"
#include "support/RecordingObject.h"
#include "support/TestEngine.h"

using cvtest::RecordingObject;
using cvtest::TestEngine;

namespace {

// A manager that accepts interest in any event type.
class OpenManager : public cv::Manager {
 public:
  bool isValid(std::string) const override { return true; }
};

}  // namespace

TEST(Manager, RefusesTheHundredAndFirstEventType) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  OpenManager manager;
  RecordingObject object;
  for (int i = 0; i < cv::MAX_EVENTS; i++)
    ASSERT_EQ(manager.registerInterest(&object, "type" + std::to_string(i)), 0);
  const size_t lines = engine.lines().size();
  EXPECT_EQ(manager.registerInterest(&object, "one-too-many"), -1);
  EXPECT_EQ(engine.lines().size(), lines);  // refused without a message
  EXPECT_EQ(manager.registerInterest(&object, "type7"), 0);  // known types still take objects

  // Removing a type frees its place; the types behind it still deliver.
  ASSERT_EQ(manager.unregisterInterest(&object, "type3"), 0);
  EXPECT_EQ(manager.registerInterest(&object, "one-too-many"), 0);
  cv::Event later;
  later.setType("type99");
  EXPECT_EQ(manager.onEvent(&later), 1);
  later.setType("type3");
  EXPECT_EQ(manager.onEvent(&later), 0);
}

TEST(Manager, UnregisteringKeepsOtherTypesInOrderAndDelivering) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  OpenManager manager;
  RecordingObject a, b;
  manager.registerInterest(&a, "first");
  manager.registerInterest(&b, "second");
  manager.registerInterest(&a, "third");
  EXPECT_EQ(manager.unregisterInterest(&a, "first"), 0);
  EXPECT_EQ(manager.unregisterInterest(&a, "first"), -1);
  EXPECT_EQ(manager.unregisterInterest(&b, "third"), -1);
  for (const char *type : {"second", "third"}) {
    cv::Event event;
    event.setType(type);
    EXPECT_EQ(manager.onEvent(&event), 1) << type;
  }
  EXPECT_EQ(a.received, std::vector<std::string>{"third"});
  EXPECT_EQ(b.received, std::vector<std::string>{"second"});
}

TEST(Manager, DispatchWalksACopyWhileHandlersChangeInterest) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  OpenManager manager;
  RecordingObject first, second, newcomer;
  // The first listener removes the second and adds a newcomer mid-dispatch.
  first.on_event = [&](const cv::Event *) {
    manager.unregisterInterest(&second, "ping");
    manager.registerInterest(&newcomer, "ping");
  };
  manager.registerInterest(&first, "ping");
  manager.registerInterest(&second, "ping");
  cv::Event ping;
  ping.setType("ping");
  EXPECT_EQ(manager.onEvent(&ping), 2);
  EXPECT_EQ(second.received.size(), 1u);  // still in the copy being walked
  EXPECT_TRUE(newcomer.received.empty());

  first.on_event = nullptr;
  EXPECT_EQ(manager.onEvent(&ping), 2);  // first and newcomer
  EXPECT_EQ(second.received.size(), 1u);
  EXPECT_EQ(newcomer.received.size(), 1u);
}

TEST(Manager, HandlerThatRenewsItsInterestReceivesTheEventOnce) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  OpenManager manager;
  RecordingObject renewer, other;
  manager.registerInterest(&renewer, "ping");
  manager.registerInterest(&other, "pong");
  // Withdrawing the only interest in "ping" removes the type and moves
  // "pong" down; registering again puts "ping" behind it.
  renewer.on_event = [&](const cv::Event *) {
    manager.unregisterInterest(&renewer, "ping");
    manager.registerInterest(&renewer, "ping");
  };
  cv::Event ping;
  ping.setType("ping");
  EXPECT_EQ(manager.onEvent(&ping), 1);
  EXPECT_EQ(renewer.received.size(), 1u);
}

TEST(Manager, RegisteredTwiceReceivesTwice) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  OpenManager manager;
  RecordingObject object;
  manager.registerInterest(&object, "ping");
  manager.registerInterest(&object, "ping");
  cv::Event ping;
  ping.setType("ping");
  EXPECT_EQ(manager.onEvent(&ping), 2);
}

TEST(Manager, UndefinedAndInvalidEventsAreNotDelivered) {
  TestEngine engine("headless:true,log_level:1,");
  ASSERT_EQ(engine.start(), 0);
  cv::Event undefined;
  EXPECT_EQ(cv::WorldManager::getInstance().onEvent(&undefined), 0);
  EXPECT_EQ(engine.messages().back(),
            "Manager(WorldManager)::onEvent(): Warning! Event type cv-undefined is undefined.");
  const cv::EventStep step;
  EXPECT_EQ(cv::InputManager::getInstance().onEvent(&step), 0);
  EXPECT_EQ(engine.messages().back(), "Manager(InputManager)::onEvent(): Error! Event type cv-step not valid.");
  cv::Event nobody;
  nobody.setType("nobody-listens");
  const size_t lines = engine.lines().size();
  EXPECT_EQ(cv::WorldManager::getInstance().onEvent(&nobody), 0);
  EXPECT_EQ(engine.lines().size(), lines);
}

TEST(Manager, RegistrationRoutesToTheOwningManager) {
  TestEngine engine;
  ASSERT_EQ(engine.start(), 0);
  RecordingObject object;
  EXPECT_EQ(object.registerInterest("cv-step"), 0);
  EXPECT_EQ(object.registerInterest("cv-keyboard"), 0);
  EXPECT_EQ(object.registerInterest("my-game-event"), 0);
  const cv::EventStep step(3);
  EXPECT_EQ(cv::GameManager::getInstance().onEvent(&step), 1);
  cv::Event custom;
  custom.setType("my-game-event");
  EXPECT_EQ(cv::WorldManager::getInstance().onEvent(&custom), 1);
  EXPECT_EQ(cv::InputManager::getInstance().onEvent(&custom), 0);

  EXPECT_EQ(object.registerInterest("cv-collision"), -1);
  const std::vector<std::string> messages = engine.messages();
  EXPECT_EQ(messages[messages.size() - 2], "WorldManager::isValid(): Event cv-collision handled automatically.");
  EXPECT_EQ(messages.back(),
            "Manager(WorldManager)::registerInterest(): Event 'cv-collision' not valid for this Manager");
}

TEST(Manager, StartingTwiceAndStoppingTwiceWarnAtLevelOne) {
  TestEngine engine("headless:true,log_level:1,");
  ASSERT_EQ(engine.start(), 0);
  OpenManager manager;
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_EQ(engine.messages().back(), "Manager::startUp(): Warning! Manager already started.");
  manager.shutDown();
  manager.shutDown();
  EXPECT_EQ(engine.messages().back(), "Manager::shutDown(): Warning! Manager not started.");
}
