#include "world/Object.h"

#include <utility>

#include "core/Event.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "foundation/LogManager.h"
#include "network/NetworkManager.h"
#include "presentation/InputManager.h"
#include "presentation/ResourceManager.h"
#include "world/WorldManager.h"

namespace cv {

namespace {

// The id the next new object gets.
int next_id = 1;

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
    : id(next_id++),
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
  // A running path search is ended here once path finding exists.
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
  WorldManager::getInstance().getSceneGraph().updatePosition(this, new_position);
  position = new_position;
  setModified(POSITION);
  return 0;
}

Vector Object::getDirection() const { return direction; }

void Object::setDirection(Vector new_direction) {
  direction = new_direction;
  setModified(DIRECTION);
}

float Object::getSpeed() const { return speed; }

void Object::setSpeed(float new_speed) {
  speed = new_speed;
  setModified(SPEED);
}

Vector Object::getAcceleration() const { return acceleration; }

void Object::setAcceleration(Vector new_acceleration) {
  acceleration = new_acceleration;
  setModified(ACCELERATION);
}

Vector Object::getVelocity() const {
  Vector velocity = direction;
  velocity.scale(speed);
  return velocity;
}

void Object::setVelocity(Vector velocity) {
  speed = velocity.getMagnitude();
  velocity.normalize();
  direction = velocity;
  setModified(SPEED);
  setModified(DIRECTION);
}

Path Object::getPath() const { return path; }

void Object::setPath(Path new_path) {
  path = std::move(new_path);
  setModified(PATH);
}

bool Object::getFollowPath() const { return follow_path; }

void Object::setFollowPath(bool new_follow_path) {
  follow_path = new_follow_path;
  if (!path.isDone()) {
    Vector towards = path.currentNode() - position;
    towards.normalize();
    setDirection(towards);
  }
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
  if (event->getType() != "cv-path")
    return 0;
  // A path event hands over the found path and ends the search; that comes
  // with path finding. Until then it is not handled either.
  return 0;
}

int Object::draw() {
  const int result = animation.draw(position);
  if (shape.getType() != SHAPE_UNDEFINED)
    shape.draw(position);
  return result;
}

bool Object::isModified(ObjectAttribute attribute) const { return modified[attribute]; }

void Object::setModified(ObjectAttribute attribute) { modified[attribute] = true; }

}  // namespace cv
