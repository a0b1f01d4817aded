#include "world/Object.h"

#include <climits>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "core/Event.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "core/ObjectList.h"
#include "core/ObjectListIterator.h"
#include "foundation/LogManager.h"
#include "hud/match.h"
#include "hud/serialization.h"
#include "network/NetworkManager.h"
#include "path/EventPath.h"
#include "path/PathFind.h"
#include "path/PathManager.h"
#include "presentation/input/InputManager.h"
#include "presentation/sprites/ResourceManager.h"
#include "world/WorldManager.h"

namespace cv {

namespace {

// Ids run from 1 to MAX_ID, the largest int. The counter hands each out
// once, in order; after MAX_ID it gives MAX_ID again, loudly, instead of
// overflowing. A read may set any of them, so that every id the counter
// gives survives a write and a read.
const int MAX_ID = INT_MAX;

// The id the next new object gets. It never passes MAX_ID.
int next_id = 1;
// Whether MAX_ID has been given as an id already.
bool last_id_given = false;

// Hands out the next id.
int takeNextId() {
  if (next_id < MAX_ID)
    return next_id++;
  if (last_id_given)
    LogManager::getInstance().writeLog("Object::Object(): Error! No ids left; id %d given again.", next_id);
  last_id_given = true;
  return next_id;
}

// Counts `taken`, an id from 1 to MAX_ID that a read set, as handed out by
// the counter, with every id below it: new objects get the ids above it,
// and after MAX_ID they get MAX_ID again.
void passId(int taken) {
  if (taken < next_id || last_id_given)
    return;
  next_id = taken;
  takeNextId();
}

// The object in the world other than `self` that took `wanted_id` first,
// or null. The world's id index answers without walking every object.
const Object *holderOf(int wanted_id, const Object *self) {
  ObjectList holders = WorldManager::getInstance().getSceneGraph().objectsWithId(wanted_id);
  for (ObjectListIterator it(&holders); !it.isDone(); it.next())
    if (it.currentObject() != self)
      return it.currentObject();
  return nullptr;
}

// The manager that keeps interest in `event_type`: input for keyboard and
// mouse, the game manager for steps, the network manager for the four
// network types, and the world manager for everything else.
Manager &ownerOf(const std::string &event_type) {
  if (event_type == "cv-keyboard" || event_type == "cv-mouse")
    return InputManager::getInstance();
  if (event_type == STEP_EVENT)
    return GameManager::getInstance();
  if (event_type == "cv-network" || event_type == "cv-keyboard-network" || event_type == "cv-mouse-network" ||
      event_type == "cv-custom-network")
    return NetworkManager::getInstance();
  return WorldManager::getInstance();
}

}  // namespace

Object::Object()
    : id(takeNextId()),
      type("(Undefined)"),
      is_active(true),
      is_visible(true),
      box(Vector(-0.5f, -0.5f), 0.99f, 0.99f),
      position(1, 1),
      direction(),
      speed(0),
      acceleration(),
      altitude(2),
      solidness(HARD),
      no_soft(false),
      event_count(0),
      path_search(nullptr),
      follow_path(false),
      avoid_collisions(false) {
  for (bool &flag : modified)
    flag = true;
  shape.setType(SHAPE_UNDEFINED);
  WorldManager::getInstance().insertObject(this);
}

Object::~Object() {
  // Withdraw interests from the last registered to the first. Walking by
  // index means a manager refusing one cannot stall the destructor.
  for (int i = event_count - 1; i >= 0; i--)
    unregisterInterest(event_name[i]);
  endPathSearch();
  // Searches of other objects that aim at this one lead to their goal cells instead.
  PathManager::getInstance().forgetTarget(this);
  WorldManager::getInstance().removeObject(this);
}

int Object::getId() const { return id; }

std::string Object::getType() const { return type; }

void Object::setType(std::string new_type) {
  WorldManager::getInstance().getSceneGraph().updateType(this, new_type);
  type = std::move(new_type);
  setModified(TYPE);
}

bool Object::isActive() const { return is_active; }

int Object::setActive(bool active) {
  if (active == is_active)
    return 0;
  if (WorldManager::getInstance().getSceneGraph().updateActive(this, active) == -1)
    return -1;
  is_active = active;
  setModified(ACTIVE);
  return 0;
}

bool Object::isVisible() const { return is_visible; }

int Object::setVisible(bool visible) {
  if (visible == is_visible)
    return 0;
  if (WorldManager::getInstance().getSceneGraph().updateVisible(this, visible) == -1)
    return -1;
  is_visible = visible;
  setModified(VISIBLE);
  return 0;
}

Box Object::getBox() const { return box; }

void Object::setBox(Box new_box) {
  if (new_box == box)
    return;
  // Re-inserting puts the object at the end of every list it is in.
  SceneGraph &scene_graph = WorldManager::getInstance().getSceneGraph();
  const bool in_world = scene_graph.removeObject(this) == 0;
  box = new_box;
  if (in_world)
    scene_graph.insertObject(this);
  setModified(BOX);
}

Vector Object::getPosition() const { return position; }

int Object::setPosition(Vector new_position) {
  if (new_position == position)
    return 0;
  if (!new_position.isFinite()) {
    LogManager::getInstance().writeLog("Object::setPosition(): Warning! Position (%g, %g) not finite. Ignored.",
                                       static_cast<double>(new_position.getX()),
                                       static_cast<double>(new_position.getY()));
    return -1;
  }
  WorldManager::getInstance().getSceneGraph().updatePosition(this, new_position);
  position = new_position;
  setModified(POSITION);
  return 0;
}

Vector Object::getDirection() const { return direction; }

int Object::setDirection(Vector new_direction) {
  if (!new_direction.isFinite()) {
    LogManager::getInstance().writeLog("Object::setDirection(): Warning! Direction (%g, %g) not finite. Ignored.",
                                       static_cast<double>(new_direction.getX()),
                                       static_cast<double>(new_direction.getY()));
    return -1;
  }
  new_direction.normalize();
  direction = new_direction;
  setModified(DIRECTION);
  return 0;
}

float Object::getSpeed() const { return speed; }

int Object::setSpeed(float new_speed) {
  if (!std::isfinite(new_speed)) {
    LogManager::getInstance().writeLog("Object::setSpeed(): Warning! Speed %g not finite. Ignored.",
                                       static_cast<double>(new_speed));
    return -1;
  }
  speed = new_speed;
  setModified(SPEED);
  return 0;
}

Vector Object::getAcceleration() const { return acceleration; }

int Object::setAcceleration(Vector new_acceleration) {
  if (!new_acceleration.isFinite()) {
    LogManager::getInstance().writeLog(
        "Object::setAcceleration(): Warning! Acceleration (%g, %g) not finite. Ignored.",
        static_cast<double>(new_acceleration.getX()), static_cast<double>(new_acceleration.getY()));
    return -1;
  }
  acceleration = new_acceleration;
  setModified(ACCELERATION);
  return 0;
}

Vector Object::getVelocity() const {
  Vector velocity = direction;
  velocity.scale(speed);
  return velocity;
}

int Object::setVelocity(Vector velocity) {
  const float magnitude = velocity.getMagnitude();
  if (!std::isfinite(magnitude)) {
    LogManager::getInstance().writeLog(
        "Object::setVelocity(): Warning! Velocity (%g, %g) gives a speed that is not finite. Ignored.",
        static_cast<double>(velocity.getX()), static_cast<double>(velocity.getY()));
    return -1;
  }
  speed = magnitude;
  velocity.normalize();
  direction = velocity;
  setModified(SPEED);
  setModified(DIRECTION);
  return 0;
}

Path Object::getPath() const { return path; }

void Object::setPath(Path new_path) {
  path = std::move(new_path);
  setModified(PATH);
}

bool Object::getFollowPath() const { return follow_path; }

void Object::setFollowPath(bool new_follow_path) {
  follow_path = new_follow_path;
  if (!path.isDone())
    setDirection(path.currentNode() - position);
  setModified(FOLLOW_PATH);
}

void Object::updateVelocity() {
  if (acceleration == Vector(0, 0))
    return;
  setVelocity(getVelocity() + acceleration);
}

Vector Object::predictPosition() const { return position + getVelocity(); }

int Object::getAltitude() const { return altitude; }

int Object::setAltitude(int new_altitude) {
  if (new_altitude == altitude)
    return 0;
  if (new_altitude < MIN_ALTITUDE || new_altitude > MAX_ALTITUDE) {
    LogManager::getInstance().writeLog("Object::setAltitude(): Altitude %d not in range [%d,%d].  Ignored.",
                                       new_altitude, MIN_ALTITUDE, MAX_ALTITUDE);
    return -1;
  }
  if (WorldManager::getInstance().getSceneGraph().updateAltitude(this, new_altitude) == -1)
    return -1;
  altitude = new_altitude;
  setModified(ALTITUDE);
  return 0;
}

Solidness Object::getSolidness() const { return solidness; }

bool Object::isSolid() const { return solidness == HARD || solidness == SOFT; }

int Object::setSolidness(Solidness new_solidness) {
  if (new_solidness == solidness)
    return 0;
  if (new_solidness != HARD && new_solidness != SOFT && new_solidness != SPECTRAL) {
    LogManager::getInstance().writeLog("Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
                                       static_cast<int>(new_solidness));
    return -1;
  }
  if (WorldManager::getInstance().getSceneGraph().updateSolidness(this, new_solidness) == -1)
    return -1;
  solidness = new_solidness;
  setModified(SOLIDNESS);
  return 0;
}

bool Object::getNoSoft() const { return no_soft; }

void Object::setNoSoft(bool new_no_soft) {
  no_soft = new_no_soft;
  setModified(NO_SOFT);
}

bool Object::getAvoidCollisions() const { return avoid_collisions; }

void Object::setAvoidCollisions(bool new_avoid_collisions) {
  avoid_collisions = new_avoid_collisions;
  setModified(AVOID_COLLISIONS);
}

Animation Object::getAnimation() const { return animation; }

void Object::setAnimation(Animation new_animation) { animation = std::move(new_animation); }

int Object::setSprite(std::string sprite_label) {
  Sprite *sprite = ResourceManager::getInstance().getSprite(sprite_label);
  if (!sprite) {
    LogManager::getInstance().writeLog("Object::setSprite(): Warning! Sprite '%s' not found", sprite_label.c_str());
    return -1;
  }
  animation.setSprite(sprite);
  setBox(animation.getBox());
  setModified(BOX);
  return 0;
}

Shape Object::getShape() const { return shape; }

void Object::setShape(Shape new_shape) {
  shape = new_shape;
  setModified(SHAPE);
}

int Object::registerInterest(std::string event_type) {
  if (event_count == MAX_OBJ_EVENTS) {
    LogManager::getInstance().writeLog(
        "Object::registerInterest(): maximum (%d) reached, cannot register for event '%s'", MAX_OBJ_EVENTS,
        event_type.c_str());
    return -1;
  }
  if (ownerOf(event_type).registerInterest(this, event_type) == -1)
    return -1;
  event_name[event_count++] = event_type;
  setModified(EVENTS);
  return 0;
}

int Object::unregisterInterest(std::string event_type) {
  int found = -1;
  for (int i = 0; i < event_count && found == -1; i++)
    if (event_name[i] == event_type)
      found = i;
  if (found == -1) {
    LogManager::getInstance().writeLog("Object::unregisterInterest(): event '%s' not previously registered",
                                       event_type.c_str());
    return -1;
  }
  if (ownerOf(event_type).unregisterInterest(this, event_type) == -1)
    return -1;
  for (int i = found; i < event_count - 1; i++)
    event_name[i] = event_name[i + 1];
  event_count--;
  event_name[event_count].clear();
  setModified(EVENTS);
  return 0;
}

int Object::eventHandler(const Event *event) {
  if (event->getType() != PATH_EVENT)
    return 0;
  const auto *path_event = dynamic_cast<const EventPath *>(event);
  if (!path_event) {
    LogManager::getInstance().writeLog("Object::eventHandler(): Error! Dynamic cast to EventPath failed.");
    return 0;
  }
  // A found path is followed at once; a failed search leaves the old path as it was.
  if (path_event->getStatus() == FOUND) {
    setPath(path_event->getPath());
    setFollowPath(true);
  }
  endPathSearch();
  return 1;
}

int Object::findPath(Vector goal, Object *target) {
  std::unique_ptr<PathFind> search = PathFind::create(this, goal, target);
  if (!search)
    return -1;
  endPathSearch();
  path_search = search.release();
  return PathManager::getInstance().addPathFind(path_search);
}

void Object::endPathSearch() {
  if (!path_search)
    return;
  PathManager::getInstance().removePathFind(path_search);
  delete path_search;
  path_search = nullptr;
}

int Object::draw() {
  const int result = animation.draw(position);
  if (shape.getType() != SHAPE_UNDEFINED)
    shape.draw(position);
  return result;
}

std::string Object::serialize(std::string attr) {
  LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(20, "Object::serialize(): attr is '%s'", attr.c_str());
  if (!attr.empty() && attr != "ALL" && attr.back() != ',')
    log_manager.writeLog("Object::serialize(): Warning! Attribute '%s' missing trailing ','", attr.c_str());

  std::string out;
  if (takeGroup(attr, "ID", ID))
    appendAttribute(out, "id", intForm(id));
  if (takeGroup(attr, "ACTIVE", ACTIVE))
    appendAttribute(out, "is_active", boolForm(is_active));
  if (takeGroup(attr, "VISIBLE", VISIBLE))
    appendAttribute(out, "is_visible", boolForm(is_visible));
  if (takeGroup(attr, "EVENTS", EVENTS)) {
    appendAttribute(out, "event_count", intForm(event_count));
    for (int i = 0; i < event_count; i++)
      appendAttribute(out, "event_name[" + std::to_string(i) + "]", textForm(event_name[i]));
  }
  if (takeGroup(attr, "BOX", BOX)) {
    appendAttribute(out, "box-corner-x", floatForm(box.getCorner().getX()));
    appendAttribute(out, "box-corner-y", floatForm(box.getCorner().getY()));
    appendAttribute(out, "box-horizontal", floatForm(box.getHorizontal()));
    appendAttribute(out, "box-vertical", floatForm(box.getVertical()));
  }
  if (takeGroup(attr, "POSITION", POSITION)) {
    appendAttribute(out, "pos-x", floatForm(position.getX()));
    appendAttribute(out, "pos-y", floatForm(position.getY()));
  }
  if (takeGroup(attr, "TYPE", TYPE))
    appendAttribute(out, "type", textForm(type));
  // Frames stepping and new sprites raise only the animation's own flag, so
  // a changed animation counts as a changed group here too.
  if (selectsGroup(attr, "ANIMATION", modified[ANIMATION] || animation.isModified())) {
    out += animation.serialize("");
    modified[ANIMATION] = false;
  }
  if (takeGroup(attr, "ALTITUDE", ALTITUDE))
    appendAttribute(out, "altitude", intForm(altitude));
  if (takeGroup(attr, "SOLIDNESS", SOLIDNESS))
    appendAttribute(out, "solidness", intForm(solidness));
  if (takeGroup(attr, "NO_SOFT", NO_SOFT))
    appendAttribute(out, "no_soft", boolForm(no_soft));
  if (takeGroup(attr, "DIRECTION", DIRECTION)) {
    appendAttribute(out, "x_direction", floatForm(direction.getX()));
    appendAttribute(out, "y_direction", floatForm(direction.getY()));
  }
  if (takeGroup(attr, "SPEED", SPEED))
    appendAttribute(out, "speed", floatForm(speed));
  if (takeGroup(attr, "ACCELERATION", ACCELERATION)) {
    appendAttribute(out, "x_acceleration", floatForm(acceleration.getX()));
    appendAttribute(out, "y_acceleration", floatForm(acceleration.getY()));
  }
  if (takeGroup(attr, "SHAPE", SHAPE)) {
    appendAttribute(out, "shape", intForm(shape.getType()));
    appendAttribute(out, "size", floatForm(shape.getSize()));
    appendAttribute(out, "color", intForm(shape.getColor()));
    appendAttribute(out, "opacity", intForm(shape.getOpacity()));
  }
  if (takeGroup(attr, "FOLLOW_PATH", FOLLOW_PATH))
    appendAttribute(out, "follow_path", boolForm(follow_path));
  if (takeGroup(attr, "PATH", PATH)) {
    appendAttribute(out, "path", pathForm(path));
    appendAttribute(out, "path_index", intForm(path.getIndex()));
  }
  if (takeGroup(attr, "AVOID_COLLISIONS", AVOID_COLLISIONS))
    appendAttribute(out, "avoid_collisions", boolForm(avoid_collisions));
  return out;
}

bool Object::takeGroup(const std::string &attr, const char *name, ObjectAttribute attribute) {
  if (!selectsGroup(attr, name, modified[attribute]))
    return false;
  modified[attribute] = false;
  return true;
}

int Object::deserialize(std::string text) {
  match(text, "");
  readId();
  readActivity();
  readEvents();
  readBox();
  readPositionAndType();
  animation.deserialize(text);  // parses the text anew: the same table results
  readLayering();
  const bool direction_given = !match("", "x_direction").empty() || !match("", "y_direction").empty();
  readMotion();
  readShape();
  readPath();
  readPathSettings(direction_given);
  return 0;
}

namespace {

// Who logs what the readers below refuse.
const char READER[] = "Object::deserialize()";

}  // namespace

void Object::readId() {
  int read_id = 0;
  if (!lookUpInt(READER, "id", read_id))
    return;
  LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(20, "Object::deserialize(): id is %d", read_id);
  if (read_id == id)
    return;
  if (read_id < 1) {
    log_manager.writeLog("Object::deserialize(): Warning! id %d not positive. Ignored.", read_id);
    return;
  }
  // Copies of remote objects keep their ids, so a taken id is still
  // restored, but never without a word.
  if (const Object *holder = holderOf(read_id, this))
    log_manager.writeLog(
        "Object::deserialize(): Warning! id %d already taken by an object of type '%s'; the object of type '%s' "
        "(id %d) takes it too.",
        read_id, holder->getType().c_str(), type.c_str(), id);
  passId(read_id);
  WorldManager::getInstance().getSceneGraph().updateId(this, read_id);  // -1 outside the world
  id = read_id;
  setModified(ID);
}

void Object::readActivity() {
  LogManager &log_manager = LogManager::getInstance();
  const std::string active = match("", "is_active");
  if (!active.empty()) {
    log_manager.writeLog(20, "Object::deserialize(): is_active is %s", active.c_str());
    setActive(readBool(active));
  }
  const std::string visible = match("", "is_visible");
  if (!visible.empty()) {
    log_manager.writeLog(20, "Object::deserialize(): is_visible is %s", visible.c_str());
    setVisible(readBool(visible));
  }
}

void Object::readEvents() {
  int count = 0;
  if (!lookUpInt(READER, "event_count", count))
    return;
  for (int i = event_count - 1; i >= 0; i--)
    unregisterInterest(event_name[i]);
  LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(20, "Object::deserialize(): event_count is %d", count);
  // No object holds more names than the maximum, so no more are looked up:
  // whatever count a text claims, the reading stays short.
  if (count > MAX_OBJ_EVENTS) {
    log_manager.writeLog("Object::deserialize(): Warning! event_count %d above maximum (%d). Reading the first %d.",
                         count, MAX_OBJ_EVENTS, MAX_OBJ_EVENTS);
    count = MAX_OBJ_EVENTS;
  }
  for (int i = 0; i < count; i++) {
    const std::string key = "event_name[" + std::to_string(i) + "]";
    const std::string name = readText(match("", key));
    if (name.empty())
      continue;
    log_manager.writeLog(20, "Object::deserialize(): event_name[%d] is '%s'", i, name.c_str());
    registerInterest(name);
  }
}

void Object::readBox() {
  const char *keys[] = {"box-corner-x", "box-corner-y", "box-horizontal", "box-vertical"};
  float values[4] = {0, 0, 0, 0};
  bool complete = true;
  LogManager &log_manager = LogManager::getInstance();
  for (int i = 0; i < 4; i++) {
    if (lookUpFloat(READER, keys[i], values[i]))
      log_manager.writeLog(20, "Object::deserialize(): %s is %g", keys[i], static_cast<double>(values[i]));
    else
      complete = false;
  }
  if (complete)
    setBox(Box(Vector(values[0], values[1]), values[2], values[3]));
  else
    log_manager.writeLog(20, "Object::deserialize(): box not complete, so ignoring.");
}

void Object::readPositionAndType() {
  LogManager &log_manager = LogManager::getInstance();
  float x = 0;
  float y = 0;
  const bool has_x = lookUpFloat(READER, "pos-x", x);
  if (has_x)
    log_manager.writeLog(20, "Object::deserialize(): pos-x is %.2f", static_cast<double>(x));
  const bool has_y = lookUpFloat(READER, "pos-y", y);
  if (has_y)
    log_manager.writeLog(20, "Object::deserialize(): pos-y is %.2f", static_cast<double>(y));
  if (has_x && has_y)
    setPosition(Vector(x, y));
  else
    log_manager.writeLog(20, "Object::deserialize(): position not complete, so ignoring.");

  const std::string read_type = readText(match("", "type"));
  if (!read_type.empty()) {
    log_manager.writeLog(20, "Object::deserialize(): type is %s", read_type.c_str());
    setType(read_type);
  }
}

void Object::readLayering() {
  LogManager &log_manager = LogManager::getInstance();
  int number = 0;
  if (lookUpInt(READER, "altitude", number)) {
    log_manager.writeLog(20, "Object::deserialize(): altitude is %d", number);
    setAltitude(number);
  }
  if (lookUpInt(READER, "solidness", number)) {
    log_manager.writeLog(20, "Object::deserialize(): solidness is %d", number);
    setSolidness(static_cast<Solidness>(number));
  }
  const std::string read_no_soft = match("", "no_soft");
  if (!read_no_soft.empty()) {
    log_manager.writeLog(20, "Object::deserialize(): no_soft is %s", read_no_soft.c_str());
    no_soft = readBool(read_no_soft);
    setModified(NO_SOFT);
  }
}

void Object::readMotion() {
  LogManager &log_manager = LogManager::getInstance();
  float value = 0;
  // The direction read is made a unit vector; one written from a unit
  // direction comes back bit for bit, as normalising keeps it.
  Vector read_direction = direction;
  const bool has_x = lookUpFloat(READER, "x_direction", value);
  if (has_x) {
    log_manager.writeLog(20, "Object::deserialize(): x_direction is %.2f", static_cast<double>(value));
    read_direction.setX(value);
  }
  if (lookUpFloat(READER, "y_direction", value)) {
    log_manager.writeLog(20, "Object::deserialize(): y_direction is %.2f", static_cast<double>(value));
    // The pair is taken as a velocity: the speed becomes its length.
    setVelocity(Vector(read_direction.getX(), value));
  } else if (has_x) {
    // The x alone turns the direction, unmarked; the speed stays.
    read_direction.normalize();
    direction = read_direction;
  }
  if (lookUpFloat(READER, "speed", value)) {
    log_manager.writeLog(20, "Object::deserialize(): speed is %.2f", static_cast<double>(value));
    setSpeed(value);
  }
  if (lookUpFloat(READER, "x_acceleration", value)) {
    log_manager.writeLog(20, "Object::deserialize(): x_acceleration is %.2f", static_cast<double>(value));
    acceleration.setX(value);
    setModified(ACCELERATION);
  }
  if (lookUpFloat(READER, "y_acceleration", value)) {
    log_manager.writeLog(20, "Object::deserialize(): y_acceleration is %.2f", static_cast<double>(value));
    acceleration.setY(value);
    setModified(ACCELERATION);
  }
}

void Object::readShape() {
  LogManager &log_manager = LogManager::getInstance();
  const char *keys[] = {"shape", "size", "color", "opacity"};
  bool present = true;
  for (const char *key : keys) {
    const std::string value = match("", key);
    if (value.empty())
      present = false;
    else
      log_manager.writeLog(20, "Object::deserialize(): %s is '%s'", key, value.c_str());
  }
  if (!present)
    return;
  int read_type = 0;
  float read_size = 0;
  int read_color = 0;
  int read_opacity = 0;
  if (!lookUpInt(READER, "shape", read_type) || !lookUpFloat(READER, "size", read_size) ||
      !lookUpInt(READER, "color", read_color) || !lookUpInt(READER, "opacity", read_opacity))
    return;
  Shape read_shape = shape;
  read_shape.setType(read_type);
  read_shape.setSize(read_size);
  read_shape.setColor(static_cast<Color>(read_color));
  read_shape.setOpacity(static_cast<unsigned char>(read_opacity & 0xFF));
  shape = read_shape;
  setModified(SHAPE);
}

void Object::readPath() {
  LogManager &log_manager = LogManager::getInstance();
  const std::string text = match("", "path");
  if (!text.empty()) {
    std::vector<Vector> nodes;
    std::string malformed;
    if (cv::readPath(text, nodes, malformed) == -1) {
      log_manager.writeLog("Object::deserialize(): malformed node %s.", malformed.c_str());
      log_manager.writeLog("\tNot added.");
    }
    setPath(Path(std::move(nodes)));
  }
  int index = 0;
  if (!lookUpInt(READER, "path_index", index))
    return;
  log_manager.writeLog(20, "Object::deserialize(): path_index is %d", index);
  const int node_count = path.getNodeCount();
  if (index == node_count) {
    // A path followed to its end keeps its index at the node count.
    while (!path.isDone())
      path.next();
  } else if (path.setIndex(index) == -1) {
    log_manager.writeLog("Object::deserialize(): Warning! path_index %d not in range [0,%d]. Ignored.", index,
                         node_count);
    return;
  }
  setModified(PATH);
}

void Object::readPathSettings(bool direction_given) {
  LogManager &log_manager = LogManager::getInstance();
  const std::string read_follow = match("", "follow_path");
  if (!read_follow.empty()) {
    log_manager.writeLog(20, "Object::deserialize(): follow_path is %s", read_follow.c_str());
    if (direction_given) {
      // The direction read is the one the object had: do not steer anew.
      follow_path = readBool(read_follow);
      setModified(FOLLOW_PATH);
    } else {
      setFollowPath(readBool(read_follow));
    }
  }
  const std::string read_avoid = match("", "avoid_collisions");
  if (!read_avoid.empty()) {
    log_manager.writeLog(20, "Object::deserialize(): avoid_collisions is %s", read_avoid.c_str());
    avoid_collisions = readBool(read_avoid);
    setModified(AVOID_COLLISIONS);
  }
}

bool Object::isModified() const {
  const LogManager &log_manager = LogManager::getInstance();
  for (int i = 0; i < OBJECT_ATTRIBUTE_COUNT; i++) {
    const bool raised = isModified(static_cast<ObjectAttribute>(i));
    log_manager.writeLog(20, "Object::isModified(): %d is %s", i, raised ? "true" : "false");
    if (raised)
      return true;
  }
  return false;
}

bool Object::isModified(ObjectAttribute attribute) const {
  // The animation's own flag stands for changes made by drawing and sprites.
  if (attribute == ANIMATION && animation.isModified())
    return true;
  return modified[attribute];
}

void Object::setModified(ObjectAttribute attribute) { modified[attribute] = true; }

}  // namespace cv
