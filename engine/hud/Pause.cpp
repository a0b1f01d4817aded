#include "hud/Pause.h"

#include <cmath>

#include "foundation/LogManager.h"
#include "platform/signals.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/input/InputManager.h"
#include "world/WorldManager.h"

namespace cv {

namespace {

// The message shown while paused, one line per row, centred on its position.
// Its blanks are drawn too: a dark margin that keeps it legible over the game.
const char *const PAUSE_MESSAGE[] = {
    "                         ",
    "          PAUSED         ",
    " press any key to resume ",
    "                         ",
};

}  // namespace

Pause::Pause(Keyboard::Key key) : pause_key(key), show_message(false), message_position(-1, -1) {
  LogManager::getInstance().writeLog("Pause::Pause(): Pause enabled.  Press any other key to resume.");
  setSolidness(SPECTRAL);
  setType("Pause");
  registerInterest(KEYBOARD_EVENT);
}

int Pause::eventHandler(const Event *event) {
  LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(10, "Pause::eventHandler(): Got event");
  if (event->getType() != KEYBOARD_EVENT)
    return 0;
  const auto *keyboard = static_cast<const EventKeyboard *>(event);
  // Only the press pauses. The same key's held and released events follow
  // the press that resumed the game, and would pause it again at once.
  if (keyboard->getKey() != pause_key || keyboard->getKeyboardAction() != KEY_PRESSED)
    return 1;
  log_manager.writeLog(1, "Pause::eventHandler(): Game paused.");
  InputManager &input_manager = InputManager::getInstance();
  if (!input_manager.canWaitForKeyPress()) {
    log_manager.writeLog("Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause.");
    return 0;
  }
  if (show_message)
    showMessage();
  // Nothing is updated, moved or drawn until a key is pressed; the presses
  // that end the pause are not passed on.
  for (int key_code : input_manager.waitForKeyPress())
    log_manager.writeLog(10, "Pause::eventHandler(): Keypress (%d)", key_code);
  if (platform::stopRequested())
    log_manager.writeLog(1, "Pause::eventHandler(): Pause ended by a request to stop.");
  else
    log_manager.writeLog(1, "Pause::eventHandler(): Game resumed.");
  return 1;
}

void Pause::setShowMessage(bool on) { show_message = on; }

bool Pause::getShowMessage() const { return show_message; }

void Pause::setMessagePosition(Vector position) { message_position = position; }

Vector Pause::getMessagePosition() const { return message_position; }

void Pause::showMessage() const {
  // The back buffer was cleared when the last frame was shown, and the world
  // has not moved since: drawing it again, without moving any animation on,
  // gives the world as it stands, and the message goes on top.
  WorldManager &world_manager = WorldManager::getInstance();
  world_manager.redraw();
  const Box view = world_manager.getView();
  const int rows = static_cast<int>(sizeof(PAUSE_MESSAGE) / sizeof(PAUSE_MESSAGE[0]));
  const bool in_middle = message_position.getX() < 0 && message_position.getY() < 0;
  const Vector centre = in_middle ? Vector(view.getHorizontal() / 2, view.getVertical() / 2) : message_position;
  const float centre_x = view.getCorner().getX() + centre.getX();
  const float top = std::floor(view.getCorner().getY() + centre.getY()) - static_cast<float>(rows / 2);
  DisplayManager &display_manager = DisplayManager::getInstance();
  for (int row = 0; row < rows; row++)
    display_manager.drawString(Vector(centre_x, top + static_cast<float>(row)), PAUSE_MESSAGE[row], CENTER_JUSTIFIED,
                               WHITE);
  display_manager.swapBuffers();
}

}  // namespace cv
