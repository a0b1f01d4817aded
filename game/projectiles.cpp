#include "projectiles.h"

#include "Corvane.h"

void bounceOffWall(cv::Object *projectile) {
  const cv::Vector velocity = projectile->getVelocity();
  projectile->setVelocity(cv::Vector(-velocity.getX(), velocity.getY()));
  projectile->setSpeed(1);
}
