#include "resources.h"

#include "Corvane.h"

namespace {

/// One resource of the game: its label and its file.
struct ResourceEntry {
  const char *label;  ///< name the game asks for
  const char *file;   ///< path relative to the working directory
};

const ResourceEntry SPRITES[] = {
    {"grape", "sprites/grape-spr.txt"},
    {"lemon", "sprites/lemon-spr.txt"},
    {"banana", "sprites/banana-spr.txt"},
    {"durian", "sprites/durian-spr.txt"},
    {"shield", "sprites/shield-spr.txt"},
    {"watermelon", "sprites/watermelon-spr.txt"},
    {"bullet", "sprites/bullet-spr.txt"},
    {"enemy_bullet", "sprites/bullet-enemy-spr.txt"},
    {"reflector", "sprites/reflector-spr.txt"},
    {"gamestart", "sprites/gamestart-spr.txt"},
    {"gameover", "sprites/gameover-spr.txt"},
    {"grape-explosion", "sprites/exp-grape-spr.txt"},
    {"banana-explosion", "sprites/exp-banana-spr.txt"},
    {"lemon-explosion", "sprites/exp-lemon-spr.txt"},
    {"watermelon-explosion", "sprites/exp-watermelon-spr.txt"},
    {"durian-explosion", "sprites/exp-durian-spr.txt"},
    {"player", "sprites/player-spr.txt"},
    {"wall", "sprites/wall-spr.txt"},
    {"ammo_box", "sprites/ammo-box-spr.txt"},
};

const ResourceEntry SOUNDS[] = {
    {"fire", "sounds/fire.wav"},
    {"explode", "sounds/explode.wav"},
    {"explosion-sound", "sounds/explosion-sound.wav"},
    {"start-sound", "sounds/start-sound.wav"},
    {"enemy-death-sound", "sounds/enemy-death-sound.wav"},
    {"player-death-sound", "sounds/player-death-sound.wav"},
    {"shoot", "sounds/shoot-sound.wav"},
};

const ResourceEntry MUSICS[] = {
    {"start music", "sounds/title-music.wav"},
    {"game music", "sounds/game-music.wav"},
};

}  // namespace

void loadResources() {
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  for (const ResourceEntry &sprite : SPRITES)
    resources.loadSprite(sprite.file, sprite.label);
  for (const ResourceEntry &sound : SOUNDS)
    resources.loadSound(sound.file, sound.label);
  for (const ResourceEntry &music : MUSICS)
    resources.loadMusic(music.file, music.label);
}

void playSound(const std::string &label) {
  if (cv::Sound *sound = cv::ResourceManager::getInstance().getSound(label))
    sound->play();
}

cv::Music *findMusic(const std::string &label) { return cv::ResourceManager::getInstance().getMusic(label); }
