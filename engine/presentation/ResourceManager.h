#pragma once

#include <string>

#include "core/Manager.h"
#include "presentation/Music.h"
#include "presentation/Sound.h"

namespace cv {

class Sprite;

const int MAX_SPRITES = 1000;
const int MAX_SOUNDS = 100;
const int MAX_MUSICS = 50;

/// Loads and owns sprites, sounds and music, each found by its label
/// (the first loaded wins). Results: 0 loaded, -1 not loaded.
class ResourceManager : public Manager {
 public:
  static ResourceManager &getInstance();
  ~ResourceManager() override;

  int startUp() override;
  /// Frees the sprites and stops every sound and music.
  void shutDown() override;

  /// Reads a sprite file and keeps the sprite under `label`.
  int loadSprite(std::string filename, std::string label);
  Sprite *getSprite(std::string label) const;

  int loadSound(std::string filename, std::string label);
  Sound *getSound(std::string label);

  int loadMusic(std::string filename, std::string label);
  Music *getMusic(std::string label);

 private:
  ResourceManager();
  ResourceManager(const ResourceManager &) = delete;
  ResourceManager &operator=(const ResourceManager &) = delete;

  Sprite *sprites[MAX_SPRITES];  ///< loaded sprites, owned
  int sprite_count;              ///< sprites loaded
  Sound sounds[MAX_SOUNDS];      ///< sound slots
  int sound_count;               ///< sounds loaded
  Music music[MAX_MUSICS];       ///< music slots
  int music_count;               ///< musics loaded
};

}  // namespace cv
