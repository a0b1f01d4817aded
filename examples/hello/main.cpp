// hello: walk the hero with W, A, S, D or the arrows, bump into the rock,
// watch the counter; Q quits.
#include <cstdio>

#include "Corvane.h"
#include "Hero.h"
#include "Rock.h"

int main() {
  cv::GameManager &game = cv::GameManager::getInstance();
  // Run from the directory beside the executable that holds the game's files.
  game.enterRunDirectory();
  if (game.startUp() != 0) {
    std::fprintf(stderr, "hello: %s\n", game.getStartUpFailure().c_str());
    return 1;
  }
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  if (resources.loadSprite("sprites/hero-spr.txt", "hero") != 0 ||
      resources.loadSprite("sprites/rock-spr.txt", "rock") != 0) {
    std::fprintf(stderr, "hello: %s\n", resources.getLoadFailure().c_str());
    game.shutDown();
    return 1;
  }

  new Hero(cv::Vector(20, 12));
  new Rock(cv::Vector(50, 12));
  cv::ViewObject *bumps = new cv::ViewObject;
  bumps->setViewString("Bumps");
  bumps->setLocation(cv::TOP_RIGHT);

  game.run();
  game.shutDown();
  return 0;
}
