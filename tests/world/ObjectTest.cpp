#include <gtest/gtest.h>

#include <limits>

#include "Corvane.h"
#include "world/Probe.h"

using cv::Box;
using cv::Vector;
using worldtest::journal;
using worldtest::Probe;

namespace {

class ObjectTest : public worldtest::WorldTest {};

// An event of a given type, for dispatch through a manager.
class TypedEvent : public cv::Event {
 public:
  explicit TypedEvent(const std::string &type) { setType(type); }
};

}  // namespace

TEST_F(ObjectTest, IdsCountFromOne) {
  cv::Object first;
  cv::Object second;
  EXPECT_EQ(first.getId(), 1);
  EXPECT_EQ(second.getId(), 2);
}

TEST_F(ObjectTest, FreshObjectHasTheDefaultFieldsAndIsInTheWorld) {
  cv::Object object;
  EXPECT_EQ(object.getType(), "(Undefined)");
  EXPECT_TRUE(object.isActive());
  EXPECT_TRUE(object.isVisible());
  EXPECT_EQ(object.getSolidness(), cv::HARD);
  EXPECT_TRUE(object.isSolid());
  EXPECT_EQ(object.getAltitude(), 2);
  EXPECT_EQ(object.getPosition(), Vector(1, 1));
  EXPECT_EQ(object.getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  EXPECT_EQ(object.getDirection(), Vector(0, 0));
  EXPECT_EQ(object.getSpeed(), 0);
  EXPECT_EQ(object.getAcceleration(), Vector(0, 0));
  EXPECT_FALSE(object.getNoSoft());
  EXPECT_FALSE(object.getAvoidCollisions());
  EXPECT_EQ(object.getShape().getType(), cv::SHAPE_UNDEFINED);
  EXPECT_EQ(object.getAnimation().getSprite(), nullptr);
  for (int attribute = 0; attribute < cv::OBJECT_ATTRIBUTE_COUNT; attribute++)
    EXPECT_TRUE(object.isModified(static_cast<cv::ObjectAttribute>(attribute))) << attribute;

  const cv::SceneGraph &graph = world().getSceneGraph();
  EXPECT_EQ(worldtest::countIn(graph.activeObjects(), &object), 1);
  EXPECT_EQ(worldtest::countIn(graph.solidObjects(), &object), 1);
  EXPECT_EQ(worldtest::countIn(graph.visibleObjects(2), &object), 1);
  EXPECT_EQ(worldtest::countIn(world().getSceneGraph().objectsOfType("(Undefined)"), &object), 1);
}

TEST_F(ObjectTest, AltitudeOutsideTheRangeIsRefused) {
  cv::Object object;
  EXPECT_EQ(object.setAltitude(5), -1);
  EXPECT_EQ(engine.messages().back(), "Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored.");
  EXPECT_EQ(object.setAltitude(-1), -1);
  EXPECT_EQ(engine.messages().back(), "Object::setAltitude(): Altitude -1 not in range [0,4].  Ignored.");
  EXPECT_EQ(object.getAltitude(), 2);
  EXPECT_EQ(worldtest::countIn(world().getSceneGraph().visibleObjects(2), &object), 1);

  EXPECT_EQ(object.setAltitude(4), 0);
  EXPECT_EQ(object.getAltitude(), 4);
  EXPECT_EQ(worldtest::countIn(world().getSceneGraph().visibleObjects(4), &object), 1);
  EXPECT_EQ(object.setAltitude(0), 0);
  EXPECT_EQ(object.getAltitude(), 0);
}

TEST_F(ObjectTest, SolidnessOutsideTheThreeIsRefused) {
  cv::Object object;
  for (int bad : {3, -1}) {
    EXPECT_EQ(object.setSolidness(static_cast<cv::Solidness>(bad)), -1);
    EXPECT_EQ(engine.messages().back(),
              "Object::setSolidness(): Solidness " + std::to_string(bad) + " not one of HARD, SOFT or SPECTRAL.");
    EXPECT_EQ(object.getSolidness(), cv::HARD);
  }
  EXPECT_EQ(object.setSolidness(cv::SOFT), 0);
  EXPECT_EQ(object.getSolidness(), cv::SOFT);
  EXPECT_TRUE(object.isSolid());
  EXPECT_EQ(object.setSolidness(cv::SPECTRAL), 0);
  EXPECT_FALSE(object.isSolid());
}

TEST_F(ObjectTest, VelocityIsDirectionTimesSpeed) {
  cv::Object object;
  object.setVelocity(Vector(3, 4));
  EXPECT_FLOAT_EQ(object.getSpeed(), 5);
  EXPECT_FLOAT_EQ(object.getDirection().getX(), 0.6f);
  EXPECT_FLOAT_EQ(object.getDirection().getY(), 0.8f);
  EXPECT_FLOAT_EQ(object.getVelocity().getX(), 3);
  EXPECT_FLOAT_EQ(object.getVelocity().getY(), 4);
  object.setPosition(Vector(10, 10));
  EXPECT_FLOAT_EQ(object.predictPosition().getX(), 13);
  EXPECT_FLOAT_EQ(object.predictPosition().getY(), 14);

  object.setSpeed(10);
  EXPECT_FLOAT_EQ(object.getVelocity().getX(), 6);
  EXPECT_FLOAT_EQ(object.getVelocity().getY(), 8);

  object.setVelocity(Vector(0, 0));
  EXPECT_EQ(object.getSpeed(), 0);
  EXPECT_EQ(object.getDirection(), Vector(0, 0));
  EXPECT_EQ(object.predictPosition(), Vector(10, 10));
}

TEST_F(ObjectTest, DirectionIsAlwaysAUnitVectorOrZero) {
  cv::Object object;
  EXPECT_EQ(object.setDirection(Vector(1, 1)), 0);
  EXPECT_FLOAT_EQ(object.getDirection().getMagnitude(), 1);
  object.setSpeed(0.5f);
  EXPECT_FLOAT_EQ(object.getVelocity().getMagnitude(), 0.5f);  // not 0.71
  EXPECT_EQ(object.setDirection(Vector(0, 0)), 0);
  EXPECT_EQ(object.getDirection(), Vector(0, 0));
  // A unit direction is kept as given, to the last bit.
  EXPECT_EQ(object.setDirection(Vector(0.70710677f, -0.70710677f)), 0);
  EXPECT_EQ(object.getDirection(), Vector(0.70710677f, -0.70710677f));
}

TEST_F(ObjectTest, MotionThatIsNotFiniteIsRefused) {
  cv::Object object;
  object.setPosition(Vector(3, 4));
  object.setVelocity(Vector(0, 2));
  object.setAcceleration(Vector(0.5f, 0));
  struct Case {
    const char *name;
    int (*apply)(cv::Object &);
    const char *message;
  };
  const Case cases[] = {
      {"position", [](cv::Object &o) { return o.setPosition(Vector(std::numeric_limits<float>::infinity(), 1)); },
       "Object::setPosition(): Warning! Position (inf, 1) not finite. Ignored."},
      {"speed", [](cv::Object &o) { return o.setSpeed(std::numeric_limits<float>::quiet_NaN()); },
       "Object::setSpeed(): Warning! Speed nan not finite. Ignored."},
      {"velocity beyond the float range", [](cv::Object &o) { return o.setVelocity(Vector(3e38f, 3e38f)); },
       "Object::setVelocity(): Warning! Velocity (3e+38, 3e+38) gives a speed that is not finite. Ignored."},
      {"direction", [](cv::Object &o) { return o.setDirection(Vector(1, -std::numeric_limits<float>::infinity())); },
       "Object::setDirection(): Warning! Direction (1, -inf) not finite. Ignored."},
      {"acceleration", [](cv::Object &o) { return o.setAcceleration(Vector(std::numeric_limits<float>::quiet_NaN(), 0)); },
       "Object::setAcceleration(): Warning! Acceleration (nan, 0) not finite. Ignored."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.apply(object), -1);
    EXPECT_TRUE(engine.logged(c.message));
    EXPECT_EQ(object.getPosition(), Vector(3, 4));
    EXPECT_EQ(object.getVelocity(), Vector(0, 2));
    EXPECT_EQ(object.getAcceleration(), Vector(0.5f, 0));
  }

  // An acceleration that would take the speed past the float range leaves the velocity.
  object.setVelocity(Vector(3e38f, 0));
  object.setAcceleration(Vector(3e38f, 0));
  object.updateVelocity();
  EXPECT_EQ(object.getVelocity(), Vector(3e38f, 0));
  EXPECT_TRUE(engine.logged(
      "Object::setVelocity(): Warning! Velocity (inf, 0) gives a speed that is not finite. Ignored."));
}

TEST_F(ObjectTest, UpdateVelocityAppliesTheAccelerationOnce) {
  cv::Object object;
  object.updateVelocity();
  EXPECT_EQ(object.getVelocity(), Vector(0, 0));

  object.setVelocity(Vector(1, 0));
  object.setAcceleration(Vector(0, 0.5f));
  object.updateVelocity();
  EXPECT_FLOAT_EQ(object.getVelocity().getX(), 1);
  EXPECT_FLOAT_EQ(object.getVelocity().getY(), 0.5f);
  EXPECT_FLOAT_EQ(object.getDirection().getMagnitude(), 1);
  object.updateVelocity();
  EXPECT_FLOAT_EQ(object.getVelocity().getY(), 1);

  // Braking through zero turns the direction round.
  object.setVelocity(Vector(0.25f, 0));
  object.setAcceleration(Vector(-0.5f, 0));
  object.updateVelocity();
  EXPECT_FLOAT_EQ(object.getSpeed(), 0.25f);
  EXPECT_EQ(object.getDirection(), Vector(-1, 0));
}

TEST_F(ObjectTest, SetBoxMovesTheObjectToTheEndOfItsLists) {
  Probe a("a"), b("b"), c("c");
  a.setBox(a.getBox());  // unchanged: stays first
  EXPECT_EQ(worldtest::namesIn(world().getSceneGraph().activeObjects()), (std::vector<std::string>{"a", "b", "c"}));

  a.setBox(Box(Vector(-1, -1), 2, 2));
  EXPECT_EQ(a.getBox(), Box(Vector(-1, -1), 2, 2));
  const cv::SceneGraph &graph = world().getSceneGraph();
  const std::vector<std::string> order{"b", "c", "a"};
  EXPECT_EQ(worldtest::namesIn(graph.activeObjects()), order);
  EXPECT_EQ(worldtest::namesIn(graph.solidObjects()), order);
  EXPECT_EQ(worldtest::namesIn(graph.visibleObjects(2)), order);
  EXPECT_EQ(worldtest::namesIn(world().objectsOfType("Probe")), order);
}

TEST_F(ObjectTest, SetTypeMovesTheObjectInTheTypeIndex) {
  cv::Object object;
  object.setType("Saucer");
  EXPECT_EQ(object.getType(), "Saucer");
  EXPECT_EQ(world().objectsOfType("(Undefined)").getCount(), 0);
  EXPECT_EQ(worldtest::countIn(world().objectsOfType("Saucer"), &object), 1);
}

TEST_F(ObjectTest, MissingSpriteIsReported) {
  cv::Object object;
  EXPECT_EQ(object.setSprite("nothing"), -1);
  EXPECT_EQ(engine.messages().back(), "Object::setSprite(): Warning! Sprite 'nothing' not found");
  EXPECT_EQ(object.getBox(), Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f));
}

