#include "world/SceneGraph.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/GameManager.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"

namespace cv {

namespace {

bool validAltitude(int altitude) { return valueInRange(static_cast<float>(altitude), MIN_ALTITUDE, MAX_ALTITUDE); }

// Failures while objects are destroyed in bulk at game over are expected.
bool reportFailures() { return !GameManager::getInstance().getGameOver(); }

// Writes a failure message (its "%s" is the object's type) when failures are
// being reported. The formats are checked like writeLog's own.
__attribute__((format(printf, 1, 2))) void reportFailure(const char *format, ...) {
  if (!reportFailures())
    return;
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string message(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  std::vsnprintf(message.data(), message.size() + 1, format, args);
  va_end(args);
  LogManager::getInstance().writeLog("%s", message.c_str());
}

}  // namespace

SceneGraph::SceneGraph() : spatial_index(true) {}

int SceneGraph::startUp() {
  type_map.clear();
  id_map.clear();
  LogManager::getInstance().writeLog(1, "Scenegraph configuration: SIMPLE");
  return 0;
}

void SceneGraph::shutDown() {
  type_map.clear();
  id_map.clear();
}

int SceneGraph::insertObject(Object *object) {
  id_map[object->getId()].push_back(object);
  if (!object->isActive())
    return inactive_objects.insert(object);

  const LogManager &log_manager = LogManager::getInstance();
  if (objects.insert(object) == -1) {
    log_manager.writeLog("SceneGraph::insertObject(): Error! unable to insert active Object (id %d)", object->getId());
    return -1;
  }
  if (type_map[object->getType()].insert(object) == -1) {
    log_manager.writeLog("SceneGraph::insertObject(): Error! unable to insert Object (id %d) into type map",
                         object->getId());
    return -1;
  }
  if (object->isSolid() && insertSolid(object) == -1) {
    log_manager.writeLog("SceneGraph::insertObject(): Error! unable to insert solid Object (id %d)", object->getId());
    return -1;
  }
  if (object->isVisible()) {
    const int altitude = object->getAltitude();
    if (!validAltitude(altitude)) {
      log_manager.writeLog("SceneGraph::insertObject(): Warning! Altitude %d not in range [%d,%d]", altitude,
                           MIN_ALTITUDE, MAX_ALTITUDE);
      return -1;
    }
    if (visible_objects[altitude].insert(object) == -1) {
      log_manager.writeLog("SceneGraph::insertObject(): Error! unable to insert visible object (id %d)",
                           object->getId());
      return -1;
    }
  }
  return 0;
}

int SceneGraph::removeObject(Object *object) {
  bool failed = removeFromIds(object, object->getId()) == -1;
  if (object->isActive()) {
    failed |= objects.remove(object) == -1;
    failed |= removeFromType(object) == -1;
    if (object->isVisible()) {
      const int altitude = object->getAltitude();
      failed |= !validAltitude(altitude) || visible_objects[altitude].remove(object) == -1;
    }
    if (object->isSolid())
      failed |= removeSolid(object) == -1;
  } else {
    failed |= inactive_objects.remove(object) == -1;
  }
  if (failed) {
    LogManager::getInstance().writeLog("SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
                                       object->getId(), static_cast<void *>(object));
    return -1;
  }
  return 0;
}

int SceneGraph::insertSolid(Object *object) {
  if (solid_objects.insert(object) == -1)
    return -1;
  solid_grid.insert(object, getWorldBox(object));
  return 0;
}

int SceneGraph::removeSolid(Object *object) {
  if (solid_objects.remove(object) == -1)
    return -1;
  solid_grid.remove(object);
  return 0;
}

void SceneGraph::updatePosition(Object *object, Vector new_position) {
  solid_grid.move(object, getWorldBox(object, new_position));
}

const std::vector<Object *> &SceneGraph::solidObjectsNear(const Box &area) const {
  return solid_grid.candidates(area);
}

void SceneGraph::setSpatialIndex(bool on) { spatial_index = on; }

bool SceneGraph::getSpatialIndex() const { return spatial_index; }

ObjectList SceneGraph::activeObjects() const { return objects; }

ObjectList SceneGraph::inactiveObjects() const { return inactive_objects; }

const ObjectList &SceneGraph::solidObjects() const { return solid_objects; }

ObjectList SceneGraph::visibleObjects(int altitude) const {
  if (!validAltitude(altitude)) {
    LogManager::getInstance().writeLog("SceneGraph::visibleObjects(): Warning! altitude %d not in [%d,%d].", altitude,
                                       MIN_ALTITUDE, MAX_ALTITUDE);
    return ObjectList();
  }
  return visible_objects[altitude];
}

ObjectList SceneGraph::objectsOfType(std::string type) { return type_map[type]; }

ObjectList SceneGraph::objectsWithId(int id) const {
  ObjectList holders;
  const auto entry = id_map.find(id);
  if (entry != id_map.end())
    for (Object *object : entry->second)
      holders.insert(object);
  return holders;
}

int SceneGraph::removeFromIds(Object *object, int id) {
  const auto entry = id_map.find(id);
  if (entry == id_map.end())
    return -1;
  std::vector<Object *> &holders = entry->second;
  const auto found = std::find(holders.begin(), holders.end(), object);
  if (found == holders.end())
    return -1;
  holders.erase(found);
  if (holders.empty())
    id_map.erase(entry);
  return 0;
}

int SceneGraph::updateId(Object *object, int new_id) {
  if (removeFromIds(object, object->getId()) == -1)
    return -1;
  id_map[new_id].push_back(object);
  return 0;
}

int SceneGraph::removeFromType(Object *object) {
  const auto entry = type_map.find(object->getType());
  return entry == type_map.end() ? -1 : entry->second.remove(object);
}

int SceneGraph::updateActive(Object *object, bool active) {
  if (active == object->isActive())
    return 0;
  int result = 0;
  if (!active) {
    if (objects.remove(object) == -1) {
      reportFailure("SceneGraph::updateActive(): remove object (%s) failed for objects!", object->getType().c_str());
      result = -1;
    }
    if (removeFromType(object) == -1)
      result = -1;
    if (object->isVisible() && (!validAltitude(object->getAltitude()) ||
                                visible_objects[object->getAltitude()].remove(object) == -1)) {
      reportFailure("SceneGraph::updateActive(): remove visible object (%s) failed for visible_objects!", object->getType().c_str());
      result = -1;
    }
    if (object->isSolid() && removeSolid(object) == -1) {
      reportFailure("SceneGraph::updateActive(): remove object (%s) failed for solid_objects!", object->getType().c_str());
      result = -1;
    }
    if (inactive_objects.insert(object) == -1) {
      reportFailure("SceneGraph::updateActive(): insert object (%s) failed for inactive_objects!", object->getType().c_str());
      result = -1;
    }
    return result;
  }

  if (objects.insert(object) == -1) {
    reportFailure("SceneGraph::updateActive(): insert Object (%s) failed for objects!", object->getType().c_str());
    result = -1;
  }
  if (type_map[object->getType()].insert(object) == -1) {
    LogManager::getInstance().writeLog("SceneGraph::updateActive(): Error! insert Object (%s) failed for type map!",
                                       object->getType().c_str());
    return -1;
  }
  if (object->isVisible() && (!validAltitude(object->getAltitude()) ||
                              visible_objects[object->getAltitude()].insert(object) == -1)) {
    reportFailure("SceneGraph::updateActive(): insert Object (%s) failed for visible_objects!", object->getType().c_str());
    result = -1;
  }
  if (object->isSolid() && insertSolid(object) == -1) {
    reportFailure("SceneGraph::updateActive(): insert object (%s) failed for solid_objects!", object->getType().c_str());
    result = -1;
  }
  if (inactive_objects.remove(object) == -1) {
    reportFailure("SceneGraph::updateActive(): remove object (%s) failed for inactive_objects!", object->getType().c_str());
    result = -1;
  }
  return result;
}

int SceneGraph::updateAltitude(Object *object, int new_altitude) {
  if (!object->isActive())
    return 0;
  const LogManager &log_manager = LogManager::getInstance();
  if (!validAltitude(new_altitude)) {
    log_manager.writeLog("SceneGraph::updateAltitude(): New altitude %d not in [%d,%d]!  No update.", new_altitude,
                         MIN_ALTITUDE, MAX_ALTITUDE);
    return -1;
  }
  const int old_altitude = object->getAltitude();
  if (!validAltitude(old_altitude)) {
    log_manager.writeLog("SceneGraph::updateAltitude(): Old altitude %d not in [%d,%d]! This is unxepected. No update.",
                         old_altitude, MIN_ALTITUDE, MAX_ALTITUDE);
    return -1;
  }
  if (object->isVisible()) {
    if (visible_objects[old_altitude].remove(object) == -1) {
      if (reportFailures())
        log_manager.writeLog("SceneGraph::updateAltitude(): remove from old altitude (%d) failed!", old_altitude);
      return -1;
    }
    if (visible_objects[new_altitude].insert(object) == -1) {
      log_manager.writeLog("SceneGraph::updateAltitude()): insert visible object at altitude %d failed!",
                           new_altitude);
      return -1;
    }
  }
  return 0;
}

int SceneGraph::updateSolidness(Object *object, Solidness new_solidness) {
  if (!object->isActive())
    return 0;
  if (object->isSolid() && new_solidness == SPECTRAL) {
    if (removeSolid(object) == -1)
      reportFailure("SceneGraph::updateSolidness(): unable to remove solid object (%s)", object->getType().c_str());
  } else if (!object->isSolid() && (new_solidness == HARD || new_solidness == SOFT)) {
    if (insertSolid(object) == -1) {
      if (reportFailures())
        LogManager::getInstance().writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object");
      return -1;
    }
  }
  return 0;
}

int SceneGraph::updateVisible(Object *object, bool visible) {
  if (!object->isActive() || visible == object->isVisible())
    return 0;
  const int altitude = object->getAltitude();
  const bool valid = validAltitude(altitude);
  if (!visible && (!valid || visible_objects[altitude].remove(object) == -1)) {
    reportFailure("SceneGraph::updateVisible(): unable to remove visible object (%s)", object->getType().c_str());
    return -1;
  }
  if (visible && (!valid || visible_objects[altitude].insert(object) == -1)) {
    reportFailure("SceneGraph::updateVisible(): unable to add visible object (%s)", object->getType().c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updateType(Object *object, std::string new_type) {
  if (!object->isActive())
    return 0;
  const LogManager &log_manager = LogManager::getInstance();
  if (removeFromType(object) == -1) {
    log_manager.writeLog("SceneGraph::updateType(): Error! Unable to remove Object (%d) type %s", object->getId(),
                         object->getType().c_str());
    return -1;
  }
  if (type_map[new_type].insert(object) == -1) {
    log_manager.writeLog("SceneGraph::updateType(): Error! Unable to insert Object (%d) type %s", object->getId(),
                         new_type.c_str());
    return -1;
  }
  return 0;
}

}  // namespace cv
