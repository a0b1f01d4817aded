// The game's art and sound as the build puts them in the run directory: every
// sprite, sound and music loads cleanly, is sized for the default 80 x 24
// world, and every sound is audible.

#include <gtest/gtest.h>

#include <SFML/Audio/SoundBuffer.hpp>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

namespace {

enum class Kind { SPRITE, SOUND, MUSIC };

struct Resource {
  Kind kind;
  const char *label;
  const char *file;  // relative to the run directory
};

// Everything the game loads, in its order.
const std::vector<Resource> RESOURCES = {
    {Kind::SPRITE, "grape", "sprites/grape-spr.txt"},
    {Kind::SPRITE, "lemon", "sprites/lemon-spr.txt"},
    {Kind::SPRITE, "banana", "sprites/banana-spr.txt"},
    {Kind::SPRITE, "durian", "sprites/durian-spr.txt"},
    {Kind::SPRITE, "shield", "sprites/shield-spr.txt"},
    {Kind::SPRITE, "watermelon", "sprites/watermelon-spr.txt"},
    {Kind::SPRITE, "bullet", "sprites/bullet-spr.txt"},
    {Kind::SPRITE, "enemy_bullet", "sprites/bullet-enemy-spr.txt"},
    {Kind::SPRITE, "reflector", "sprites/reflector-spr.txt"},
    {Kind::SPRITE, "gamestart", "sprites/gamestart-spr.txt"},
    {Kind::SPRITE, "gameover", "sprites/gameover-spr.txt"},
    {Kind::SPRITE, "grape-explosion", "sprites/exp-grape-spr.txt"},
    {Kind::SPRITE, "banana-explosion", "sprites/exp-banana-spr.txt"},
    {Kind::SPRITE, "lemon-explosion", "sprites/exp-lemon-spr.txt"},
    {Kind::SPRITE, "watermelon-explosion", "sprites/exp-watermelon-spr.txt"},
    {Kind::SPRITE, "durian-explosion", "sprites/exp-durian-spr.txt"},
    {Kind::SPRITE, "player", "sprites/player-spr.txt"},
    {Kind::SPRITE, "wall", "sprites/wall-spr.txt"},
    {Kind::SPRITE, "ammo_box", "sprites/ammo-box-spr.txt"},
    {Kind::SOUND, "fire", "sounds/fire.wav"},
    {Kind::SOUND, "explode", "sounds/explode.wav"},
    {Kind::SOUND, "explosion-sound", "sounds/explosion-sound.wav"},
    {Kind::SOUND, "start-sound", "sounds/start-sound.wav"},
    {Kind::SOUND, "enemy-death-sound", "sounds/enemy-death-sound.wav"},
    {Kind::SOUND, "player-death-sound", "sounds/player-death-sound.wav"},
    {Kind::SOUND, "shoot", "sounds/shoot-sound.wav"},
    {Kind::MUSIC, "start music", "sounds/title-music.wav"},
    {Kind::MUSIC, "game music", "sounds/game-music.wav"},
};

std::string inRunDirectory(const char *file) { return std::string(TOMATO_RUN_DIR) + "/" + file; }

int load(const Resource &resource) {
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  const std::string path = inRunDirectory(resource.file);
  switch (resource.kind) {
    case Kind::SPRITE:
      return resources.loadSprite(path, resource.label);
    case Kind::SOUND:
      return resources.loadSound(path, resource.label);
    case Kind::MUSIC:
      return resources.loadMusic(path, resource.label);
  }
  return -1;
}

bool mentions(const std::string &message, const char *word) { return message.find(word) != std::string::npos; }

// The step the game runs at, in milliseconds.
const int FRAME_TIME = 33;

}  // namespace

TEST(Assets, EveryResourceLoadsWithoutAWarningOrError) {
  TestEngine engine("headless:true,log_level:10,");
  ASSERT_EQ(engine.start(), 0);
  for (const Resource &resource : RESOURCES)
    EXPECT_EQ(load(resource), 0) << resource.file;

  for (const std::string &message : engine.messages()) {
    EXPECT_FALSE(mentions(message, "Error") || mentions(message, "Warning") || mentions(message, "not loaded"))
        << message;
  }
  int sprites = 0, sounds = 0, musics = 0;
  for (const Resource &resource : RESOURCES) {
    const std::string label = resource.label;
    if (resource.kind == Kind::SPRITE)
      sprites += engine.logged("ResourceManager::loadSprite(): Sprite '" + label + "' loaded.");
    else if (resource.kind == Kind::SOUND)
      sounds += engine.logged("ResourceManager::loadSound(): Sound '" + label + "' successfully loaded.");
    else
      musics += engine.logged("ResourceManager::loadMusic(): Music '" + label + "' successfully loaded.");
  }
  EXPECT_EQ(sprites, 19);
  EXPECT_EQ(sounds, 7);
  EXPECT_EQ(musics, 2);
}

