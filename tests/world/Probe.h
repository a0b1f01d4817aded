#pragma once
// Test objects for the world's tests: each writes what happens to it (events,
// draws, destruction) into one shared journal, so tests can assert orders
// across several objects.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

namespace worldtest {

/// Everything the probes saw, in order.
inline std::vector<std::string> journal;

/// Name of `object` if it is a probe, else "?".
std::string nameOf(const cv::Object *object);

/// An object that journals its events as "<name> <type>" (collisions as
/// "<name> cv-collision <mover>-><other>"), its draws as "<name> draw" and
/// its destruction as "<name> deleted".
class Probe : public cv::Object {
 public:
  explicit Probe(std::string probe_name, cv::Vector where = cv::Vector(1, 1), cv::Solidness how = cv::HARD)
      : name(std::move(probe_name)) {
    setType("Probe");
    setPosition(where);
    setSolidness(how);
  }
  ~Probe() override {
    journal.push_back(name + " deleted");
    if (on_destroy)
      on_destroy();
  }

  std::string name;                                  ///< name used in the journal
  std::function<void(const cv::Event *)> on_event;   ///< run after journalling an event
  std::function<void()> on_destroy;                  ///< run by the destructor
  cv::Vector last_collision_position;                ///< position of the last collision event

  int eventHandler(const cv::Event *event) override {
    std::string entry = name + " " + event->getType();
    if (const auto *collision = dynamic_cast<const cv::EventCollision *>(event)) {
      entry += " " + nameOf(collision->getObject1()) + "->" + nameOf(collision->getObject2());
      last_collision_position = collision->getPosition();
    }
    journal.push_back(entry);
    if (on_event)
      on_event(event);
    return 1;
  }

  int draw() override {
    journal.push_back(name + " draw");
    return 0;
  }
};

/// A view object that journals its draws.
class ViewProbe : public cv::ViewObject {
 public:
  explicit ViewProbe(std::string probe_name) : name(std::move(probe_name)) {}
  std::string name;  ///< name used in the journal
  int draw() override {
    journal.push_back(name + " draw");
    return 0;
  }
};

inline std::string nameOf(const cv::Object *object) {
  const auto *probe = dynamic_cast<const Probe *>(object);
  return probe ? probe->name : "?";
}

/// Whether `list` holds `object`, and how often.
inline int countIn(const cv::ObjectList &list, const cv::Object *object) {
  int count = 0;
  for (cv::ObjectListIterator li(&list); !li.isDone(); li.next())
    count += li.currentObject() == object;
  return count;
}

/// The probe names in `list`, in order.
inline std::vector<std::string> namesIn(const cv::ObjectList &list) {
  std::vector<std::string> names;
  for (cv::ObjectListIterator li(&list); !li.isDone(); li.next())
    names.push_back(nameOf(li.currentObject()));
  return names;
}

/// A started headless engine (80 x 24 view and boundary, slack 1/3) with an
/// empty journal; stopping it at the end destroys every object left.
class WorldTest : public ::testing::Test {
 protected:
  explicit WorldTest(const std::string &config = "headless:true,") : engine(config) {}
  void SetUp() override {
    journal.clear();
    ASSERT_EQ(engine.start(), 0);
  }
  void TearDown() override {
    if (cv::GameManager::getInstance().isStarted())
      engine.stop();
  }

  cv::WorldManager &world() { return cv::WorldManager::getInstance(); }

  cvtest::TestEngine engine;  ///< the engine under test
};

}  // namespace worldtest
