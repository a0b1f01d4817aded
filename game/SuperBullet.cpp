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
  const auto *enemy = dynamic_cast<const MainEnemy *>(other);
  if (other->getType() == "Enemy" && !(enemy && enemy->isKilled())) {
    kills++;
    cv::WorldManager::getInstance().markForDelete(other);
  }
  return 1;
}

int SuperBullet::getBounces() const { return bounces; }

int SuperBullet::getKills() const { return kills; }
