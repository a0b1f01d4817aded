#include <gtest/gtest.h>

#include "Corvane.h"
#include "world/Probe.h"

using cv::Box;
using cv::Vector;
using worldtest::journal;
using worldtest::Probe;

namespace {

class WorldManagerTest : public worldtest::WorldTest {};

class WorldManagerLogTest : public worldtest::WorldTest {
 protected:
  WorldManagerLogTest() : WorldTest("headless:true,log_level:5,") {}
};

// Probes alive, counted by their constructor and destructor.
int alive = 0;

// A probe that is counted, and whose destructor may create a successor
// (`spawn` more generations) and mark another object for deletion.
class Counted : public Probe {
 public:
  Counted(std::string name, int spawn = 0) : Probe(std::move(name)), spawn(spawn) { alive++; }
  ~Counted() override {
    alive--;
    if (spawn > 0)
      new Counted(name + "'", spawn - 1);
    if (mark)
      cv::WorldManager::getInstance().markForDelete(mark);
  }
  int spawn;                ///< generations still to create when destroyed
  cv::Object *mark = nullptr;  ///< object to mark for deletion when destroyed
};

// A probe whose destructor always creates another: shut-down must give up.
bool keep_spawning = true;
class Hydra : public cv::Object {
 public:
  ~Hydra() override {
    if (keep_spawning)
      new Hydra;
  }
};

}  // namespace

TEST_F(WorldManagerLogTest, StartsResetAndStopsWithItsMessages) {
  cv::WorldManager &wm = world();
  EXPECT_TRUE(engine.logged("Scenegraph configuration: SIMPLE"));
  EXPECT_TRUE(engine.logged("WorldManager::startUp(): successfully started."));
  EXPECT_EQ(wm.startUp(), 0);
  EXPECT_EQ(engine.messages().back(), "WorldManager::startup(): already started.");

  Probe *probe = new Probe("p");
  wm.setViewFollowing(probe);
  wm.setViewSlack(Vector(0.5f, 0.5f));
  wm.shutDown();
  EXPECT_EQ(journal, std::vector<std::string>{"p deleted"});
  EXPECT_EQ(engine.messages().back(), "WorldManager::shutDown(): Successfully stopped.");
  EXPECT_FALSE(wm.isStarted());

  ASSERT_EQ(wm.startUp(), 0);
  EXPECT_EQ(wm.getBoundary(), Box());
  EXPECT_EQ(wm.getView(), Box());
  EXPECT_EQ(wm.getViewSlack(), Vector(0, 0));
  EXPECT_EQ(wm.getViewFollowing(), nullptr);
}

TEST_F(WorldManagerLogTest, ObjectsMadeWhileStoppedStayOutOfTheWorld) {
  cv::WorldManager &wm = world();
  wm.shutDown();
  {
    cv::Object outside;
    const std::vector<std::string> messages = engine.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2],
              "WorldManager::insertObject(): Warning! Not adding Object " + std::to_string(outside.getId()));
    EXPECT_EQ(messages.back(), "                              because WorldManager not started.");
    ASSERT_EQ(wm.startUp(), 0);
    EXPECT_TRUE(wm.getAllObjects(true).isEmpty());
  }
}

TEST_F(WorldManagerTest, GetAllObjectsListsActiveThenInactive) {
  Probe a("a"), b("b"), c("c");
  ASSERT_EQ(a.setActive(false), 0);
  EXPECT_EQ(worldtest::namesIn(world().getAllObjects(false)), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(worldtest::namesIn(world().getAllObjects(true)), (std::vector<std::string>{"b", "c", "a"}));
  c.setType("Other");
  EXPECT_EQ(worldtest::namesIn(world().objectsOfType("Probe")), std::vector<std::string>{"b"});
}

TEST_F(WorldManagerTest, DoubleMarkDeletesOnce) {
  auto *a = new Counted("a");
  EXPECT_EQ(world().markForDelete(a), 0);
  EXPECT_EQ(world().markForDelete(a), 0);
  EXPECT_EQ(alive, 1);  // alive until the end of the update
  world().update();
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(journal, std::vector<std::string>{"a deleted"});
  world().update();
  EXPECT_EQ(journal, std::vector<std::string>{"a deleted"});
}

TEST_F(WorldManagerTest, MarkedObjectIsStillMovedInThatUpdate) {
  auto *a = new Probe("a", Vector(10, 10));
  a->setVelocity(Vector(1, 0));
  world().markForDelete(a);
  Vector seen;
  a->on_destroy = [&] { seen = a->getPosition(); };
  world().update();
  EXPECT_EQ(seen, Vector(11, 10));
}

TEST_F(WorldManagerTest, DestructorsMayMarkAndCreateDuringTheDeletionPass) {
  auto *a = new Counted("a");
  auto *b = new Counted("b");
  auto *c = new Counted("c", 1);  // leaves a successor c'
  a->mark = b;                     // b not yet marked: deleted in the same pass
  b->mark = b;                     // marking itself while being destroyed
  c->mark = a;                     // a already destroyed in this pass: not again
  world().markForDelete(a);
  world().markForDelete(c);
  world().update();
  EXPECT_EQ(journal, (std::vector<std::string>{"a deleted", "c deleted", "b deleted"}));
  EXPECT_EQ(alive, 1);
  EXPECT_EQ(worldtest::namesIn(world().getAllObjects(true)), std::vector<std::string>{"c'"});

  world().update();
  EXPECT_EQ(alive, 1);  // deletions were emptied
}

TEST_F(WorldManagerTest, ShutDownDestroysWhatDestructorsCreate) {
  auto *a = new Counted("a", 3);
  auto *b = new Counted("b");
  ASSERT_EQ(b->setActive(false), 0);
  b->mark = a;  // marking an object the shut-down destroys anyway
  world().markForDelete(b);
  engine.stop();
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"a deleted", "b deleted", "a' deleted", "a'' deleted", "a''' deleted"}));
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
}

