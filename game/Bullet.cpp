#include "Bullet.h"

#include "Corvane.h"
#include "enemyRules.h"
#include "projectiles.h"
#include "resources.h"

Bullet::Bullet(cv::Vector launch_point, bool was_reflected) : bounces(0), reflected(was_reflected) {
  setType("Bullet");
  setSprite("bullet");
  setSolidness(cv::SOFT);
  setPosition(cv::Vector(launch_point.getX() + 3, launch_point.getY()));
  setSpeed(1);
  playSound("shoot");
}

int Bullet::eventHandler(const cv::Event *event) {
  if (event->getType() == cv::OUT_EVENT) {
    cv::WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  if (event->getType() == cv::COLLISION_EVENT) {
    collide(static_cast<const cv::EventCollision *>(event));
    return 1;
  }
  return 0;
}

void Bullet::collide(const cv::EventCollision *collision) {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  if (eitherIs(collision, "Wall")) {
    bounceOffWall(this);
    bounces++;
  }
  if (eitherIs(collision, "Enemy")) {
    world.markForDelete(collision->getObject1());
    world.markForDelete(collision->getObject2());
  }
  // The bullet is absorbed, whichever of the two moved into the other.
  if (eitherIs(collision, "Shield"))
    world.markForDelete(this);
}

int Bullet::getBounces() const { return bounces; }

bool Bullet::isReflected() const { return reflected; }
