#include "presentation/sprites/ResourceManager.h"

#include <memory>
#include <new>
#include <vector>

#include "foundation/LogManager.h"
#include "foundation/utf8.h"
#include "presentation/AudioOutput.h"
#include "presentation/BackEnd.h"
#include "presentation/sprites/Sprite.h"
#include "presentation/sprites/SpriteFileReader.h"

namespace cv {

namespace {

// The object in `slot`, made on first use: every sound and music asks the
// audio device for a voice when it is made, so only the ones loaded are made.
// A slot keeps its object, so pointers handed out stay valid for the run.
// Null when there is no audio device or no memory.
template <typename Audio>
Audio *audioIn(std::unique_ptr<Audio> &slot) {
  if (!audioOutput().isAvailable())
    return nullptr;
  if (!slot) {
    try {
      slot = std::make_unique<Audio>();
    } catch (const std::bad_alloc &) {
      return nullptr;
    }
  }
  return slot.get();
}

// The reason a failed load of `filename` gives, from the messages it wrote
// (`noted`): the first error among them, else the first besides the
// "Loading" line, named with the file when it does not name it itself.
std::string loadFailureReason(const std::vector<std::string> &noted, const std::string &filename) {
  const std::string loading = "ResourceManager::loadSprite(): Loading sprite '";
  std::vector<std::string> said;
  for (const std::string &message : noted) {
    const std::string::size_type text = message.find_first_not_of(" \t");
    if (text != std::string::npos && message.compare(text, loading.size(), loading) != 0)
      said.push_back(message.substr(text));
  }
  if (said.empty())
    return "cannot load '" + filename + "'";
  std::string reason = said.front();
  for (const std::string &message : said)
    if (message.find("Error!") != std::string::npos) {
      reason = message;
      break;
    }
  if (reason.find("'" + filename + "'") == std::string::npos)
    reason += " (file '" + filename + "')";
  return reason;
}

}  // namespace

ResourceManager::ResourceManager() : sprites(), sprite_count(0), sound_count(0), music_count(0) {
  setType("ResourceManager");
}

ResourceManager::~ResourceManager() { freeSprites(); }

ResourceManager &ResourceManager::getInstance() {
  static ResourceManager resource_manager;
  return resource_manager;
}

int ResourceManager::startUp() {
  if (isStarted()) {
    LogManager::getInstance().writeLog("ResourceManager::startUp(): Already started.");
    return 0;
  }
  sprite_count = 0;
  sound_count = 0;
  music_count = 0;
  // Asked now, so a silent game says why before anything is loaded.
  audioOutput().isAvailable();
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "ResourceManager::startUp(): successfully started.");
  return 0;
}

void ResourceManager::shutDown() {
  freeSprites();
  for (int i = 0; i < sound_count; i++)
    sounds[i]->stop();
  for (int i = 0; i < music_count; i++)
    music[i]->stop();
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "ResourceManager::shutDown(): successfully stopped.");
}

void ResourceManager::freeSprites() {
  for (int i = 0; i < sprite_count; i++) {
    delete sprites[i];
    sprites[i] = nullptr;
  }
  sprite_count = 0;
}

int ResourceManager::tracked(const std::string &filename, const std::function<int()> &load) {
  LogManager &log_manager = LogManager::getInstance();
  load_failure.clear();
  log_manager.beginNoting();
  const int result = load();
  const std::vector<std::string> noted = log_manager.endNoting();
  if (result != 0)
    load_failure = loadFailureReason(noted, filename);
  return result;
}

int ResourceManager::loadSprite(std::string filename, std::string label) {
  return tracked(filename, [&] { return loadSpriteFile(filename, label); });
}

int ResourceManager::loadSound(std::string filename, std::string label) {
  return tracked(filename, [&] { return loadSoundFile(filename, label); });
}

int ResourceManager::loadMusic(std::string filename, std::string label) {
  return tracked(filename, [&] { return loadMusicFile(filename, label); });
}

std::string ResourceManager::getLoadFailure() const { return load_failure; }