TEST_F(WorldManagerTest, ShutDownGivesUpOnDestructorsThatNeverStop) {
  new Hydra;
  cv::WorldManager::getInstance().shutDown();
  EXPECT_TRUE(engine.logged("WorldManager::shutDown(): Error! destructors keep creating objects; 1 left undestroyed."));
  // Clean up the one left, so nothing leaks.
  keep_spawning = false;
  const cv::ObjectList left = world().getAllObjects(true);
  ASSERT_EQ(left.getCount(), 1);
  delete cv::ObjectListIterator(&left).currentObject();
  EXPECT_TRUE(world().getAllObjects(true).isEmpty());
}

TEST_F(WorldManagerTest, ObjectCreatedDuringUpdateMovesFromTheNext) {
  auto *mover = new Probe("mover", Vector(10, 10));
  auto *wall = new Probe("wall", Vector(11.9f, 10));
  mover->setVelocity(Vector(1, 0));
  Probe *child = nullptr;
  wall->on_event = [&](const cv::Event *) {
    child = new Probe("child", Vector(30, 10));
    child->setVelocity(Vector(0, 1));
  };
  world().update();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->getPosition(), Vector(30, 10));
  wall->on_event = nullptr;
  world().update();
  EXPECT_EQ(child->getPosition(), Vector(30, 11));
}

TEST_F(WorldManagerTest, ObjectThatStaysPutGetsNoCollision) {
  new Probe("a", Vector(10, 10));
  new Probe("b", Vector(10.5f, 10));  // overlapping, but nobody moves
  world().update();
  EXPECT_TRUE(journal.empty());
}

TEST_F(WorldManagerTest, DrawsByAltitudeThenInsertionOrder) {
  const struct {
    const char *name;
    int altitude;
  } placed[] = {{"a2", 2}, {"b0", 0}, {"c4", 4}, {"d2", 2}, {"e1", 1}, {"f0", 0}};
  for (const auto &p : placed) {
    auto *probe = new Probe(p.name, Vector(10, 10));
    ASSERT_EQ(probe->setAltitude(p.altitude), 0);
  }
  world().draw();
  EXPECT_EQ(journal, (std::vector<std::string>{"b0 draw", "f0 draw", "e1 draw", "a2 draw", "d2 draw", "c4 draw"}));
}

TEST_F(WorldManagerTest, DrawsOnlyVisibleObjectsMeetingTheViewButAlwaysViewObjects) {
  // The view is 80 x 24 at (0, 0).
  new Probe("inside", Vector(40, 12));
  new Probe("touching", Vector(80.5f, 12));  // box from 80 to 80.99: meets the right edge
  new Probe("beyond", Vector(81, 12));       // box from 80.5
  auto *hidden = new Probe("hidden", Vector(40, 12));
  ASSERT_EQ(hidden->setVisible(false), 0);
  auto *inactive = new Probe("inactive", Vector(40, 12));
  ASSERT_EQ(inactive->setActive(false), 0);
  auto *hud = new worldtest::ViewProbe("hud");
  hud->setPosition(Vector(500, 500));
  world().draw();
  EXPECT_EQ(journal, (std::vector<std::string>{"inside draw", "touching draw", "hud draw"}));

  journal.clear();
  world().setView(Box(Vector(60, 0), 80, 24));
  world().draw();
  EXPECT_EQ(journal, (std::vector<std::string>{"touching draw", "beyond draw", "hud draw"}));
}

TEST_F(WorldManagerTest, ViewPositionIsClampedToTheBoundary) {
  const struct {
    Box boundary, view;
    Vector centre, corner;
  } cases[] = {
      {Box(Vector(), 80, 24), Box(Vector(), 80, 24), Vector(70, 12), Vector(0, 0)},
      {Box(Vector(), 200, 100), Box(Vector(), 80, 24), Vector(100, 50), Vector(60, 38)},
      {Box(Vector(), 200, 100), Box(Vector(), 80, 24), Vector(10, 5), Vector(0, 0)},
      {Box(Vector(), 200, 100), Box(Vector(), 80, 24), Vector(190, 95), Vector(120, 76)},
      {Box(Vector(), 200, 100), Box(Vector(50, 50), 80, 24), Vector(40, 90), Vector(0, 76)},
      {Box(Vector(), 40, 10), Box(Vector(), 80, 24), Vector(100, 100), Vector(0, 0)},  // view wider than the world
  };
  for (const auto &c : cases) {
    world().setBoundary(c.boundary);
    world().setView(c.view);
    world().setViewPosition(c.centre);
    EXPECT_EQ(world().getView(), Box(c.corner, c.view.getHorizontal(), c.view.getVertical()))
        << "centre " << c.centre.getX() << "," << c.centre.getY();
  }
}

