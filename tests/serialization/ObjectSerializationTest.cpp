// Writing objects, animations and view objects as attribute strings,
// reading them back, and the modified flags in between.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

using cv::Vector;
using cvtest::TestEngine;

namespace {

class Serialization : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(engine.start(), 0); }
  void TearDown() override { engine.stop(); }

  /// Loads the three-by-two, two-frame test sprite as `label`.
  void loadSprite(const std::string &label) {
    const std::string path = std::string(CORVANE_TEST_FIXTURES) + "/sprites/example.txt";
    ASSERT_EQ(cv::ResourceManager::getInstance().loadSprite(path, label), 0);
  }

  TestEngine engine;  ///< headless, 80 by 24 cells
};

// Every key a fresh object writes, in order, for an object with id `id` and
// default shape size `size`.
std::string freshObjectText(int id, float size) {
  return "id:" + std::to_string(id) +
         ",is_active:true,is_visible:true,event_count:0,"
         "box-corner-x:-0.5,box-corner-y:-0.5,box-horizontal:0.99,box-vertical:0.99,pos-x:1,pos-y:1,"
         "type:(Undefined),sprite_name:,sprite_index:0,sprite_slowdown_count:0,altitude:2,solidness:0,"
         "no_soft:false,x_direction:0,y_direction:0,speed:0,x_acceleration:0,y_acceleration:0,"
         "shape:-1,size:" +
         cv::floatForm(size) + ",color:7,opacity:255,follow_path:false,path:,path_index:0,avoid_collisions:false,";
}

