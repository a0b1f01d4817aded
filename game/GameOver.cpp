#include "GameOver.h"

#include <string>

#include "Corvane.h"
#include "GameStart.h"

namespace {

// What the end of a game clears away: the enemies, the walls, the reticle, a
// reflector still up, the counters (type "ViewObject"), and every projectile
// of either side, so no shot flies on over the start screen.
bool clearedAtGameOver(const std::string &type) {
  for (const char *cleared :
       {"Enemy", "ViewObject", "Wall", "Reticle", "Reflector", "Bullet", "SuperBullet", "EnemyBullet"})
    if (type == cleared)
      return true;
  return false;
}

}  // namespace

GameOver::GameOver() : time_to_live(0) {
  setType("GameOver");
  if (setSprite("gameover") == 0) {
    const cv::Sprite *sprite = getAnimation().getSprite();
    time_to_live = sprite->getSlowdown() * sprite->getFrameCount();
  }
  setLocation(cv::CENTER_CENTER);
  registerInterest(cv::STEP_EVENT);
}

GameOver::~GameOver() {
  cv::WorldManager &world = cv::WorldManager::getInstance();
  const cv::ObjectList all = world.getAllObjects(true);
  for (cv::ObjectListIterator li(&all); !li.isDone(); li.next()) {
    cv::Object *object = li.currentObject();
    const std::string type = object->getType();
    if (clearedAtGameOver(type))
      world.markForDelete(object);
    if (type == "GameStart")
      if (auto *start = dynamic_cast<GameStart *>(object))
        start->comeBack();
  }
}

int GameOver::eventHandler(const cv::Event *event) {
  if (event->getType() != cv::STEP_EVENT)
    return 0;
  if (--time_to_live <= 0)
    cv::WorldManager::getInstance().markForDelete(this);
  return 1;
}

int GameOver::draw() { return cv::Object::draw(); }
