#include "Lemon.h"

#include "Corvane.h"
#include "EnemyBullet.h"
#include "enemyRules.h"

Lemon::Lemon() {
  setSprite("lemon");
  setVelocity(cv::Vector(0, 0.1f));
  setKind(LEMON, 2, 20, "lemon-explosion", 40, cv::Vector(0.35f, 0.5f));
  placeAtTop(this);
}

void Lemon::fireVolley() {
  new EnemyBullet(getPosition(), bullet_velocity);
  new EnemyBullet(getPosition(), cv::Vector(-0.35f, 0.5f));
}
