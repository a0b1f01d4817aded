// pathfinder: click anywhere with the left mouse button and the walker finds
// its way there round the walls. Close the window to quit.
#include <cstdio>

#include "Corvane.h"
#include "Floor.h"
#include "Walker.h"
#include "Wall.h"

namespace {

/// Two walls, one hanging from the top and one standing on the bottom, so
/// that crossing the field means walking round both. They are drawn with
/// box-drawing characters, over a floor of shade.
void buildWalls() {
  new Wall(cv::Vector(30, 7));
  new Wall(cv::Vector(50, 17));
}

void addCounter(const std::string &label, cv::ViewLocation where) {
  cv::ViewObject *counter = new cv::ViewObject;
  counter->setViewString(label);
  counter->setLocation(where);
}

}  // namespace

int main() {
  cv::GameManager &game = cv::GameManager::getInstance();
  // Run from the directory beside the executable that holds the game's files.
  game.enterRunDirectory();
  if (game.startUp() != 0) {
    std::fprintf(stderr, "pathfinder: %s\n", game.getStartUpFailure().c_str());
    return 1;
  }
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  if (resources.loadSprite("sprites/walker-spr.txt", "walker") != 0 ||
      resources.loadSprite("sprites/wall-spr.txt", "wall") != 0 ||
      resources.loadSprite("sprites/floor-spr.txt", "floor") != 0) {
    std::fprintf(stderr, "pathfinder: %s\n", resources.getLoadFailure().c_str());
    game.shutDown();
    return 1;
  }

  new Floor;
  buildWalls();
  new Walker(cv::Vector(10, 12));
  addCounter("Arrivals", cv::TOP_LEFT);
  addCounter("No way", cv::TOP_RIGHT);

  game.run();
  game.shutDown();
  return 0;
}
