#include "Grape.h"

#include "Corvane.h"
#include "enemyRules.h"

Grape::Grape() {
  setSprite("grape");
  setVelocity(cv::Vector(0, 0.1f));
  setKind(GRAPE, 3, 10, "grape-explosion", 30, cv::Vector(0, 1));
  setAltitude(2);
  placeAtTop(this);
}

int Grape::eventHandler(const cv::Event *event) {
  if (event->getType() == cv::OUT_EVENT)
    cv::LogManager::getInstance().writeLog("stimmy");
  return MainEnemy::eventHandler(event);
}

void Grape::fireVolley() {
  // Only from the upper three quarters of the world; the count restarts either way.
  if (getPosition().getY() < cv::WorldManager::getInstance().getBoundary().getVertical() * 3 * 0.25f)
    fireAtHeroes();
}

void Grape::leaveAtBottom() {
  cv::LogManager::getInstance().writeLog("stimulus package");
  MainEnemy::leaveAtBottom();
}
