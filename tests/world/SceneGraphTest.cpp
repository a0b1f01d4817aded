#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Corvane.h"
#include "world/Probe.h"

using worldtest::countIn;
using worldtest::namesIn;
using worldtest::Probe;

namespace {

class SceneGraphTest : public worldtest::WorldTest {
 protected:
  cv::SceneGraph &graph() { return world().getSceneGraph(); }

  // Checks that `object` is exactly where its state says: once under its
  // id, active or not; inactive objects only in the inactive list; active
  // ones once in the active list, their type's entry, the solid list if
  // solid and their altitude's visible list if visible, and nowhere else.
  void expectPlaced(const cv::Object &object) {
    const cv::Object *o = &object;
    const bool active = o->isActive();
    SCOPED_TRACE(worldtest::nameOf(o));
    EXPECT_EQ(countIn(graph().objectsWithId(o->getId()), o), 1);
    EXPECT_EQ(countIn(graph().inactiveObjects(), o), active ? 0 : 1);
    EXPECT_EQ(countIn(graph().activeObjects(), o), active ? 1 : 0);
    EXPECT_EQ(countIn(graph().objectsOfType(o->getType()), o), active ? 1 : 0);
    EXPECT_EQ(countIn(graph().solidObjects(), o), active && o->isSolid() ? 1 : 0);
    for (int altitude = cv::MIN_ALTITUDE; altitude <= cv::MAX_ALTITUDE; altitude++)
      EXPECT_EQ(countIn(graph().visibleObjects(altitude), o),
                active && o->isVisible() && o->getAltitude() == altitude ? 1 : 0)
          << "altitude " << altitude;
  }
};

}  // namespace

TEST_F(SceneGraphTest, SettersKeepEveryListInStep) {
  Probe a("a"), b("b"), c("c");
  const struct {
    const char *what;
    std::function<int()> change;
  } steps[] = {
      {"deactivate", [&] { return a.setActive(false); }},
      {"altitude while inactive", [&] { return a.setAltitude(0); }},
      {"spectral while inactive", [&] { return a.setSolidness(cv::SPECTRAL); }},
      {"hide while inactive", [&] { return a.setVisible(false); }},
      {"type while inactive", [&] { a.setType("Ghost"); return 0; }},
      {"id read while inactive", [&] { return a.deserialize("id:500,"); }},
      {"reactivate", [&] { return a.setActive(true); }},
      {"show", [&] { return a.setVisible(true); }},
      {"solid again", [&] { return a.setSolidness(cv::SOFT); }},
      {"soft to hard", [&] { return a.setSolidness(cv::HARD); }},
      {"hide", [&] { return b.setVisible(false); }},
      {"altitude while hidden", [&] { return b.setAltitude(4); }},
      {"show again", [&] { return b.setVisible(true); }},
      {"altitude while visible", [&] { return c.setAltitude(1); }},
      {"type while active", [&] { c.setType("Other"); return 0; }},
      {"id and box read while active",
       [&] { return c.deserialize("id:501,box-corner-x:0,box-corner-y:0,box-horizontal:2,box-vertical:2,"); }},
      {"deactivate twice", [&] { return c.setActive(false) + c.setActive(false); }},
  };
  for (const auto &step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_EQ(step.change(), 0);
    for (const Probe *probe : {&a, &b, &c})
      expectPlaced(*probe);
  }
}