// The text of the fixture `name` in the serialization fixtures.
std::string readFixture(const std::string &name) {
  std::ifstream file(std::string(CORVANE_TEST_FIXTURES) + "/serialization/" + name);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

TEST_F(Serialization, NewObjectWritesEveryGroupOnceThenNothing) {
  cv::Object object;
  EXPECT_TRUE(object.isModified());
  EXPECT_EQ(object.serialize(""), freshObjectText(object.getId(), object.getShape().getSize()));
  EXPECT_FALSE(object.isModified());
  EXPECT_EQ(object.serialize(""), "");

  // "ALL" writes every group again, but the animation only while it changed.
  const std::string all = object.serialize("ALL");
  EXPECT_EQ(all.find("sprite_name"), std::string::npos);
  EXPECT_NE(all.find("id:"), std::string::npos);
  EXPECT_NE(all.find("avoid_collisions:false,"), std::string::npos);

  // A setter raises its group and only that group is written next.
  object.setPosition(Vector(3, 4.5f));
  EXPECT_TRUE(object.isModified());
  EXPECT_TRUE(object.isModified(cv::POSITION));
  EXPECT_FALSE(object.isModified(cv::TYPE));
  EXPECT_EQ(object.serialize(""), "pos-x:3,pos-y:4.5,");
}

TEST_F(Serialization, SelectionPicksGroupsByNameWithTrailingComma) {
  struct Case {
    const char *attr;
    const char *written;
  };
  const Case cases[] = {
      {"POSITION,TYPE,", "pos-x:1,pos-y:1,type:(Undefined),"},
      {"TYPE,POSITION,", "pos-x:1,pos-y:1,type:(Undefined),"},  // always in group order
      {"FOLLOW_PATH,", "follow_path:false,path:,path_index:0,"},
      {"SPEED,DIRECTION,", "x_direction:0,y_direction:0,speed:0,"},
      {"POSITION", ""},
      {"position,", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.attr);
    cv::Object object;
    EXPECT_EQ(object.serialize(c.attr), c.written);
    EXPECT_TRUE(object.isModified(cv::ID));  // groups not written keep their flags
  }
  const std::string warning = "Object::serialize(): Warning! Attribute 'POSITION' missing trailing ','";
  EXPECT_TRUE(engine.logged(warning));
  EXPECT_FALSE(engine.logged("Object::serialize(): Warning! Attribute 'position,' missing trailing ','"));

  cv::Object object;
  object.serialize("POSITION,");
  EXPECT_FALSE(object.isModified(cv::POSITION));
  EXPECT_TRUE(object.isModified(cv::SPEED));
}

TEST_F(Serialization, AnimationChangesReachTheObjectsSelectionAndFlags) {
  loadSprite("ship");
  cv::Object object;
  ASSERT_EQ(object.setSprite("ship"), 0);
  EXPECT_NE(object.serialize("").find("sprite_name:ship,sprite_index:0,sprite_slowdown_count:0,"), std::string::npos);
  EXPECT_FALSE(object.isModified());

  object.draw();  // steps the slowdown count
  EXPECT_TRUE(object.isModified());
  EXPECT_TRUE(object.isModified(cv::ANIMATION));
  EXPECT_EQ(object.serialize(""), "sprite_name:ship,sprite_index:0,sprite_slowdown_count:1,");
  EXPECT_EQ(object.serialize("ANIMATION,"), "");  // the animation itself has not changed since

  cv::Animation animation;
  animation.setName("ship");
  EXPECT_EQ(animation.serialize("POSITION,"), "");
  EXPECT_TRUE(animation.isModified());
  EXPECT_EQ(animation.serialize("ANIMATION,"), "sprite_name:ship,sprite_index:0,sprite_slowdown_count:0,");
  EXPECT_FALSE(animation.isModified());
}

TEST_F(Serialization, ReadIdRaisesTheNextIdAboveIt) {
  std::vector<std::unique_ptr<cv::Object>> objects;
  while (objects.empty() || objects.back()->getId() < 11)
    objects.push_back(std::make_unique<cv::Object>());
  cv::Object &reader = *objects.back();
  reader.serialize("ALL");

  reader.deserialize("id:40,");
  EXPECT_EQ(reader.getId(), 40);
  EXPECT_TRUE(reader.isModified(cv::ID));
  reader.deserialize("id:5,");
  EXPECT_EQ(reader.getId(), 5);
  EXPECT_EQ(cv::Object().getId(), 41);
}

TEST_F(Serialization, IdsThatAreNoIdsAreRefused) {
  cv::Object reader;
  const int before = reader.getId();
  struct Case {
    std::string text;
    const char *message;
  };
  const Case cases[] = {
      {"id:-5,", "Object::deserialize(): Warning! id -5 not positive. Ignored."},
      {"id:0,", "Object::deserialize(): Warning! id 0 not positive. Ignored."},
      {"id:2147483648,", "Object::deserialize(): Warning! id '2147483648' is not an integer. Ignored."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    reader.deserialize(c.text);
    EXPECT_EQ(reader.getId(), before);
    EXPECT_TRUE(engine.logged(c.message));
  }
  EXPECT_EQ(cv::Object().getId(), before + 1);
}

TEST_F(Serialization, ATakenIdIsRestoredWithAWarningNamingBoth) {
  cv::Object held;
  held.setType("saucer");
  cv::Object copy;
  copy.setType("copy of saucer");
  const int copy_id = copy.getId();
  copy.deserialize("id:" + std::to_string(held.getId()) + ",");
  EXPECT_EQ(copy.getId(), held.getId());
  EXPECT_TRUE(engine.logged("Object::deserialize(): Warning! id " + std::to_string(held.getId()) +
                            " already taken by an object of type 'saucer'; the object of type 'copy of saucer' (id " +
                            std::to_string(copy_id) + ") takes it too."));
}

TEST_F(Serialization, TheHolderOfATakenIdIsFoundWhateverHappenedToIt) {
  // Made inactive, re-inserted by a new box, and holding an id it read:
  // still found. The id it left is free, and a destroyed holder holds none.
  auto held = std::make_unique<cv::Object>();
  held->setType("saucer");
  const int left_id = held->getId();
  ASSERT_EQ(held->setActive(false), 0);
  held->setBox(cv::Box(Vector(0, 0), 2, 2));
  held->deserialize("id:300,");
  cv::Object copy;
  copy.setType("copy");
  cv::Object other;
  other.setType("other");
  const std::string copy_id = std::to_string(copy.getId());

  copy.deserialize("id:300,");
  other.deserialize("id:" + std::to_string(left_id) + ",");
  held.reset();
  copy.deserialize("id:300,");  // its own id: nothing to say
  other.deserialize("id:300,");

  std::vector<std::string> taken;
  for (const std::string &message : engine.messages())
    if (message.find("already taken") != std::string::npos)
      taken.push_back(message);
  EXPECT_EQ(taken, (std::vector<std::string>{
                       "Object::deserialize(): Warning! id 300 already taken by an object of type 'saucer'; the "
                       "object of type 'copy' (id " + copy_id + ") takes it too.",
                       "Object::deserialize(): Warning! id 300 already taken by an object of type 'copy'; the object "
                       "of type 'other' (id " + std::to_string(left_id) + ") takes it too."}));
  EXPECT_EQ(other.getId(), 300);
}

TEST_F(Serialization, EveryIdTheCounterGivesSurvivesAWriteAndARead) {
  // The readers take their ids while there are plenty; then a read pushes
  // the counter up to its last three ids, and the object given each is
  // written and read back into a reader.
  std::vector<std::unique_ptr<cv::Object>> readers;
  for (int i = 0; i < 3; i++)
    readers.push_back(std::make_unique<cv::Object>());
  cv::Object pusher;
  pusher.deserialize("id:2147483644,");
  const int last_ids[] = {2147483645, 2147483646, 2147483647};
  for (int i = 0; i < 3; i++) {
    std::string text;
    {
      cv::Object writer;
      ASSERT_EQ(writer.getId(), last_ids[i]);
      text = writer.serialize("ALL");
    }
    SCOPED_TRACE(text);
    readers[i]->deserialize(text);
    EXPECT_EQ(readers[i]->getId(), last_ids[i]);
  }
  for (const std::string &message : engine.messages())
    EXPECT_NE(message.rfind("Object::", 0), 0u) << message;  // no refusal, no id taken twice

  // The counter stops at the largest int instead of overflowing: it gives it again, loudly.
  cv::Object beyond;
  EXPECT_EQ(beyond.getId(), 2147483647);
  EXPECT_TRUE(engine.logged("Object::Object(): Error! No ids left; id 2147483647 given again."));
}

TEST_F(Serialization, IncompleteGroupsAndRefusedValuesLeaveTheObject) {
  cv::LogManager::getInstance().setLogLevel(20);
  cv::Object object;
  object.setVelocity(Vector(2, 0));
  object.serialize("ALL");  // once with the animation keys, which do not come again
  const std::string before = object.serialize("ALL");
  struct Case {
    const char *text;
    const char *message;
  };
  const Case cases[] = {
      {"pos-x:3,", "Object::deserialize(): position not complete, so ignoring."},
      {"box-corner-x:1,box-corner-y:1,box-horizontal:2,", "Object::deserialize(): box not complete, so ignoring."},
      {"altitude:7,", "Object::setAltitude(): Altitude 7 not in range [0,4].  Ignored."},
      {"solidness:3,", "Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."},
      {"id:abc,", "Object::deserialize(): Warning! id 'abc' is not an integer. Ignored."},
      {"pos-x:1e99,pos-y:2,", "Object::deserialize(): Warning! pos-x '1e99' is not a finite number. Ignored."},
      {"speed:nan,", "Object::deserialize(): Warning! speed 'nan' is not a finite number. Ignored."},
      {"event_count:99999999999,", "Object::deserialize(): Warning! event_count '99999999999' is not an integer. Ignored."},
      {"shape:0,size:1,color:2,", nullptr},  // incomplete shape: no message
      {"shape:0,size:big,color:2,opacity:3,", "Object::deserialize(): Warning! size 'big' is not a finite number. Ignored."},
      {"garbage", nullptr},
      {",,::,", nullptr},
      {"", nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(object.deserialize(c.text), 0);
    if (c.message) {
      EXPECT_TRUE(engine.logged(c.message));
    }
    EXPECT_EQ(object.serialize("ALL"), before);
  }
}

TEST_F(Serialization, DirectionReadAsVelocityThenSpeed) {
  cv::Object object;
  object.deserialize("x_direction:1,y_direction:1,");
  EXPECT_FLOAT_EQ(object.getSpeed(), std::sqrt(2.0f));
  EXPECT_FLOAT_EQ(object.getDirection().getX(), 1 / std::sqrt(2.0f));
  EXPECT_FLOAT_EQ(object.getDirection().getY(), 1 / std::sqrt(2.0f));

  object.serialize("ALL");
  object.deserialize("x_direction:0,");  // the x alone: stored, no flag
  EXPECT_EQ(object.getDirection().getX(), 0);
  EXPECT_FALSE(object.isModified(cv::DIRECTION));
  object.deserialize("x_direction:0,y_direction:-1,speed:3,");
  EXPECT_EQ(object.getDirection(), Vector(0, -1));
  EXPECT_EQ(object.getSpeed(), 3);
  EXPECT_TRUE(object.isModified(cv::SPEED));
  EXPECT_TRUE(object.isModified(cv::DIRECTION));
}

TEST_F(Serialization, DirectionReadIsAUnitVector) {
  cv::Object turned;
  turned.setVelocity(Vector(-2, 0));
  turned.serialize("ALL");
  turned.deserialize(readFixture("deser-direction-not-unit.txt"));  // the x alone, 5
  EXPECT_EQ(turned.getDirection(), Vector(1, 0));
  EXPECT_EQ(turned.getSpeed(), 2);  // the x alone leaves the speed
  EXPECT_FALSE(turned.isModified(cv::DIRECTION));
  turned.setVelocity(Vector(0, 2));
  turned.deserialize("x_direction:-3,");  // with the y it had: (-3, 1) made unit
  EXPECT_FLOAT_EQ(turned.getDirection().getMagnitude(), 1);
  EXPECT_FLOAT_EQ(turned.getDirection().getX(), -3 / std::sqrt(10.0f));

  // A huge component no longer overflows the length: speed 1e30, direction
  // straight down, and the position stays finite after a world update.
  cv::Object object;
  object.deserialize(readFixture("deser-direction-overflow-speed-inf.txt"));
  EXPECT_EQ(object.getSpeed(), 1e30f);
  EXPECT_EQ(object.getDirection(), Vector(0, 1));
  EXPECT_EQ(object.getVelocity(), Vector(0, 1e30f));
  object.setPosition(Vector(10, 10));
  cv::WorldManager::getInstance().update();
  EXPECT_EQ(object.getPosition(), Vector(10, 1e30f));

  // A pair whose length is beyond the float range is refused.
  object.deserialize("x_direction:3e38,y_direction:3e38,");
  EXPECT_EQ(object.getDirection(), Vector(0, 1));
  EXPECT_TRUE(engine.logged(
      "Object::setVelocity(): Warning! Velocity (3e+38, 3e+38) gives a speed that is not finite. Ignored."));
}

TEST_F(Serialization, MotionComesBackBitForBit) {
  // The text the direction (1, 1) was first read from, then motions of every kind.
  cv::Object first;
  first.deserialize(readFixture("deser-direction-renormalized.txt"));
  std::vector<std::string> texts = {first.serialize("SPEED,DIRECTION,")};
  const Vector velocities[] = {Vector(1, 1),      Vector(0.1f, 0.3f), Vector(-3, 4e-7f), Vector(1e-30f, 1e-30f),
                               Vector(2e30f, 1), Vector(0, -0.5f),    Vector(0, 0)};
  for (const Vector &v : velocities) {
    cv::Object object;
    object.setVelocity(v);
    texts.push_back(object.serialize("SPEED,DIRECTION,"));
  }
  for (const std::string &text : texts) {
    SCOPED_TRACE(text);
    cv::Object original;
    original.deserialize(text);
    const std::string written = original.serialize("SPEED,DIRECTION,");
    cv::Object copy;
    copy.deserialize(written);
    EXPECT_EQ(copy.getDirection(), original.getDirection());
    EXPECT_EQ(copy.getSpeed(), original.getSpeed());
    EXPECT_EQ(copy.getVelocity(), original.getVelocity());
    EXPECT_EQ(copy.serialize("SPEED,DIRECTION,"), written);
  }
  // The unit direction keeps its last digit.
  EXPECT_NE(texts[0].find("x_direction:0.70710677,y_direction:0.70710677,"), std::string::npos);
}

TEST_F(Serialization, EventsAreReplacedAndBoundedByTheObjectsCapacity) {
  cv::Object object;
  ASSERT_EQ(object.registerInterest("old"), 0);
  object.deserialize("event_count:2,event_name[0]:cv-step,event_name[1]:custom,");
  EXPECT_EQ(object.serialize("EVENTS,"), "event_count:2,event_name[0]:cv-step,event_name[1]:custom,");

  std::string thousand = "event_count:1000,";
  for (int i = 0; i < 1000; i++)
    thousand += "event_name[" + std::to_string(i) + "]:e" + std::to_string(i) + ",";
  object.deserialize(thousand);
  const std::string written = object.serialize("EVENTS,");
  EXPECT_EQ(written.rfind("event_count:100,", 0), 0u);
  EXPECT_NE(written.find("event_name[99]:e99,"), std::string::npos);
  EXPECT_TRUE(engine.logged("Object::deserialize(): Warning! event_count 1000 above maximum (100). Reading the first 100."));

  // A huge count with nothing behind it reads no more than that either.
  object.deserialize("event_count:2147483647,");
  EXPECT_EQ(object.serialize("EVENTS,"), "event_count:0,");
}

TEST_F(Serialization, PathAndItsPlaceComeBack) {
  cv::Object object;
  object.deserialize("path:1;2|junk|3;4|,");
  EXPECT_EQ(object.getPath().getNodes(), std::vector<Vector>{Vector(1, 2)});
  EXPECT_TRUE(engine.logged("Object::deserialize(): malformed node junk|3;4|."));
  EXPECT_TRUE(engine.logged("\tNot added."));

  struct Case {
    const char *text;
    int index;
    bool done;
  };
  const Case cases[] = {
      {"path:1;2|3;4|5;6|,path_index:2,", 2, false},
      {"path:1;2|3;4|5;6|,path_index:3,", 3, true},  // followed to its end
      {"path:1;2|3;4|5;6|,path_index:7,", 0, false},
      {"path:1;2|3;4|5;6|,path_index:-1,", 0, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    object.deserialize(c.text);
    EXPECT_EQ(object.getPath().getNodeCount(), 3);
    EXPECT_EQ(object.getPath().getIndex(), c.index);
    EXPECT_EQ(object.getPath().isDone(), c.done);
  }
  EXPECT_TRUE(engine.logged("Object::deserialize(): Warning! path_index 7 not in range [0,3]. Ignored."));

  // Following read alone steers towards the current node; read with a
  // direction, the direction read stays.
  cv::Object follower;
  follower.deserialize("path:4;5|,follow_path:true,");
  EXPECT_TRUE(follower.getFollowPath());
  EXPECT_EQ(follower.getDirection(), Vector(0.6f, 0.8f));
  follower.deserialize("x_direction:-1,y_direction:0,follow_path:true,");
  EXPECT_EQ(follower.getDirection(), Vector(-1, 0));
}

TEST_F(Serialization, RoundTripGivesBackTheSameObject) {
  loadSprite("ship");
  cv::Object original;
  original.setType("enemy ship, big");
  ASSERT_EQ(original.setSprite("ship"), 0);
  original.setBox(cv::Box(Vector(-0.5f, -1.25f), 2.5f, 0.99f));
  original.setPosition(Vector(80.0f * 5 / 6, 7.1f));
  original.setVelocity(Vector(3, 4));
  original.setAcceleration(Vector(0.01f, -0.2f));
  original.setAltitude(1);
  original.setSolidness(cv::SOFT);
  original.setNoSoft(true);
  original.setAvoidCollisions(true);
  cv::Shape shape = original.getShape();
  shape.setType(cv::TRIANGLE);
  shape.setSize(7.9f);
  shape.setColor(cv::RED);
  shape.setOpacity(128);
  original.setShape(shape);
  cv::Path path({Vector(10, 5), Vector(11.5f, 6), Vector(-2, 1e6f)});
  path.setIndex(1);
  original.setPath(path);
  original.setFollowPath(true);
  original.setVelocity(Vector(3, 4));  // a direction other than the one towards the path
  ASSERT_EQ(original.registerInterest("cv-step"), 0);
  ASSERT_EQ(original.registerInterest("custom"), 0);
  original.draw();
  original.draw();  // the second frame's count
  ASSERT_EQ(original.setActive(false), 0);
  ASSERT_EQ(original.setVisible(false), 0);

  const std::string text = original.serialize("ALL");
  cv::Object copy;
  ASSERT_EQ(copy.deserialize(text), 0);

  EXPECT_EQ(copy.getId(), original.getId());
  EXPECT_EQ(copy.getType(), "enemy ship, big");
  EXPECT_EQ(copy.getBox(), original.getBox());
  EXPECT_EQ(copy.getBox().getCorner(), Vector(-0.5f, -1.25f));
  EXPECT_EQ(copy.getPosition(), original.getPosition());
  EXPECT_EQ(copy.getDirection(), original.getDirection());
  EXPECT_EQ(copy.getSpeed(), original.getSpeed());
  EXPECT_EQ(copy.getAcceleration(), original.getAcceleration());
  EXPECT_EQ(copy.getAltitude(), 1);
  EXPECT_EQ(copy.getSolidness(), cv::SOFT);
  EXPECT_TRUE(copy.getNoSoft());
  EXPECT_TRUE(copy.getAvoidCollisions());
  EXPECT_FALSE(copy.isActive());
  EXPECT_FALSE(copy.isVisible());
  EXPECT_EQ(copy.getShape().getType(), cv::TRIANGLE);
  EXPECT_EQ(copy.getShape().getSize(), 7.9f);
  EXPECT_EQ(copy.getShape().getColor(), cv::RED);
  EXPECT_EQ(copy.getShape().getOpacity(), 128);
  EXPECT_EQ(copy.getPath().getNodes(), path.getNodes());
  EXPECT_EQ(copy.getPath().getIndex(), 1);
  EXPECT_TRUE(copy.getFollowPath());
  EXPECT_EQ(copy.getAnimation().getSprite(), original.getAnimation().getSprite());
  EXPECT_EQ(copy.getAnimation().getIndex(), original.getAnimation().getIndex());
  EXPECT_EQ(copy.getAnimation().getSlowdownCount(), 2);
  copy.serialize("");  // lowers the animation flag the reading raised, as writing did for the original
  EXPECT_EQ(copy.serialize("ALL"), original.serialize("ALL"));  // events included, in order
  EXPECT_NE(text.find("event_count:2,event_name[0]:cv-step,event_name[1]:custom,"), std::string::npos);

  // The read interests are live registrations.
  EXPECT_EQ(copy.unregisterInterest("custom"), 0);
}

TEST_F(Serialization, UnknownSpriteKeepsTheNameRead) {
  cv::Animation animation;
  animation.setModified(false);
  EXPECT_EQ(animation.deserialize("sprite_name:nosuch,sprite_index:2,sprite_slowdown_count:-1,"), 0);
  EXPECT_TRUE(engine.logged("Animation::Match(): Sprite 'nosuch' not found"));
  EXPECT_EQ(animation.getSprite(), nullptr);
  EXPECT_EQ(animation.getName(), "nosuch");
  EXPECT_EQ(animation.getIndex(), 2);
  EXPECT_EQ(animation.getSlowdownCount(), -1);
  EXPECT_TRUE(animation.isModified());

  animation.deserialize("sprite_index:x,");
  EXPECT_EQ(animation.getIndex(), 2);
  EXPECT_TRUE(engine.logged("Animation::deserialize(): Warning! sprite_index 'x' is not an integer. Ignored."));
}

TEST_F(Serialization, ViewObjectWritesItsGroupsAfterTheObjects) {
  cv::ViewObject view_object;
  const std::string all = view_object.serialize("");
  EXPECT_NE(all.find("avoid_collisions:false,view_string:,view_value:0,view_border:true,view_color:7,"
                     "view_location:1,view_draw_value:true,"),
            std::string::npos);
  EXPECT_FALSE(view_object.isModified());
  EXPECT_EQ(view_object.serialize(""), "");

  view_object.setValue(3);
  EXPECT_TRUE(view_object.isModified());
  EXPECT_TRUE(view_object.isModified(cv::VALUE));
  EXPECT_EQ(view_object.serialize(""), "view_value:3,");
  EXPECT_EQ(view_object.serialize("DRAW_VALUE,"), "view_value:3,view_draw_value:true,");
}

TEST_F(Serialization, ViewObjectRoundTripsItsSixAttributes) {
  cv::ViewObject original;
  original.setViewString("RFL POWER");
  original.setValue(-7);
  original.setBorder(false);
  original.setColor(cv::RED);
  original.setLocation(cv::BOTTOM_LEFT);
  original.setDrawValue(false);
  cv::ViewObject placed;
  placed.setPosition(Vector(12.5f, 3));

  for (cv::ViewObject *source : {&original, &placed}) {
    cv::ViewObject copy;
    copy.deserialize(source->serialize("ALL"));
    EXPECT_EQ(copy.getViewString(), source->getViewString());
    EXPECT_EQ(copy.getValue(), source->getValue());
    EXPECT_EQ(copy.getBorder(), source->getBorder());
    EXPECT_EQ(copy.getColor(), source->getColor());
    EXPECT_EQ(copy.getLocation(), source->getLocation());
    EXPECT_EQ(copy.getDrawValue(), source->getDrawValue());
    EXPECT_EQ(copy.getPosition(), source->getPosition());
  }
  EXPECT_FALSE(engine.logged("ViewObject::setLocation(): Warning! Location out of range (-1). Ignored."));

  cv::ViewObject refusing;
  refusing.deserialize("view_location:12,view_value:abc,");
  EXPECT_TRUE(engine.logged("ViewObject::deserialize(): Warning! view_value 'abc' is not an integer. Ignored."));
  EXPECT_EQ(refusing.getValue(), 0);
  EXPECT_TRUE(engine.logged("ViewObject::setLocation(): Warning! Location out of range (12). Ignored."));
  EXPECT_EQ(refusing.getLocation(), cv::TOP_CENTER);
  EXPECT_EQ(refusing.getPosition(), Vector(40, 1));
}
