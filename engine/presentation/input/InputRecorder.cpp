#include "presentation/input/InputRecorder.h"

#include <cinttypes>
#include <cstring>

#include "core/Event.h"
#include "core/ObjectList.h"
#include "core/ObjectListIterator.h"
#include "foundation/LogManager.h"
#include "hud/serialization.h"
#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace cv {

namespace {

// FNV-1a, 32 bits: small, fast and the same on every machine.
class Hash {
 public:
  void add(const void *data, std::size_t size) {
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < size; i++)
      value = (value ^ bytes[i]) * 16777619u;
  }
  void add(int number) { add(&number, sizeof number); }
  void add(float number) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    add(&bits, sizeof bits);
  }
  void add(const std::string &text) { add(text.data(), text.size() + 1); }
  std::uint32_t get() const { return value; }

 private:
  std::uint32_t value = 2166136261u;
};

}  // namespace

WorldDigest digestWorld() {
  WorldDigest world;
  Hash hash;
  const ObjectList all = WorldManager::getInstance().getAllObjects(true);
  for (ObjectListIterator li(&all); !li.isDone(); li.next()) {
    const Object *object = li.currentObject();
    hash.add(object->getId());
    hash.add(object->getType());
    hash.add(object->getPosition().getX());
    hash.add(object->getPosition().getY());
    hash.add(object->getVelocity().getX());
    hash.add(object->getVelocity().getY());
    hash.add(object->getAltitude());
    hash.add(static_cast<int>(object->getSolidness()));
    hash.add(static_cast<int>(object->isActive()) * 2 + static_cast<int>(object->isVisible()));
    hash.add(object->getAnimation().getIndex());
    world.objects++;
  }
  world.digest = hash.get();
  return world;
}

int InputRecorder::open(const std::string &new_filename, int seed, const std::string &config_text) {
  filename = new_filename;
  file.open(filename, std::ios::out | std::ios::trunc);
  if (!file.is_open()) {
    LogManager::getInstance().writeLog("InputRecorder::open(): Error! Cannot write recording '%s'.",
                                       filename.c_str());
    return -1;
  }
  file << RECORDING_HEADER << "\nseed " << seed << "\nconfig " << textForm(config_text) << "\n";
  LogManager::getInstance().writeLog("InputRecorder::open(): Recording input to '%s'.", filename.c_str());
  return 0;
}

void InputRecorder::checkpoint(int step, WorldDigest world) {
  char line[64];
  std::snprintf(line, sizeof line, "%d world %d %08" PRIx32 "\n", step, world.objects, world.digest);
  file << line;
}

void InputRecorder::event(int step, const Event &event, int receivers) {
  if (event.getType() == KEYBOARD_EVENT) {
    const auto &keyboard = static_cast<const EventKeyboard &>(event);
    file << step << " keyboard " << keyboard.getKeyboardAction() << " " << keyboard.getKey() << " " << receivers
         << "\n";
  } else if (event.getType() == MOUSE_EVENT) {
    const auto &mouse = static_cast<const EventMouse &>(event);
    file << step << " mouse " << mouse.getMouseAction() << " " << mouse.getMouseButton() << " "
         << floatForm(mouse.getMousePosition().getX()) << " " << floatForm(mouse.getMousePosition().getY()) << " "
         << receivers << "\n";
  }
}

void InputRecorder::close(int last_step, WorldDigest world) {
  char line[64];
  std::snprintf(line, sizeof line, "end %d %d %08" PRIx32 "\n", last_step, world.objects, world.digest);
  file << line;
  file.close();
  if (file.fail())
    LogManager::getInstance().writeLog("InputRecorder::close(): Error! Recording '%s' not written whole.",
                                       filename.c_str());
  else
    LogManager::getInstance().writeLog("InputRecorder::close(): Recorded %d steps to '%s'.", last_step + 1,
                                       filename.c_str());
}

}  // namespace cv
