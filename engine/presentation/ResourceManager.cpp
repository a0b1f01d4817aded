#include "presentation/ResourceManager.h"

#include "presentation/Sprite.h"

namespace cv {

// Loading is not implemented yet: the manager starts and stops and finds nothing.

ResourceManager::ResourceManager() : sprites(), sprite_count(0), sound_count(0), music_count(0) {
  setType("ResourceManager");
}

ResourceManager::~ResourceManager() = default;

ResourceManager &ResourceManager::getInstance() {
  static ResourceManager resource_manager;
  return resource_manager;
}

int ResourceManager::startUp() { return Manager::startUp(); }
void ResourceManager::shutDown() { Manager::shutDown(); }
int ResourceManager::loadSprite(std::string, std::string) { return -1; }
Sprite *ResourceManager::getSprite(std::string) const { return nullptr; }
int ResourceManager::loadSound(std::string, std::string) { return -1; }
Sound *ResourceManager::getSound(std::string) { return nullptr; }
int ResourceManager::loadMusic(std::string, std::string) { return -1; }
Music *ResourceManager::getMusic(std::string) { return nullptr; }

}  // namespace cv
