#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Manager.h"
#include "presentation/audio/Music.h"
#include "presentation/audio/Sound.h"

namespace cv {

class Sprite;

const int MAX_SPRITES = 1000;
const int MAX_SOUNDS = 100;
const int MAX_MUSICS = 50;

/// Loads and owns sprites, sounds and music, each found by its label
/// (the first loaded wins). Results: 0 loaded, -1 not loaded.
class ResourceManager : public Manager {
 public:
  /// The one resource manager, created on first use.
  static ResourceManager &getInstance();
  /// Frees the sprites still loaded.
  ~ResourceManager() override;

  /// Empties the resource lists. 0, also when already started.
  int startUp() override;
  /// Frees the sprites and stops every sound and music.
  void shutDown() override;

  /// Reads a sprite file and keeps the sprite under `label`.
  int loadSprite(std::string filename, std::string label);
  /// The first loaded sprite labelled `label`, or null (with a warning).
  Sprite *getSprite(std::string label) const;

  /// Loads a sound file into the next free slot under `label`. Without an
  /// audio device (logged once) every load fails.
  int loadSound(std::string filename, std::string label);
  /// The first loaded sound labelled `label`, or null (with a warning).
  Sound *getSound(std::string label);

  /// Opens a music file in the next free slot under `label` (not empty).
  /// Without an audio device (logged once) every load fails.
  int loadMusic(std::string filename, std::string label);
  /// The first loaded music labelled `label`, or null (with a warning).
  Music *getMusic(std::string label);

  /// Why the last load (sprite, sound or music) failed, in the engine's own
  /// words as in the log: the first error that load wrote, with the file's
  /// name. "" when the last load succeeded or none has run. A game shows it
  /// to the user, as it shows GameManager::getStartUpFailure().
  std::string getLoadFailure() const;

 private:
  ResourceManager();
  ResourceManager(const ResourceManager &) = delete;
  ResourceManager &operator=(const ResourceManager &) = delete;

  /// Runs `load` of `filename`, keeping what it says if it fails (for
  /// getLoadFailure). Returns its result.
  int tracked(const std::string &filename, const std::function<int()> &load);
  int loadSpriteFile(const std::string &filename, const std::string &label);
  int loadSoundFile(const std::string &filename, const std::string &label);
  int loadMusicFile(const std::string &filename, const std::string &label);

  /// Destroys every sprite and sets the count to 0.
  void freeSprites();
  /// Logs every row of every frame of `sprite` at level 15.
  void logFrames(const Sprite &sprite) const;

  Sprite *sprites[MAX_SPRITES];  ///< loaded sprites, owned
  int sprite_count;              ///< sprites loaded
  std::unique_ptr<Sound> sounds[MAX_SOUNDS];  ///< sound slots, each made by its first load
  int sound_count;                            ///< sounds loaded
  std::unique_ptr<Music> music[MAX_MUSICS];   ///< music slots, each made by its first load
  int music_count;                            ///< musics loaded
  std::string load_failure;                   ///< why the last load failed, "" if it did not
};

}  // namespace cv
