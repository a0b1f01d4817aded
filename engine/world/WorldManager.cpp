#include "world/WorldManager.h"

#include <utility>
#include <vector>

#include "core/ObjectListIterator.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"
#include "hud/ViewObject.h"
#include "path/PathFollower.h"
#include "world/EventCollision.h"
#include "world/EventOut.h"

namespace cv {

namespace {

// Rounds of destruction at shut-down before giving up on destructors that
// keep creating objects.
const int MAX_SHUTDOWN_ROUNDS = 1000;

// Moves `value` toward the slack range [low, high] by the distance it lies outside.
float followAxis(float centre, float position, float low, float high) {
  if (position < low)
    return centre - (low - position);
  if (position > high)
    return centre + (position - high);
  return centre;
}

// The corner coordinate that centres an extent on `centre`, kept in [0, limit - extent].
float clampedCorner(float centre, float extent, float limit) {
  float corner = centre - extent * 0.5f;
  if (corner + extent > limit)
    corner = limit - extent;
  if (corner < 0)
    corner = 0;
  return corner;
}

}  // namespace

WorldManager::WorldManager() : view_following(nullptr), shutting_down(false) { setType("WorldManager"); }

WorldManager &WorldManager::getInstance() {
  static WorldManager world_manager;
  return world_manager;
}

int WorldManager::startUp() {
  if (isStarted()) {
    LogManager::getInstance().writeLog("WorldManager::startup(): already started.");
    return 0;
  }
  deletions.clear();
  boundary = Box();
  view = Box();
  view_slack = Vector();
  view_following = nullptr;
  if (scene_graph.startUp() == -1) {
    LogManager::getInstance().writeLog("WorldManager::startUp(): Error! Unable to startup Scenegraph");
    return -1;
  }
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "WorldManager::startUp(): successfully started.");
  return 0;
}

void WorldManager::shutDown() {
  Manager::shutDown();
  // Destructors may create objects; those are inserted and destroyed in the next round.
  shutting_down = true;
  int rounds = 0;
  for (ObjectList all = getAllObjects(true); !all.isEmpty(); all = getAllObjects(true)) {
    if (++rounds > MAX_SHUTDOWN_ROUNDS) {
      LogManager::getInstance().writeLog(
          "WorldManager::shutDown(): Error! destructors keep creating objects; %d left undestroyed.",
          all.getCount());
      break;
    }
    for (ObjectListIterator li(&all); !li.isDone(); li.next())
      delete li.currentObject();
  }
  shutting_down = false;
  deletions.clear();
  view_following = nullptr;
  scene_graph.shutDown();
  LogManager::getInstance().writeLog(5, "WorldManager::shutDown(): Successfully stopped.");
}

bool WorldManager::isValid(std::string event_type) const {
  if (event_type == "cv-keyboard" || event_type == "cv-mouse" || event_type == "cv-step") {
    LogManager::getInstance().writeLog("WorldManager::isValid(): WorldManager does not handle %s", event_type.c_str());
    return false;
  }
  if (event_type == OUT_EVENT || event_type == COLLISION_EVENT) {
    LogManager::getInstance().writeLog("WorldManager::isValid(): Event %s handled automatically.",
                                       event_type.c_str());
    return false;
  }
  return true;
}

int WorldManager::insertObject(Object *object) {
  if (isStarted() || shutting_down)
    return scene_graph.insertObject(object);
  LogManager::getInstance().writeLog(2, "WorldManager::insertObject(): Warning! Not adding Object %d",
                                     object->getId());
  LogManager::getInstance().writeLog(2, "                              because WorldManager not started.");
  return -1;
}

int WorldManager::removeObject(Object *object) {
  if (object == view_following)
    view_following = nullptr;
  return scene_graph.removeObject(object);
}

int WorldManager::markForDelete(Object *object) {
  // Objects already destroyed in the current deletion pass are still listed,
  // so marking one again (even from a destructor) cannot delete it twice.
  for (ObjectListIterator li(&deletions); !li.isDone(); li.next())
    if (li.currentObject() == object)
      return 0;
  if (deletions.insert(object) == -1) {
    LogManager::getInstance().writeLog("WorldManager::markForDelete(): Error! unable to add Object %p to deletions list",
                                       static_cast<void *>(object));
    return -1;
  }
  return 0;
}

ObjectList WorldManager::getAllObjects(bool inactive_too) const {
  if (inactive_too)
    return scene_graph.activeObjects() + scene_graph.inactiveObjects();
  return scene_graph.activeObjects();
}

ObjectList WorldManager::objectsOfType(std::string type) { return scene_graph.objectsOfType(type); }

void WorldManager::update() {
  const ObjectList active = scene_graph.activeObjects();
  for (ObjectListIterator li(&active); !li.isDone(); li.next()) {
    Object *object = li.currentObject();
    const Vector destination = object->predictPosition();
    if (destination != object->getPosition())
      moveObject(object, destination);
    PathFollower::step(*object);
    object->updateVelocity();
  }
  deleteMarked();
}

void WorldManager::deleteMarked() {
  // The cursor reads the list's count on every step, so objects that
  // destructors mark meanwhile are appended and deleted in this same pass.
  for (ObjectListIterator li(&deletions); !li.isDone(); li.next())
    delete li.currentObject();
  deletions.clear();
}

void WorldManager::draw() {
  for (int altitude = MIN_ALTITUDE; altitude <= MAX_ALTITUDE; altitude++) {
    const ObjectList visible = scene_graph.visibleObjects(altitude);
    for (ObjectListIterator li(&visible); !li.isDone(); li.next()) {
      Object *object = li.currentObject();
      // View objects sit at fixed places on the screen and are always drawn.
      if (dynamic_cast<ViewObject *>(object) || boxIntersectsBox(getWorldBox(object), view))
        object->draw();
    }
  }
}

