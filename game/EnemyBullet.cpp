#include "EnemyBullet.h"

#include "Bullet.h"
#include "Corvane.h"
#include "enemyRules.h"
#include "projectiles.h"

EnemyBullet::EnemyBullet(cv::Vector position, cv::Vector velocity) {
  setType("EnemyBullet");
  setSprite("enemy_bullet");
  setSolidness(cv::SOFT);
  setPosition(position);
  setVelocity(velocity);
}

int EnemyBullet::eventHandler(const cv::Event *event) {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  if (event->getType() == cv::OUT_EVENT) {
    world.markForDelete(this);
    return 1;
  }
  if (event->getType() != cv::COLLISION_EVENT)
    return 0;
  const auto *collision = static_cast<const cv::EventCollision *>(event);
  if (eitherIs(collision, "Wall"))
    bounceOffWall(this);
  if (eitherIs(collision, "Hero")) {
    world.markForDelete(collision->getObject1());
    world.markForDelete(collision->getObject2());
  }
  if (eitherIs(collision, "Reflector"))
    reflect();
  return 1;
}

void EnemyBullet::reflect() {
  cv::WorldManager::getInstance().markForDelete(this);
  const cv::Vector here = getPosition();
  const cv::Vector velocity = getVelocity();
  auto *bullet = new Bullet(cv::Vector(here.getX() - 3, here.getY()), true);
  bullet->setVelocity(cv::Vector(velocity.getX(), -velocity.getY()));
}
