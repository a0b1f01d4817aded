#include "path/PathManager.h"

#include <algorithm>
#include <cstddef>

#include "core/GameManager.h"
#include "foundation/LogManager.h"
#include "path/EventPath.h"
#include "path/PathFind.h"
#include "platform/Clock.h"
#include "world/Object.h"

namespace cv {

namespace {

// Whole milliseconds on `clock` since it was started.
long elapsedMilliseconds(const Clock &clock) { return clock.split() / 1000; }

}  // namespace

PathManager::PathManager() : cycle_time(0) { setType("PathManager"); }

PathManager &PathManager::getInstance() {
  static PathManager path_manager;
  return path_manager;
}

int PathManager::startUp() {
  if (isStarted()) {
    LogManager::getInstance().writeLog("PathManager::startup(): already started.");
    return 0;
  }
  cycle_time = GameManager::getInstance().getFrameTime() / 10;
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "PathManager::startUp(): successfully started.");
  return 0;
}

void PathManager::shutDown() {
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "PathManager::shutDown(): successfully stopped.");
}

void PathManager::cycle(int min_time) {
  // At least one millisecond, so that searches still advance when the
  // frame time is under ten milliseconds and the frame is already spent.
  const int budget = std::max(std::max(cycle_time, min_time), 1);
  const Clock clock;
  while (!searches.empty() && elapsedMilliseconds(clock) < budget)
    walkSearches(clock, budget);
  if (elapsedMilliseconds(clock) > budget)
    LogManager::getInstance().writeLog(5, "PathManager::cycle(): cycle time %d exceeded.", budget);
}

void PathManager::walkSearches(const Clock &clock, int budget) {
  // The object's handler normally removes its ended search, so the list is
  // read afresh at every position, and nothing of an ended search is used
  // after its object has been told.
  std::size_t position = 0;
  while (position < searches.size()) {
    PathFind *search = searches[position];
    if (search->wasReported()) {
      // Its object was told and kept it (a handler that did not pass the
      // path event on): it is ended here rather than reported again.
      LogManager::getInstance().writeLog(
          "PathManager::cycle(): Warning! Object %d did not end its search on the path event; the search is ended.",
          search->getObject()->getId());
      searches.erase(searches.begin() + static_cast<std::ptrdiff_t>(position));
      continue;
    }
    const PathStatus status = search->cycleOnce();
    if (status != SEARCHING) {
      search->markReported();
      EventPath event;
      event.setStatus(status);
      event.setPath(search->getPath());
      search->getObject()->eventHandler(&event);
    }
    position++;
    if (elapsedMilliseconds(clock) > budget)
      return;
  }
}

int PathManager::addPathFind(PathFind *path_find) {
  if (!path_find || std::find(searches.begin(), searches.end(), path_find) != searches.end())
    return -1;
  searches.push_back(path_find);
  return 0;
}

int PathManager::removePathFind(PathFind *path_find) {
  if (!path_find)
    return -1;
  const auto listed = std::remove(searches.begin(), searches.end(), path_find);
  if (listed == searches.end())
    return -1;
  searches.erase(listed, searches.end());
  return 0;
}

void PathManager::forgetTarget(const Object *target) {
  for (PathFind *search : searches)
    if (search->getTarget() == target)
      search->forgetTarget();
}

int PathManager::getSearchCount() const { return static_cast<int>(searches.size()); }

int PathManager::getCycleTime() const { return cycle_time; }

}  // namespace cv
