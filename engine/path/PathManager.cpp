#include "path/PathManager.h"

namespace cv {

// Searches are not implemented yet: the manager starts and stops and its
// cycle finds no work.

PathManager::PathManager() { setType("PathManager"); }

PathManager &PathManager::getInstance() {
  static PathManager path_manager;
  return path_manager;
}

int PathManager::startUp() { return Manager::startUp(); }

void PathManager::shutDown() { Manager::shutDown(); }

void PathManager::cycle(int) {}

}  // namespace cv
