#include "Banana.h"

#include "Corvane.h"
#include "enemyRules.h"

Banana::Banana() {
  setSprite("banana");
  setVelocity(cv::Vector(0.5f, 0.1f));
  setKind(BANANA, 2, 20, "banana-explosion", 30, cv::Vector(0, 0.5f));
  placeAtTop(this);
}

void Banana::fireVolley() { fireAtHeroes(); }

void Banana::leaveAtBottom() {
  placeAtTop(this);
  cv::WorldManager::getInstance().markForDelete(this);
  spawnEnemy(BANANA);
}

bool Banana::turnsOnContact() const { return true; }