void WorldManager::redraw() {
  // Drawing moves each animation on by a draw: the animations are kept
  // before and put back after.
  const ObjectList all = getAllObjects(true);
  std::vector<std::pair<Object *, Animation>> kept;
  kept.reserve(static_cast<std::size_t>(all.getCount()));
  for (ObjectListIterator li(&all); !li.isDone(); li.next())
    kept.emplace_back(li.currentObject(), li.currentObject()->getAnimation());
  draw();
  for (auto &[object, animation] : kept)
    object->setAnimation(std::move(animation));
}

ObjectList WorldManager::getCollisions(const Object *object, Vector where) const {
  ObjectList collisions;
  const Box moved = getWorldBox(object, where);
  const auto consider = [&](Object *other) {
    if (other != object && boxIntersectsBox(getWorldBox(other), moved))
      collisions.insert(other);
  };
  if (scene_graph.getSpatialIndex()) {
    // Only the objects near the box, in the solid list's order.
    for (Object *other : scene_graph.solidObjectsNear(moved))
      consider(other);
  } else {
    const ObjectList &solid = scene_graph.solidObjects();
    for (ObjectListIterator li(&solid); !li.isDone(); li.next())
      consider(li.currentObject());
  }
  return collisions;
}

int WorldManager::slideDestination(Object *object, ObjectList &collisions, Vector &where) const {
  Object *hard = nullptr;
  for (ObjectListIterator li(&collisions); !li.isDone() && !hard; li.next())
    if (li.currentObject()->getSolidness() == HARD)
      hard = li.currentObject();
  if (!hard)
    return 0;

  const Vector normal = getNormal(object, hard);
  const Vector direction = object->getDirection();
  const float nx = normal.getX() < 0 ? -normal.getX() : normal.getX();
  const float ny = normal.getY() < 0 ? -normal.getY() : normal.getY();
  float sx = direction.getX() * ny;
  const float sy = direction.getY() * nx;
  if (nx == 1 && ny == 1)
    sx = -sx;  // a corner hit
  Vector slide(sx, sy);
  slide.normalize();
  slide.scale(object->getSpeed());
  where = object->getPosition() + slide;

  const ObjectList blocked = getCollisions(object, where);
  for (ObjectListIterator li(&blocked); !li.isDone(); li.next()) {
    if (li.currentObject()->getSolidness() == HARD) {
      LogManager::getInstance().writeLog(
          5, "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move.");
      return -1;
    }
  }
  collisions = blocked;
  return 0;
}

int WorldManager::moveObject(Object *object, Vector where) {
  if (object->isSolid()) {
    ObjectList collisions = getCollisions(object, where);
    if (!collisions.isEmpty() && object->getSolidness() == HARD && object->getAvoidCollisions()) {
      if (slideDestination(object, collisions, where) == -1)
        return -1;
    }
    bool can_move = true;
    for (ObjectListIterator li(&collisions); !li.isDone(); li.next()) {
      Object *other = li.currentObject();
      const EventCollision collision(object, other, where);
      object->eventHandler(&collision);
      other->eventHandler(&collision);
      // The handlers may have changed either object's solidness.
      if (object->getSolidness() == HARD && other->getSolidness() == HARD)
        can_move = false;
      if (object->getNoSoft() && other->getSolidness() == SOFT)
        can_move = false;
    }
    if (!can_move)
      return -1;
  }

  const bool was_inside = boxIntersectsBox(getWorldBox(object), boundary);
  object->setPosition(where);
  if (was_inside && !boxIntersectsBox(getWorldBox(object), boundary)) {
    const EventOut out;
    object->eventHandler(&out);
  }
  if (object == view_following)
    followView(object->getPosition());
  return 0;
}

void WorldManager::followView(Vector position) {
  const float half_width = view.getHorizontal() * 0.5f;
  const float half_height = view.getVertical() * 0.5f;
  const Vector centre(view.getCorner().getX() + half_width, view.getCorner().getY() + half_height);
  const float slack_x = view_slack.getX() * half_width;
  const float slack_y = view_slack.getY() * half_height;
  setViewPosition(Vector(followAxis(centre.getX(), position.getX(), centre.getX() - slack_x, centre.getX() + slack_x),
                         followAxis(centre.getY(), position.getY(), centre.getY() - slack_y, centre.getY() + slack_y)));
}

Box WorldManager::getBoundary() const { return boundary; }

void WorldManager::setBoundary(Box new_boundary) { boundary = new_boundary; }

Box WorldManager::getView() const { return view; }

void WorldManager::setView(Box new_view) { view = new_view; }

void WorldManager::setViewPosition(Vector centre) {
  view.setCorner(Vector(clampedCorner(centre.getX(), view.getHorizontal(), boundary.getHorizontal()),
                        clampedCorner(centre.getY(), view.getVertical(), boundary.getVertical())));
}

Vector WorldManager::getViewSlack() const { return view_slack; }

void WorldManager::setViewSlack(Vector new_view_slack) {
  if (!valueInRange(new_view_slack.getX(), 0, 1) || !valueInRange(new_view_slack.getY(), 0, 1))
    LogManager::getInstance().writeLog("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]");
  view_slack = new_view_slack;
}

int WorldManager::setViewFollowing(Object *object) {
  view_following = object;
  return 0;
}

Object *WorldManager::getViewFollowing() const { return view_following; }

SceneGraph &WorldManager::getSceneGraph() { return scene_graph; }

}  // namespace cv
