#include "Watermelon.h"

#include "Corvane.h"
#include "EnemyBullet.h"
#include "enemyRules.h"

Watermelon::Watermelon() {
  setSprite("watermelon");
  setVelocity(cv::Vector(0, 0.1f));
  setKind(WATERMELON, 2, 30, "watermelon-explosion", 45, cv::Vector(0, 0.5f));
  placeAtTop(this);
}

void Watermelon::fireVolley() {
  new EnemyBullet(getPosition(), bullet_velocity);
  new EnemyBullet(getPosition(), cv::Vector(-0.25f, 0.5f));
  new EnemyBullet(getPosition(), cv::Vector(0.25f, 0.5f));
}

void Watermelon::leaveAtBottom() {
  cv::LogManager::getInstance().writeLog("found a stimmy");
  MainEnemy::leaveAtBottom();
}
