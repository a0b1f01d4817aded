#include "SuperBullet.h"

#include "Corvane.h"
#include "MainEnemy.h"
#include "enemyRules.h"
#include "projectiles.h"

SuperBullet::SuperBullet(cv::Vector launch_point) : bounces(0), kills(0) {
  setType("SuperBullet");
  setSprite("bullet");
  setSolidness(cv::SOFT);
  setPosition(cv::Vector(launch_point.getX() + 3, launch_point.getY()));
  setSpeed(1);
}

int SuperBullet::eventHandler(const cv::Event *event) {
  if (event->getType() == cv::OUT_EVENT) {
    cv::WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  if (event->getType() != cv::COLLISION_EVENT)
    return 0;
  const auto *collision = static_cast<const cv::EventCollision *>(event);
  if (eitherIs(collision, "Wall")) {
    bounceOffWall(this);
    bounces++;
  }
  // The enemy dies, never the super bullet, whichever of the two moved.
  cv::Object *other = otherObject(collision, this);
  if (other->getType() == "Enemy" && countsAsKill(other)) {
    kills++;
    killed_ids.push_back(other->getId());
    cv::WorldManager::getInstance().markForDelete(other);
  }
  return 1;
}

bool SuperBullet::countsAsKill(const cv::Object *enemy) const {
  for (int id : killed_ids)
    if (id == enemy->getId())
      return false;
  // An enemy that moved into this super bullet has already recorded it as its killer.
  const auto *main_enemy = dynamic_cast<const MainEnemy *>(enemy);
  return !main_enemy || !main_enemy->isKilled() || main_enemy->getKillerId() == getId();
}

int SuperBullet::getBounces() const { return bounces; }

int SuperBullet::getKills() const { return kills; }
