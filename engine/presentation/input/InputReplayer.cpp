#include "presentation/input/InputReplayer.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/GameManager.h"
#include "foundation/LogManager.h"
#include "hud/serialization.h"
#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"
#include "presentation/input/InputManager.h"

namespace cv {

namespace {

// Reads "<objects> <hex digest>" from `in`.
bool readWorld(std::istringstream &in, WorldDigest &world) {
  std::string digest;
  if (!(in >> world.objects >> digest) || digest.size() != 8)
    return false;
  char *end = nullptr;
  world.digest = static_cast<std::uint32_t>(std::strtoul(digest.c_str(), &end, 16));
  return *end == '\0';
}

// Whether nothing but blanks is left in `in`.
bool atEnd(std::istringstream &in) {
  std::string rest;
  return !(in >> rest);
}

}  // namespace

InputReplayer::InputReplayer() : seed(-1), next(0), last_step(-1), drifts(0) {}

int InputReplayer::open(const std::string &new_filename) {
  LogManager &log_manager = LogManager::getInstance();
  filename = new_filename;
  std::ifstream file(filename);
  std::string header, seed_line, config_line;
  if (!file.is_open() || !std::getline(file, header) || header != RECORDING_HEADER) {
    log_manager.writeLog("InputReplayer::open(): Error! '%s' is not a recording.", filename.c_str());
    return -1;
  }
  if (!std::getline(file, seed_line) || std::sscanf(seed_line.c_str(), "seed %d", &seed) != 1 ||
      !std::getline(file, config_line) || config_line.compare(0, 7, "config ") != 0) {
    log_manager.writeLog("InputReplayer::open(): Error! '%s' has no seed and configuration.", filename.c_str());
    return -1;
  }
  config_text = readText(config_line.substr(7));
  int line_number = 3;
  bool ended = false;
  for (std::string line; std::getline(file, line);) {
    line_number++;
    if (line.compare(0, 4, "end ") == 0) {
      std::istringstream in(line.substr(4));
      ended = (in >> last_step) && readWorld(in, final_world) && atEnd(in);
      break;
    }
    if (!readEntry(line))
      break;
  }
  if (!ended) {
    log_manager.writeLog("InputReplayer::open(): Error! '%s' line %d: malformed or missing end.", filename.c_str(),
                         line_number);
    return -1;
  }
  log_manager.writeLog("InputReplayer::open(): Replaying '%s': seed %d, %d steps.", filename.c_str(), seed,
                       last_step + 1);
  return 0;
}

bool InputReplayer::readEntry(const std::string &line) {
  std::istringstream in(line);
  Entry entry{};
  std::string kind;
  if (!(in >> entry.step >> kind) || entry.step < 0 || (!entries.empty() && entry.step < entries.back().step))
    return false;
  if (kind == "world") {
    entry.kind = Entry::WORLD;
    return readWorld(in, entry.world) && atEnd(in) && (entries.push_back(entry), true);
  }
  if (kind == "keyboard") {
    entry.kind = Entry::KEYBOARD;
    if (!(in >> entry.action >> entry.code >> entry.receivers) || !atEnd(in))
      return false;
  } else if (kind == "mouse") {
    entry.kind = Entry::MOUSE;
    std::string x, y;
    if (!(in >> entry.action >> entry.code >> x >> y >> entry.receivers) || !atEnd(in) || !readFloat(x, entry.x) ||
        !readFloat(y, entry.y))
      return false;
  } else {
    return false;
  }
  entries.push_back(entry);
  return true;
}

int InputReplayer::getSeed() const { return seed; }

std::string InputReplayer::getConfigText() const { return config_text; }

int InputReplayer::getLastStep() const { return last_step; }

void InputReplayer::drift(int step, const std::string &what) {
  if (drifts++ == 0)
    LogManager::getInstance().writeLog("InputReplayer::playStep(): Error! Replay drifted at step %d: %s.", step,
                                       what.c_str());
}

void InputReplayer::playStep(int step, WorldDigest world, const InputManager &input_manager) {
  playStep(step, world, [&input_manager](const Event *event) { return input_manager.Manager::onEvent(event); });
}

void InputReplayer::playStep(int step, WorldDigest world, const InputDispatch &dispatch) {
  // Entries of steps already gone (a game that fell behind its recording) are skipped.
  while (next < entries.size() && entries[next].step < step)
    next++;
  for (; next < entries.size() && entries[next].step == step; next++) {
    const Entry &entry = entries[next];
    char text[160];
    if (entry.kind == Entry::WORLD) {
      if (entry.world != world) {
        std::snprintf(text, sizeof text, "%d objects (digest %08" PRIx32 "), recorded %d objects (digest %08" PRIx32 ")",
                      world.objects, world.digest, entry.world.objects, entry.world.digest);
        drift(step, text);
      }
      continue;
    }
    int receivers = 0;
    if (entry.kind == Entry::KEYBOARD) {
      EventKeyboard keyboard;
      keyboard.setKey(static_cast<Keyboard::Key>(entry.code));
      keyboard.setKeyboardAction(static_cast<EventKeyboardAction>(entry.action));
      receivers = dispatch(&keyboard);
    } else {
      EventMouse mouse;
      mouse.setMouseAction(static_cast<EventMouseAction>(entry.action));
      mouse.setMouseButton(static_cast<Mouse::Button>(entry.code));
      mouse.setMousePosition(Vector(entry.x, entry.y));
      receivers = dispatch(&mouse);
    }
    if (receivers != entry.receivers) {
      std::snprintf(text, sizeof text, "%s event reached %d objects, recorded %d",
                    entry.kind == Entry::KEYBOARD ? "keyboard" : "mouse", receivers, entry.receivers);
      drift(step, text);
    }
  }
  if (step >= last_step)
    GameManager::getInstance().setGameOver(true);
}

void InputReplayer::finish(int step, WorldDigest world) {
  LogManager &log_manager = LogManager::getInstance();
  if (step != last_step) {
    char text[96];
    std::snprintf(text, sizeof text, "the game ended at step %d, the recording at step %d", step, last_step);
    drift(step, text);
  } else if (world != final_world) {
    char text[160];
    std::snprintf(text, sizeof text, "final world %d objects (digest %08" PRIx32 "), recorded %d objects (digest %08" PRIx32 ")",
                  world.objects, world.digest, final_world.objects, final_world.digest);
    drift(step, text);
  }
  if (drifts == 0)
    log_manager.writeLog("InputReplayer::finish(): Replay of '%s' matched its recording: %d steps, %d objects at the end.",
                         filename.c_str(), step + 1, world.objects);
  else
    log_manager.writeLog("InputReplayer::finish(): Error! Replay of '%s' drifted from its recording %d times.",
                         filename.c_str(), drifts);
}

}  // namespace cv