int ResourceManager::loadSpriteFile(const std::string &filename, const std::string &label) {
  const LogManager &log_manager = LogManager::getInstance();
  if (refuseUnlessStarted())
    return -1;
  if (sprite_count == MAX_SPRITES) {
    log_manager.writeLog("ResourceManager::loadSprite(): Error! Cannot add more Sprites (max is %d).", MAX_SPRITES);
    log_manager.writeLog("ResourceManager::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  log_manager.writeLog("ResourceManager::loadSprite(): Loading sprite '%s'.", filename.c_str());
  std::unique_ptr<Sprite> sprite = SpriteFileReader().read(filename);
  if (!sprite) {
    log_manager.writeLog("ResourceManager::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  sprite->setLabel(label);
  sprites[sprite_count] = sprite.release();
  logFrames(*sprites[sprite_count]);
  sprite_count++;
  log_manager.writeLog("ResourceManager::loadSprite(): Sprite '%s' loaded.", label.c_str());
  return 0;
}

void ResourceManager::logFrames(const Sprite &sprite) const {
  const LogManager &log_manager = LogManager::getInstance();
  if (log_manager.getLogLevel() < 15)
    return;
  log_manager.writeLog(15, "Sprite '%s' frames:", sprite.getLabel().c_str());
  for (int i = 0; i < sprite.getFrameCount(); i++) {
    log_manager.writeLog(15, "Frame %d:", i + 1);
    // Rows of `width` characters, each of one or more bytes.
    const std::string text = sprite.getFrame(i).getString();
    for (size_t row = 0; row < text.size();) {
      size_t end = row;
      for (int column = 0; column < sprite.getWidth() && end < text.size(); column++)
        decodeUtf8(text, end);
      if (end == row)
        break;  // no width: no rows
      log_manager.writeLog(15, "\t%s", text.substr(row, end - row).c_str());
      row = end;
    }
  }
}

Sprite *ResourceManager::getSprite(std::string label) const {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "ResourceManager::getSprite(): Looking for sprite '%s'.", label.c_str());
  for (int i = 0; i < sprite_count; i++)
    if (sprites[i]->getLabel() == label)
      return sprites[i];
  log_manager.writeLog("ResourceManager::getSprite(): Warning! Sprite '%s' not found.", label.c_str());
  return nullptr;
}

int ResourceManager::loadSoundFile(const std::string &filename, const std::string &label) {
  const LogManager &log_manager = LogManager::getInstance();
  if (refuseUnlessStarted())
    return -1;
  if (sound_count == MAX_SOUNDS) {
    log_manager.writeLog("ResourceManager::loadSound(): Error! Unable to add more sounds (max is %d).", MAX_SOUNDS);
    return -1;
  }
  Sound *sound = audioIn(sounds[sound_count]);
  if (!sound || sound->loadSound(filename) == -1) {
    log_manager.writeLog("ResourceManager::loadSound(): Error! Cannot load sound from file '%s'.", filename.c_str());
    return -1;
  }
  sound->setLabel(label);
  log_manager.writeLog(1, "ResourceManager::loadSound(): Sound '%s' successfully loaded.", label.c_str());
  sound_count++;
  return 0;
}

Sound *ResourceManager::getSound(std::string label) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "ResourceManager::getSound(): Looking for sound '%s'.", label.c_str());
  for (int i = 0; i < sound_count; i++)
    if (sounds[i]->getLabel() == label)
      return sounds[i].get();
  log_manager.writeLog("ResourceManager::getSound(): Warning! Sound '%s' not found.", label.c_str());
  return nullptr;
}

int ResourceManager::loadMusicFile(const std::string &filename, const std::string &label) {
  const LogManager &log_manager = LogManager::getInstance();
  if (refuseUnlessStarted())
    return -1;
  if (music_count == MAX_MUSICS) {
    log_manager.writeLog("ResourceManager::loadMusic(): Error! Unable to add more musics (max is %d).", MAX_MUSICS);
    return -1;
  }
  if (label.empty()) {
    log_manager.writeLog("ResourceManager::loadMusic(): Error! Must provide label for music.");
    return -1;
  }
  Music *piece = audioIn(music[music_count]);
  if (!piece || piece->loadMusic(filename) == -1) {
    log_manager.writeLog("ResourceManager::loadmusic(): Error! Cannot load music from file '%s'.", filename.c_str());
    return -1;
  }
  piece->setLabel(label);
  log_manager.writeLog(1, "ResourceManager::loadMusic(): Music '%s' successfully loaded.", label.c_str());
  music_count++;
  return 0;
}

Music *ResourceManager::getMusic(std::string label) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(5, "ResourceManager::getMusic(): Looking for music '%s'.", label.c_str());
  for (int i = 0; i < music_count; i++)
    if (music[i]->getLabel() == label)
      return music[i].get();
  log_manager.writeLog("ResourceManager::getMusic(): Warning! Music '%s' not found.", label.c_str());
  return nullptr;
}

}  // namespace cv
