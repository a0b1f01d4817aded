#include "presentation/terminal/TerminalInput.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/terminal.h"
#include "presentation/input/EventKeyboard.h"
#include "presentation/input/EventMouse.h"
#include "presentation/terminal/terminal_codes.h"

namespace cv {

namespace {

// Bytes taken from the terminal in one iteration at most; the rest waits
// for the next, so a flood cannot stall the game.
const int MAX_READ_BYTES = 64 * 1024;
const int READ_CHUNK = 4096;

std::int64_t nowMilliseconds() { return platform::monotonicMicroseconds() / 1000; }

// Whether `key` is one the window reports as held (F11, F12 and unnamed keys are not).
bool isPolledKey(int key) {
  return key >= Keyboard::SPACE && key <= Keyboard::BACKSPACE && key != Keyboard::F11 && key != Keyboard::F12;
}

int buttonIndex(Mouse::Button button) {
  switch (button) {
    case Mouse::LEFT_BUTTON: return 0;
    case Mouse::RIGHT_BUTTON: return 1;
    case Mouse::MIDDLE_BUTTON: return 2;
    default: return -1;
  }
}

}  // namespace

TerminalInput::TerminalInput(std::function<void(const Event *)> dispatch_event,
                             std::function<void(const char *)> send_control)
    : dispatch(std::move(dispatch_event)),
      send(std::move(send_control)),
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

void TerminalInput::getInput() {
  std::vector<char> bytes;
  readWaiting(bytes);
  handleBytes(bytes.empty() ? nullptr : bytes.data(), static_cast<int>(bytes.size()), nowMilliseconds());
}

void TerminalInput::handleBytes(const char *bytes, int count, std::int64_t now_ms) {
  std::vector<TerminalInputItem> items;
  if (bytes && count > 0)
    decoder.feed(bytes, count, items);
  else
    decoder.flush(items);
  for (Keyboard::Key key : released_meanwhile)
    handleKey(key, KeyPhase::RELEASE, now_ms);
  released_meanwhile.clear();
  for (const TerminalInputItem &item : items)
    handleItem(item, now_ms);
  releaseStaleKeys(now_ms);
  sendHeldButtons();
  sendHeldKeys();
}

std::vector<Keyboard::Key> TerminalInput::drainKeyPresses() {
  std::vector<char> bytes;
  readWaiting(bytes);
  std::vector<TerminalInputItem> items;
  if (bytes.empty())
    decoder.flush(items);
  else
    decoder.feed(bytes.data(), static_cast<int>(bytes.size()), items);
  std::vector<Keyboard::Key> pressed;
  for (const TerminalInputItem &item : items) {
    if (item.kind == TerminalInputItem::KEY && item.phase == KeyPhase::PRESS)
      pressed.push_back(item.key);
    else if (item.kind == TerminalInputItem::KEY && item.phase == KeyPhase::RELEASE)
      released_meanwhile.push_back(item.key);
    else if (item.kind == TerminalInputItem::MOUSE_UP && buttonIndex(item.button) >= 0)
      buttons_held[buttonIndex(item.button)] = false;
    else if (item.kind == TerminalInputItem::RELEASES_OFFERED)
      handleItem(item, nowMilliseconds());
  }
  return pressed;
}

void TerminalInput::handleItem(const TerminalInputItem &item, std::int64_t now_ms) {
  switch (item.kind) {
    case TerminalInputItem::KEY:
      handleKey(item.key, item.phase, now_ms);
      break;
    case TerminalInputItem::MOUSE_MOVED:
      mouse_position = Vector(static_cast<float>(item.column), static_cast<float>(item.row));
      sendMouse(MOVED, Mouse::MOUSE_BUTTON_UNDEFINED);
      break;
    case TerminalInputItem::MOUSE_DOWN:
      mouse_position = Vector(static_cast<float>(item.column), static_cast<float>(item.row));
      buttons_held[buttonIndex(item.button)] = true;
      sendMouse(CLICKED, item.button);
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

void TerminalInput::handleKey(Keyboard::Key key, KeyPhase phase, std::int64_t now_ms) {
  const auto held = held_keys.find(key);
  if (phase == KeyPhase::RELEASE) {
    if (held != held_keys.end()) {
      held_keys.erase(held);
      sendKey(key, KEY_RELEASED);
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
  sendKey(key, KEY_PRESSED);
}

void TerminalInput::releaseStaleKeys(std::int64_t now_ms) {
  if (releases)
    return;  // the terminal says when a key comes up
  for (auto it = held_keys.begin(); it != held_keys.end();) {
    const int wait = it->second.repeating ? REPEAT_GAP_MS : FIRST_REPEAT_WAIT_MS;
    if (now_ms - it->second.last_ms > wait) {
      const Keyboard::Key key = static_cast<Keyboard::Key>(it->first);
      it = held_keys.erase(it);
      sendKey(key, KEY_RELEASED);
    } else {
      ++it;
    }
  }
}

void TerminalInput::sendKey(Keyboard::Key key, int action) const {
  EventKeyboard event;
  event.setKey(key);
  event.setKeyboardAction(static_cast<EventKeyboardAction>(action));
  dispatch(&event);
}

void TerminalInput::sendMouse(int action, Mouse::Button button) const {
  EventMouse event;
  event.setMouseAction(static_cast<EventMouseAction>(action));
  event.setMouseButton(button);
  event.setMousePosition(mouse_position);
  dispatch(&event);
}

void TerminalInput::sendHeldButtons() const {
  // One event per held button, left, right, middle, as from the window.
  const Mouse::Button buttons[] = {Mouse::LEFT_BUTTON, Mouse::RIGHT_BUTTON, Mouse::MIDDLE_BUTTON};
  for (Mouse::Button button : buttons)
    if (buttons_held[buttonIndex(button)])
      sendMouse(PRESSED, button);
}

void TerminalInput::sendHeldKeys() const {
  for (const auto &[key, held] : held_keys)
    if (isPolledKey(key))
      sendKey(static_cast<Keyboard::Key>(key), KEY_DOWN);
}

}  // namespace cv