TEST_F(ObjectTest, InterestsGoToTheManagerOwningTheType) {
  struct Route {
    std::string type;
    const cv::Manager *owner;
  };
  const Route routes[] = {
      {"cv-step", &cv::GameManager::getInstance()},
      {"cv-keyboard", &cv::InputManager::getInstance()},
      {"cv-mouse", &cv::InputManager::getInstance()},
      {"cv-network", &cv::NetworkManager::getInstance()},
      {"cv-keyboard-network", &cv::NetworkManager::getInstance()},
      {"cv-mouse-network", &cv::NetworkManager::getInstance()},
      {"cv-custom-network", &cv::NetworkManager::getInstance()},
      {"cv-view", &cv::WorldManager::getInstance()},
      {"game-level-up", &cv::WorldManager::getInstance()},
  };
  Probe probe("p");
  for (const Route &route : routes) {
    journal.clear();
    const TypedEvent event(route.type);
    ASSERT_EQ(probe.registerInterest(route.type), 0) << route.type;
    EXPECT_EQ(route.owner->onEvent(&event), 1) << route.type;
    EXPECT_EQ(journal, std::vector<std::string>{"p " + route.type});
    ASSERT_EQ(probe.unregisterInterest(route.type), 0) << route.type;
    EXPECT_EQ(route.owner->onEvent(&event), 0) << route.type;
  }
}

