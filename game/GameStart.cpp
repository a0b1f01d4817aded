#include "GameStart.h"

#include <cmath>

#include "AmmoCount.h"
#include "Corvane.h"
#include "Grape.h"
#include "Points.h"
#include "ReflectorDisplay.h"
#include "Tomato.h"
#include "Wall.h"
#include "resources.h"

GameStart::GameStart() : start_music(nullptr), game_music(nullptr), start_sound(nullptr) {
  setType("GameStart");
  setSprite("gamestart");
  setLocation(cv::CENTER_CENTER);
  registerInterest(cv::KEYBOARD_EVENT);
  start_music = findMusic("start music");
  if (start_music)
    start_music->play(true);
}

int GameStart::eventHandler(const cv::Event *event) {
  if (event->getType() != cv::KEYBOARD_EVENT)
    return 0;
  switch (static_cast<const cv::EventKeyboard *>(event)->getKey()) {
    case cv::Keyboard::P:
      startGame();
      break;
    case cv::Keyboard::Q:
      cv::GameManager::getInstance().setGameOver(true);
      break;
    default:
      break;
  }
  return 1;
}

void GameStart::startGame() {
  if (start_music)
    start_music->pause();
  game_music = findMusic("game music");
  if (game_music)
    game_music->play(true);
  start_sound = cv::ResourceManager::getInstance().getSound("start-sound");
  if (start_sound)
    start_sound->play();
  populateWorld();
  setActive(false);
}

void GameStart::comeBack() {
  setActive(true);
  if (game_music)
    game_music->pause();
  start_music = findMusic("start music");
  if (start_music)
    start_music->play(true);
}

int GameStart::draw() { return cv::Object::draw(); }

namespace {

// Columns of the two walls in a world `width` cells wide.
const float LEFT_WALL_X = 1;
float rightWallX(float width) { return width * 2 / 3; }

}  // namespace

void populateWorld() {
  const cv::Box boundary = cv::WorldManager::getInstance().getBoundary();
  const float width = boundary.getHorizontal(), height = boundary.getVertical();
  new Tomato;
  new Wall(cv::Vector(LEFT_WALL_X, height * 0.5f));
  new Wall(cv::Vector(rightWallX(width), height * 0.5f));
  new Grape;
  new Points;
  new AmmoCount;
  new ReflectorDisplay;
}

cv::Vector fieldCentre() {
  const cv::Box boundary = cv::WorldManager::getInstance().getBoundary();
  return cv::Vector(std::floor((LEFT_WALL_X + rightWallX(boundary.getHorizontal())) / 2),
                    std::floor(boundary.getVertical() / 2));
}
