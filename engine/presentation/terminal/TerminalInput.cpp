#include "presentation/terminal/TerminalInput.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/terminal.h"
#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"
#include "presentation/input/keyCodes.h"
#include "presentation/terminal/terminal_codes.h"

namespace cv {

namespace {

// Bytes taken from the terminal in one iteration at most; the rest waits
// for the next, so a flood cannot stall the game.
const int MAX_READ_BYTES = 64 * 1024;
const int READ_CHUNK = 4096;

std::int64_t nowMilliseconds() { return platform::monotonicMicroseconds() / 1000; }

// Dispatches nothing: for what arrives while nothing may be sent.
int ignore(const Event *) { return 0; }

int buttonIndex(Mouse::Button button) {
  switch (button) {
    case Mouse::LEFT_BUTTON: return 0;
    case Mouse::RIGHT_BUTTON: return 1;
    case Mouse::MIDDLE_BUTTON: return 2;
    default: return -1;
  }
}

}  // namespace

TerminalInput::TerminalInput(std::function<void(const char *)> send_control)
    : send(std::move(send_control)),
      buttons_held{false, false, false},
      releases(false) {}

bool TerminalInput::hasReleases() const { return releases; }

void TerminalInput::readWaiting(std::vector<char> &bytes) const {
  char chunk[READ_CHUNK];
  while (bytes.size() < static_cast<std::size_t>(MAX_READ_BYTES)) {
    const int got = platform::readTerminal(chunk, READ_CHUNK);
    if (got <= 0)
      break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
}

bool TerminalInput::getInput(const InputDispatch &dispatch) {
  std::vector<char> bytes;
  readWaiting(bytes);
  handleBytes(bytes.empty() ? nullptr : bytes.data(), static_cast<int>(bytes.size()), nowMilliseconds(), dispatch);
  return true;
}

void TerminalInput::handleBytes(const char *bytes, int count, std::int64_t now_ms, const InputDispatch &dispatch) {
  std::vector<TerminalInputItem> items;
  if (bytes && count > 0)
    decoder.feed(bytes, count, items);
  else
    decoder.flush(items);
  for (Keyboard::Key key : released_meanwhile)
    handleKey(key, KeyPhase::RELEASE, now_ms, dispatch);
  released_meanwhile.clear();
  for (const TerminalInputItem &item : items)
    handleItem(item, now_ms, dispatch);
  releaseStaleKeys(now_ms, dispatch);
  sendHeldInput(dispatch);
}

bool TerminalInput::isKeyHeld(Keyboard::Key key) const { return held_keys.count(key) > 0; }

bool TerminalInput::isButtonHeld(Mouse::Button button) const {
  const int index = buttonIndex(button);
  return index >= 0 && buttons_held[index];
}

Vector TerminalInput::getMousePosition() const { return mouse_position; }

std::vector<int> TerminalInput::takeKeyPresses() {
  std::vector<char> bytes;
  readWaiting(bytes);
  std::vector<TerminalInputItem> items;
  if (bytes.empty())
    decoder.flush(items);
  else
    decoder.feed(bytes.data(), static_cast<int>(bytes.size()), items);
  std::vector<int> pressed;
  for (const TerminalInputItem &item : items) {
    if (item.kind == TerminalInputItem::KEY && item.phase == KeyPhase::PRESS)
      pressed.push_back(sfmlKeyOf(item.key));
    else if (item.kind == TerminalInputItem::KEY && item.phase == KeyPhase::RELEASE)
      released_meanwhile.push_back(item.key);
    else if (item.kind == TerminalInputItem::MOUSE_UP && buttonIndex(item.button) >= 0)
      buttons_held[buttonIndex(item.button)] = false;
    else if (item.kind == TerminalInputItem::RELEASES_OFFERED)
      handleItem(item, nowMilliseconds(), ignore);
  }
  return pressed;
}

void TerminalInput::handleItem(const TerminalInputItem &item, std::int64_t now_ms, const InputDispatch &dispatch) {
  switch (item.kind) {
    case TerminalInputItem::KEY:
      handleKey(item.key, item.phase, now_ms, dispatch);
      break;
    case TerminalInputItem::MOUSE_MOVED:
      mouse_position = Vector(static_cast<float>(item.column), static_cast<float>(item.row));
      sendMouse(MOVED, Mouse::MOUSE_BUTTON_UNDEFINED, dispatch);
      break;
    case TerminalInputItem::MOUSE_DOWN:
      mouse_position = Vector(static_cast<float>(item.column), static_cast<float>(item.row));
      buttons_held[buttonIndex(item.button)] = true;
      sendMouse(CLICKED, item.button, dispatch);
      break;
    case TerminalInputItem::MOUSE_UP:
      mouse_position = Vector(static_cast<float>(item.column), static_cast<float>(item.row));
      buttons_held[buttonIndex(item.button)] = false;
      break;
    case TerminalInputItem::RELEASES_OFFERED:
      if (!releases && send) {
        send(terminal_codes::KEY_RELEASES_ON);
        platform::setTerminalRestoreText(std::string(terminal_codes::KEY_RELEASES_OFF) + terminal_codes::RESTORE);
      }
      releases = true;
      break;
  }
}

void TerminalInput::handleKey(Keyboard::Key key, KeyPhase phase, std::int64_t now_ms, const InputDispatch &dispatch) {
  const auto held = held_keys.find(key);
  if (phase == KeyPhase::RELEASE) {
    if (held != held_keys.end()) {
      held_keys.erase(held);
      sendKey(key, KEY_RELEASED, dispatch);
    }
    return;
  }
  if (held != held_keys.end()) {
    // Again while held: the terminal repeats it.
    held->second.last_ms = now_ms;
    held->second.repeating = true;
    return;
  }
  if (phase == KeyPhase::REPEAT && releases)
    return;  // a repeat of a key whose press came before the pause took it
  held_keys[key] = HeldKey{now_ms, false};
  sendKey(key, KEY_PRESSED, dispatch);
}

void TerminalInput::releaseStaleKeys(std::int64_t now_ms, const InputDispatch &dispatch) {
  if (releases)
    return;  // the terminal says when a key comes up
  for (auto it = held_keys.begin(); it != held_keys.end();) {
    const int wait = it->second.repeating ? REPEAT_GAP_MS : FIRST_REPEAT_WAIT_MS;
    if (now_ms - it->second.last_ms > wait) {
      const Keyboard::Key key = static_cast<Keyboard::Key>(it->first);
      it = held_keys.erase(it);
      sendKey(key, KEY_RELEASED, dispatch);
    } else {
      ++it;
    }
  }
}

void TerminalInput::sendKey(Keyboard::Key key, int action, const InputDispatch &dispatch) const {
  EventKeyboard event;
  event.setKey(key);
  event.setKeyboardAction(static_cast<EventKeyboardAction>(action));
  dispatch(&event);
}

void TerminalInput::sendMouse(int action, Mouse::Button button, const InputDispatch &dispatch) const {
  EventMouse event;
  event.setMouseAction(static_cast<EventMouseAction>(action));
  event.setMouseButton(button);
  event.setMousePosition(mouse_position);
  dispatch(&event);
}

}  // namespace cv