TEST_F(ObjectTest, UnregisterKeepsTheOrderOfTheOthers) {
  Probe probe("p");
  for (const char *type : {"one", "two", "three"})
    ASSERT_EQ(probe.registerInterest(type), 0);
  EXPECT_EQ(probe.unregisterInterest("two"), 0);
  EXPECT_EQ(probe.unregisterInterest("two"), -1);
  EXPECT_EQ(engine.messages().back(), "Object::unregisterInterest(): event 'two' not previously registered");
  const TypedEvent one("one"), three("three");
  EXPECT_EQ(world().onEvent(&one), 1);
  EXPECT_EQ(world().onEvent(&three), 1);
}

TEST_F(ObjectTest, TheHundredAndFirstInterestIsRefused) {
  Probe probe("p");
  for (int i = 0; i < cv::MAX_OBJ_EVENTS; i++)
    ASSERT_EQ(probe.registerInterest("type-" + std::to_string(i)), 0) << i;
  EXPECT_EQ(probe.registerInterest("type-100"), -1);
  EXPECT_EQ(engine.messages().back(),
            "Object::registerInterest(): maximum (100) reached, cannot register for event 'type-100'");
  const TypedEvent refused("type-100"), last("type-99");
  EXPECT_EQ(world().onEvent(&refused), 0);
  EXPECT_EQ(world().onEvent(&last), 1);
}

