#include "Points.h"

#include <cstdlib>  // Required for: rand()

#include "Banana.h"
#include "Corvane.h"
#include "Durian.h"
#include "Grape.h"
#include "Lemon.h"
#include "Watermelon.h"
#include "enemyRules.h"

Points::Points() : level(1), max_level(6), last_remainder(0) {
  setLocation(cv::TOP_RIGHT);
  setViewString("Points");
  setValue(0);
  setColor(cv::YELLOW);
  registerInterest(cv::STEP_EVENT);
}

int Points::eventHandler(const cv::Event *event) {
  if (cv::ViewObject::eventHandler(event))
    return 1;
  if (event->getType() != cv::STEP_EVENT)
    return 0;
  if (static_cast<const cv::EventStep *>(event)->getStepCount() % 30 == 0) {
    setValue(getValue() + 1);
    return 1;
  }
  const int remainder = getValue() % 100;
  if (remainder < last_remainder) {
    spawnNewEnemy();
    if (level < max_level)
      level++;
  }
  last_remainder = getValue() % 100;
  return 0;
}

void Points::spawnNewEnemy() {
  cv::LogManager::getInstance().writeLog("spawning new enemy...");
  if (countOfType("Enemy") > max_level)
    return;
  switch (rand() % 5) {
    case 0:
      new Durian;
      break;
    case 1:
      new Watermelon;
      break;
    case 2:
      new Lemon;
      break;
    case 3:
      new Grape;
      break;
    default:
      new Banana;
      break;
  }
}

int Points::getLevel() const { return level; }