TEST_F(WorldManagerTest, ViewSlackOutsideTheUnitRangeIsStoredWithAWarning) {
  const struct {
    Vector slack;
    bool warns;
  } cases[] = {{Vector(1.5f, 0.5f), true}, {Vector(0.5f, -0.1f), true}, {Vector(0, 1), false}};
  for (const auto &c : cases) {
    const size_t before = engine.messages().size();
    world().setViewSlack(c.slack);
    EXPECT_EQ(world().getViewSlack(), c.slack);
    const std::vector<std::string> messages = engine.messages();
    EXPECT_EQ(messages.size(), before + (c.warns ? 1 : 0));
    if (c.warns) {
      EXPECT_EQ(messages.back(), "WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]");
    }
  }
}

TEST_F(WorldManagerTest, ViewFollowsOutsideTheSlackAreaOnly) {
  // An 80 x 24 view on a 200 x 100 world, slack 1/3: the free area is
  // x 26.7..53.3 and y 8..16 around the centre (40, 12).
  world().setBoundary(Box(Vector(), 200, 100));
  auto *hero = new Probe("hero", Vector(40, 12), cv::SPECTRAL);
  EXPECT_EQ(world().setViewFollowing(hero), 0);
  EXPECT_EQ(world().getViewFollowing(), hero);

  const struct {
    Vector to, corner;
  } moves[] = {
      {Vector(50, 14), Vector(0, 0)},                 // inside the slack area
      {Vector(60, 20), Vector(60 - 53.3333f, 4)},     // past the right and bottom edges
      {Vector(61, 20), Vector(61 - 53.3333f, 4)},     // keeps the hero on the edge
      {Vector(10, 2), Vector(0, 0)},                  // far left and up: stops at 0
      {Vector(195, 95), Vector(120, 76)},             // far right and down: stops at the boundary
  };
  for (const auto &m : moves) {
    ASSERT_EQ(world().moveObject(hero, m.to), 0);
    EXPECT_NEAR(world().getView().getCorner().getX(), m.corner.getX(), 1e-3) << m.to.getX();
    EXPECT_NEAR(world().getView().getCorner().getY(), m.corner.getY(), 1e-3) << m.to.getY();
  }

  world().setViewFollowing(nullptr);
  ASSERT_EQ(world().moveObject(hero, Vector(10, 2)), 0);
  EXPECT_EQ(world().getView().getCorner(), Vector(120, 76));
}

TEST_F(WorldManagerTest, FollowingStopsWhenTheObjectIsDestroyed) {
  auto *hero = new Probe("hero", Vector(40, 12));
  world().setViewFollowing(hero);
  world().markForDelete(hero);
  world().update();
  EXPECT_EQ(world().getViewFollowing(), nullptr);
  // Moving another object leaves the view where it is.
  auto *other = new Probe("other", Vector(40, 12), cv::SPECTRAL);
  ASSERT_EQ(world().moveObject(other, Vector(79, 23)), 0);
  EXPECT_EQ(world().getView().getCorner(), Vector(0, 0));
}

TEST_F(WorldManagerTest, GameEventsReachRegisteredActiveObjects) {
  Probe a("a"), b("b");
  ASSERT_EQ(a.registerInterest("bonus"), 0);
  ASSERT_EQ(b.registerInterest("bonus"), 0);
  ASSERT_EQ(b.setActive(false), 0);
  cv::Event bonus;
  bonus.setType("bonus");
  EXPECT_EQ(world().onEvent(&bonus), 1);
  EXPECT_EQ(journal, std::vector<std::string>{"a bonus"});
}

TEST_F(WorldManagerTest, RedrawLeavesEveryAnimationWhereItWas) {
  // Two frames, four draws each.
  ASSERT_EQ(cv::ResourceManager::getInstance().loadSprite(std::string(CORVANE_TEST_FIXTURES) + "/sprites/example.txt",
                                                          "example"),
            0);
  auto *walker = new cv::Object;
  ASSERT_EQ(walker->setSprite("example"), 0);
  walker->setPosition(Vector(10, 10));
  for (int i = 0; i < 3; i++)
    world().draw();
  cv::Animation before = walker->getAnimation();
  before.setModified(false);
  walker->setAnimation(before);
  for (int i = 0; i < 5; i++)
    world().redraw();
  EXPECT_EQ(walker->getAnimation().getIndex(), 0);
  EXPECT_EQ(walker->getAnimation().getSlowdownCount(), 3);
  EXPECT_FALSE(walker->getAnimation().isModified());
  world().draw();  // the fourth draw of the first frame moves it on
  EXPECT_EQ(walker->getAnimation().getIndex(), 1);
  EXPECT_EQ(walker->getAnimation().getSlowdownCount(), 0);
}
