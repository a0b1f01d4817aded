#include "GameOver.h"

#include "Corvane.h"
#include "GameStart.h"

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
    // The hero's pick-up zone goes with the game too: left behind, every new
    // game would add one more, without end over a long session.
    if (type == "Enemy" || type == "ViewObject" || type == "Wall" || type == "Reticle" || type == "Reflector" ||
        type == "Pickup")
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