// Sizes and timings the game's rules depend on, in the default 80 x 24 world.
TEST(Assets, SpritesFitTheDefaultWorldAndTheirTimings) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  for (const Resource &resource : RESOURCES) {
    if (resource.kind == Kind::SPRITE) {
      ASSERT_EQ(load(resource), 0) << resource.file;
    }
  }
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();

  struct Bounds {
    const char *label;
    int min_width, max_width, min_height, max_height;
  };
  const Bounds bounds[] = {
      // Enemies: a few cells wide and one to three high; a durian of more
      // than three rows would touch its shield three rows below it.
      {"grape", 3, 9, 1, 3},
      {"lemon", 3, 9, 1, 3},
      {"banana", 3, 9, 1, 3},
      {"durian", 3, 9, 1, 3},
      {"watermelon", 3, 9, 1, 3},
      {"shield", 3, 11, 1, 1},
      {"bullet", 1, 1, 1, 1},
      {"enemy_bullet", 1, 1, 1, 1},
      {"player", 3, 9, 2, 3},
      {"ammo_box", 1, 3, 1, 1},
      // The walls close the play field from the top row to the bottom one.
      {"wall", 1, 1, 24, 25},
      // The title picture fits the view. The game-over picture, at the
      // view's centre (column 40), stays left of the right wall (column 53).
      {"gamestart", 20, 80, 5, 24},
      {"gameover", 15, 25, 5, 24},
  };
  for (const Bounds &bound : bounds) {
    const cv::Sprite *sprite = resources.getSprite(bound.label);
    ASSERT_NE(sprite, nullptr) << bound.label;
    EXPECT_GE(sprite->getWidth(), bound.min_width) << bound.label;
    EXPECT_LE(sprite->getWidth(), bound.max_width) << bound.label;
    EXPECT_GE(sprite->getHeight(), bound.min_height) << bound.label;
    EXPECT_LE(sprite->getHeight(), bound.max_height) << bound.label;
  }

  // The reflector surrounds the hero's one-cell collision box one cell right
  // of and below its position.
  const cv::Sprite *reflector = resources.getSprite("reflector"), *player = resources.getSprite("player");
  EXPECT_GE(reflector->getHeight(), 5);
  EXPECT_GE(reflector->getWidth(), 5);
  // Its ring is drawn no wider than the hero and no lower than the hero's
  // bottom row, so wherever the hero stands the ring is inside the walls
  // and on the screen.
  EXPECT_LE(reflector->getWidth(), player->getWidth());
  for (int f = 0; f < reflector->getFrameCount(); f++) {
    const cv::Frame frame = reflector->getFrame(f);
    const int below_hero = (frame.getHeight() - player->getHeight()) / 2;
    const std::string text = frame.getString();
    const std::string lowest(text.end() - below_hero * frame.getWidth(), text.end());
    EXPECT_EQ(lowest, std::string(lowest.size(), reflector->getTransparency())) << "frame " << f;
  }

  // The two screens draw only their ink: their blanks are the transparent
  // character, so they never erase the field or a counter behind them.
  for (const char *label : {"gamestart", "gameover"}) {
    const cv::Sprite *sprite = resources.getSprite(label);
    EXPECT_NE(sprite->getTransparency(), 0) << label;
    for (int f = 0; f < sprite->getFrameCount(); f++)
      EXPECT_EQ(sprite->getFrame(f).getString().find(' '), std::string::npos) << label << " frame " << f;
  }

  // An explosion lives one step per frame, so each frame must advance on
  // every draw; a few frames make it visible.
  for (const char *label :
       {"grape-explosion", "banana-explosion", "lemon-explosion", "watermelon-explosion", "durian-explosion"}) {
    const cv::Sprite *sprite = resources.getSprite(label);
    EXPECT_LE(sprite->getSlowdown(), 1) << label;
    EXPECT_GE(sprite->getFrameCount(), 4) << label;
  }

  // The game-over screen stays for one run through its animation: two to three seconds.
  const cv::Sprite *gameover = resources.getSprite("gameover");
  const int milliseconds = gameover->getFrameCount() * gameover->getSlowdown() * FRAME_TIME;
  EXPECT_GE(milliseconds, 2000);
  EXPECT_LE(milliseconds, 3000);
}

TEST(Assets, SoundsAreAudibleUnclippedAndMusicLoopsCleanly) {
  for (const Resource &resource : RESOURCES) {
    if (resource.kind == Kind::SPRITE)
      continue;
    sf::SoundBuffer buffer;
    ASSERT_TRUE(buffer.loadFromFile(inRunDirectory(resource.file))) << resource.file;
    const sf::Int16 *samples = buffer.getSamples();
    const std::size_t count = static_cast<std::size_t>(buffer.getSampleCount());
    ASSERT_GT(count, 0u) << resource.file;
    int loudest = 0;
    for (std::size_t i = 0; i < count; i++)
      loudest = std::max(loudest, std::abs(static_cast<int>(samples[i])));
    // Audible, and with headroom: nothing at full scale.
    EXPECT_GT(loudest, 3000) << resource.file;
    EXPECT_LT(loudest, 32767) << resource.file;

    if (resource.kind == Kind::MUSIC) {
      EXPECT_GE(buffer.getDuration().asSeconds(), 8.0f) << resource.file;
      // Both ends near silence, so the jump at the loop point makes no click.
      EXPECT_LT(std::abs(static_cast<int>(samples[0])), 200) << resource.file;
      EXPECT_LT(std::abs(static_cast<int>(samples[count - 1])), 200) << resource.file;
    }
  }
}
