#include "core/Manager.h"

#include "core/Event.h"
#include "core/ObjectListIterator.h"
#include "foundation/LogManager.h"
#include "world/Object.h"

namespace cv {

Manager::Manager() : type("Manager"), event_count(0), is_started(false) {}

Manager::~Manager() = default;

std::string Manager::getType() const { return type; }

void Manager::setType(std::string new_type) { type = std::move(new_type); }

bool Manager::isStarted() const { return is_started; }

bool Manager::refuseUnlessStarted() const {
  if (is_started)
    return false;
  LogManager::getInstance().writeLog("%s not started!", type.c_str());
  return true;
}

bool Manager::isValid(std::string) const { return false; }

int Manager::startUp() {
  if (is_started)
    LogManager::getInstance().writeLog(1, "Manager::startUp(): Warning! %s already started.", type.c_str());
  is_started = true;
  return 0;
}

void Manager::shutDown() {
  if (!is_started)
    LogManager::getInstance().writeLog(1, "Manager::shutDown(): Warning! %s not started.", type.c_str());
  is_started = false;
}

int Manager::registerInterest(Object *object, std::string event_type) {
  if (!isValid(event_type)) {
    LogManager::getInstance().writeLog("Manager(%s)::registerInterest(): Event '%s' not valid for this Manager",
                                       type.c_str(), event_type.c_str());
    return -1;
  }
  for (int i = 0; i < event_count; i++)
    if (event_name[i] == event_type)
      return obj_list[i].insert(object);

  if (event_count == MAX_EVENTS)
    return -1;
  event_name[event_count] = event_type;
  obj_list[event_count].clear();
  if (obj_list[event_count].insert(object) == -1)
    return -1;
  event_count++;
  return 0;
}

int Manager::unregisterInterest(Object *object, std::string event_type) {
  int found = -1;
  for (int i = 0; i < event_count && found == -1; i++)
    if (event_name[i] == event_type)
      found = i;
  if (found == -1 || obj_list[found].remove(object) == -1)
    return -1;

  if (obj_list[found].isEmpty()) {
    for (int i = found; i < event_count - 1; i++) {
      event_name[i] = event_name[i + 1];
      obj_list[i] = obj_list[i + 1];
    }
    event_count--;
    event_name[event_count].clear();
    obj_list[event_count].clear();
  }
  return 0;
}

int Manager::onEvent(const Event *event) const {
  const std::string event_type = event->getType();
  if (event_type == UNDEFINED_EVENT) {
    LogManager::getInstance().writeLog(1, "Manager(%s)::onEvent(): Warning! Event type %s is undefined.",
                                       type.c_str(), event_type.c_str());
    return 0;
  }
  if (!isValid(event_type)) {
    LogManager::getInstance().writeLog(1, "Manager(%s)::onEvent(): Error! Event type %s not valid.",
                                       type.c_str(), event_type.c_str());
    return 0;
  }

  int count = 0;
  for (int i = 0; i < event_count; i++) {
    if (event_name[i] != event_type)
      continue;
    // Walk a copy, so handlers may register, unregister or be marked for
    // deletion without disturbing delivery.
    const ObjectList listeners = obj_list[i];
    for (ObjectListIterator li(&listeners); !li.isDone(); li.next()) {
      Object *object = li.currentObject();
      if (object->isActive()) {
        object->eventHandler(event);
        count++;
      }
    }
    // Each type has one entry. Stop here: a handler that withdrew the type's
    // last interest and registered again moved the entry to the end of the
    // table, where the search would find it and deliver the event twice.
    break;
  }
  return count;
}

}  // namespace cv
