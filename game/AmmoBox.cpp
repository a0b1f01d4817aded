#include "AmmoBox.h"

#include "Corvane.h"
#include "Tomato.h"
#include "enemyRules.h"

AmmoBox::AmmoBox(cv::Vector position) : used(false) {
  setType("AmmoBox");
  setSprite("ammo_box");
  setSolidness(cv::SOFT);
  setAltitude(1);
  registerInterest(cv::STEP_EVENT);
  setPosition(position);
  setVelocity(cv::Vector(0, 0.2f));
  cv::LogManager::getInstance().writeLog("new ammo box!");
}

int AmmoBox::eventHandler(const cv::Event *event) {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  if (event->getType() == cv::OUT_EVENT) {
    world.markForDelete(this);
    return 1;
  }
  if (event->getType() == cv::STEP_EVENT) {
    const float x = getPosition().getX();
    if (x > world.getBoundary().getHorizontal() * 2 / 3 || x < 2)
      world.markForDelete(this);
    return 1;
  }
  if (event->getType() == cv::COLLISION_EVENT) {
    if (!used && eitherIs(static_cast<const cv::EventCollision *>(event), "Pickup"))
      collect();
    return 1;
  }
  return 0;
}

void AmmoBox::collect() {
  const cv::ObjectList heroes = cv::WorldManager::getInstance().objectsOfType("Hero");
  for (cv::ObjectListIterator li(&heroes); !li.isDone(); li.next()) {
    auto *hero = dynamic_cast<Tomato *>(li.currentObject());
    if (!hero)
      continue;
    cv::LogManager::getInstance().writeLog("ammo count: %d", hero->getAmmo());
    hero->addAmmo(1);
    const cv::EventView view("Bullets", 1, true);
    cv::WorldManager::getInstance().onEvent(&view);
  }
  cv::WorldManager::getInstance().markForDelete(this);
  used = true;
}