TEST_F(ObjectTest, CollisionInterestIsRefusedAndNotListed) {
  Probe probe("p");
  EXPECT_EQ(probe.registerInterest("cv-collision"), -1);
  const std::vector<std::string> messages = engine.messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2], "WorldManager::isValid(): Event cv-collision handled automatically.");
  EXPECT_EQ(messages.back(), "Manager(WorldManager)::registerInterest(): Event 'cv-collision' not valid for this Manager");
  EXPECT_EQ(probe.unregisterInterest("cv-collision"), -1);
  EXPECT_EQ(engine.messages().back(), "Object::unregisterInterest(): event 'cv-collision' not previously registered");
}

TEST_F(ObjectTest, DestructionWithdrawsEveryInterest) {
  auto *probe = new Probe("p");
  ASSERT_EQ(probe->registerInterest("cv-step"), 0);
  ASSERT_EQ(probe->registerInterest("cv-view"), 0);
  ASSERT_EQ(probe->registerInterest("cv-step"), 0);  // held twice
  const cv::EventStep step(0);
  EXPECT_EQ(cv::GameManager::getInstance().onEvent(&step), 2);

  world().markForDelete(probe);
  world().update();
  EXPECT_EQ(journal, (std::vector<std::string>{"p cv-step", "p cv-step", "p deleted"}));
  EXPECT_EQ(cv::GameManager::getInstance().onEvent(&step), 0);
  const TypedEvent view("cv-view");
  EXPECT_EQ(world().onEvent(&view), 0);
  EXPECT_EQ(world().getAllObjects(true).getCount(), 0);
}

TEST_F(ObjectTest, DefaultHandlerTakesNoEvent) {
  cv::Object object;
  const cv::EventStep step(3);
  const TypedEvent path("cv-path");
  EXPECT_EQ(object.eventHandler(&step), 0);
  EXPECT_EQ(object.eventHandler(&path), 0);
}

TEST_F(ObjectTest, FollowingAPathTurnsTowardsItsCurrentNode) {
  cv::Object object;
  object.setPosition(Vector(2, 2));
  object.setPath(cv::Path({Vector(2, 2), Vector(5, 6)}));
  object.setFollowPath(true);
  EXPECT_TRUE(object.getFollowPath());
  EXPECT_EQ(object.getDirection(), Vector(0, 0));  // already on the first node
  cv::Path path = object.getPath();
  path.next();
  object.setPath(path);
  object.setFollowPath(false);
  EXPECT_FALSE(object.getFollowPath());
  EXPECT_EQ(object.getDirection(), Vector(0.6f, 0.8f));
}