TEST_F(SceneGraphTest, ReactivatedObjectGoesToTheEndOfEachList) {
  Probe a("a"), b("b"), c("c");
  ASSERT_EQ(a.setActive(false), 0);
  EXPECT_EQ(namesIn(graph().inactiveObjects()), std::vector<std::string>{"a"});
  EXPECT_EQ(namesIn(world().getAllObjects(false)), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(namesIn(world().getAllObjects(true)), (std::vector<std::string>{"b", "c", "a"}));

  ASSERT_EQ(a.setActive(true), 0);
  const std::vector<std::string> order{"b", "c", "a"};
  EXPECT_EQ(namesIn(graph().activeObjects()), order);
  EXPECT_EQ(namesIn(graph().solidObjects()), order);
  EXPECT_EQ(namesIn(graph().visibleObjects(2)), order);
  EXPECT_EQ(namesIn(graph().objectsOfType("Probe")), order);
  EXPECT_TRUE(graph().inactiveObjects().isEmpty());
}

TEST_F(SceneGraphTest, NewBoxOfAnInactiveObjectKeepsItInTheInactiveList) {
  // setBox removes and re-inserts the object; inactive, it goes back to the inactive list only.
  Probe a("a");
  ASSERT_EQ(a.setActive(false), 0);
  a.setBox(cv::Box(cv::Vector(-1, -1), 2, 2));
  expectPlaced(a);
  ASSERT_EQ(a.setActive(true), 0);
  expectPlaced(a);
}

TEST_F(SceneGraphTest, TheIdIndexFollowsIdsReadAndObjectsGone) {
  Probe a("a");
  auto b = std::make_unique<Probe>("b");
  const int a_id = a.getId();
  const int b_id = b->getId();
  ASSERT_EQ(a.deserialize("id:" + std::to_string(b_id) + ","), 0);  // taken, with a warning
  ASSERT_EQ(a.getId(), b_id);
  EXPECT_TRUE(graph().objectsWithId(a_id).isEmpty());
  EXPECT_EQ(namesIn(graph().objectsWithId(b_id)), (std::vector<std::string>{"b", "a"}));  // in the order taken
  b.reset();
  EXPECT_EQ(namesIn(graph().objectsWithId(b_id)), std::vector<std::string>{"a"});
  EXPECT_TRUE(graph().objectsWithId(0).isEmpty());
}

TEST_F(SceneGraphTest, UnknownTypeAndBadAltitudeGiveEmptyLists) {
  Probe a("a");
  EXPECT_TRUE(graph().objectsOfType("Nobody").isEmpty());
  EXPECT_TRUE(world().objectsOfType("Nobody").isEmpty());
  EXPECT_TRUE(graph().visibleObjects(5).isEmpty());
  EXPECT_EQ(engine.messages().back(), "SceneGraph::visibleObjects(): Warning! altitude 5 not in [0,4].");
  EXPECT_TRUE(graph().visibleObjects(-1).isEmpty());
  EXPECT_EQ(engine.messages().back(), "SceneGraph::visibleObjects(): Warning! altitude -1 not in [0,4].");
}

TEST_F(SceneGraphTest, RefusedAltitudesChangeNoList) {
  Probe a("a");
  EXPECT_EQ(graph().updateAltitude(&a, 7), -1);
  EXPECT_EQ(engine.messages().back(), "SceneGraph::updateAltitude(): New altitude 7 not in [0,4]!  No update.");
  expectPlaced(a);
}

TEST_F(SceneGraphTest, FailedUpdatesAreSilentOnceTheGameIsOver) {
  // A probe taken out of the scene graph behind its back: updates that must
  // find it in a list fail.
  Probe a("a");
  ASSERT_EQ(graph().removeObject(&a), 0);
  EXPECT_EQ(graph().removeObject(&a), -1);
  char removal[128];
  std::snprintf(removal, sizeof removal, "SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
                a.getId(), static_cast<void *>(&a));
  EXPECT_EQ(engine.messages().back(), removal);

  EXPECT_EQ(graph().updateVisible(&a, false), -1);
  EXPECT_EQ(engine.messages().back(), "SceneGraph::updateVisible(): unable to remove visible object (Probe)");
  EXPECT_EQ(graph().updateAltitude(&a, 3), -1);
  EXPECT_EQ(engine.messages().back(), "SceneGraph::updateAltitude(): remove from old altitude (2) failed!");

  cv::GameManager::getInstance().setGameOver(true);
  const size_t logged = engine.messages().size();
  EXPECT_EQ(graph().updateVisible(&a, false), -1);
  EXPECT_EQ(graph().updateAltitude(&a, 3), -1);
  EXPECT_EQ(graph().updateSolidness(&a, cv::SPECTRAL), 0);
  EXPECT_EQ(engine.messages().size(), logged);
  cv::GameManager::getInstance().setGameOver(false);

  ASSERT_EQ(graph().insertObject(&a), 0);
  expectPlaced(a);
}
