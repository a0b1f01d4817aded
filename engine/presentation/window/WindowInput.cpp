#include "presentation/window/WindowInput.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include "foundation/LogManager.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/input/InputManager.h"
#include "presentation/input/keyCodes.h"
#include "presentation/window/WindowScreen.h"

namespace cv {

namespace {

// The engine's numbering of the window library's keys and buttons is the
// library's own; checked here, where both are known.
static_assert(sfml_code::A == sf::Keyboard::A && sfml_code::NUM0 == sf::Keyboard::Num0 &&
                  sfml_code::NUM1 == sf::Keyboard::Num1 && sfml_code::ESCAPE == sf::Keyboard::Escape &&
                  sfml_code::LEFT_CONTROL == sf::Keyboard::LControl && sfml_code::LEFT_SHIFT == sf::Keyboard::LShift &&
                  sfml_code::RIGHT_CONTROL == sf::Keyboard::RControl &&
                  sfml_code::RIGHT_SHIFT == sf::Keyboard::RShift && sfml_code::SEMICOLON == sf::Keyboard::Semicolon &&
                  sfml_code::COMMA == sf::Keyboard::Comma && sfml_code::PERIOD == sf::Keyboard::Period &&
                  sfml_code::QUOTE == sf::Keyboard::Quote && sfml_code::SLASH == sf::Keyboard::Slash &&
                  sfml_code::BACKSLASH == sf::Keyboard::Backslash && sfml_code::TILDE == sf::Keyboard::Tilde &&
                  sfml_code::EQUAL == sf::Keyboard::Equal && sfml_code::SPACE == sf::Keyboard::Space &&
                  sfml_code::RETURN == sf::Keyboard::Enter && sfml_code::BACKSPACE == sf::Keyboard::Backspace &&
                  sfml_code::TAB == sf::Keyboard::Tab && sfml_code::PLUS == sf::Keyboard::Add &&
                  sfml_code::MINUS == sf::Keyboard::Subtract && sfml_code::MULTIPLY == sf::Keyboard::Multiply &&
                  sfml_code::LEFT == sf::Keyboard::Left && sfml_code::RIGHT == sf::Keyboard::Right &&
                  sfml_code::UP == sf::Keyboard::Up && sfml_code::DOWN == sf::Keyboard::Down &&
                  sfml_code::F1 == sf::Keyboard::F1 && sfml_code::PAUSE == sf::Keyboard::Pause,
              "the window library numbers its keys as the engine expects");
static_assert(sf::Mouse::Left == 0 && sf::Mouse::Right == 1 && sf::Mouse::Middle == 2,
              "the window library numbers its buttons as the engine expects");

// Dispatches a keyboard event with `action` for a library key code.
void sendKey(const InputDispatch &dispatch, int sfml_code, EventKeyboardAction action) {
  EventKeyboard event = InputManager::getInstance().toEventKeyboard(sfml_code);
  event.setKeyboardAction(action);
  dispatch(&event);
}

// A window pixel position in view cells.
Vector cellsOf(int pixel_x, int pixel_y) {
  return pixelsToSpaces(Vector(static_cast<float>(pixel_x), static_cast<float>(pixel_y)));
}

}  // namespace

WindowInput::WindowInput(std::shared_ptr<WindowScreen> window_screen) : screen(std::move(window_screen)) {}

sf::RenderWindow *WindowInput::window() const { return screen->getWindowForInput(); }

void WindowInput::startUp() {
  LogManager &log_manager = LogManager::getInstance();
  if (!window()) {
    log_manager.writeLog(
        "InputManager::startUp(): Warning - DisplayManager unexpectedly returned null window! Cannot disable "
        "keyboard repeat.");
    return;
  }
  window()->setKeyRepeatEnabled(false);
  log_manager.writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
}

void WindowInput::shutDown() {
  if (!window())
    return;
  window()->setKeyRepeatEnabled(true);
  LogManager::getInstance().writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
}

bool WindowInput::getInput(const InputDispatch &dispatch) {
  sf::RenderWindow *const target = window();
  if (!target) {
    LogManager::getInstance().writeLog("InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return true;
  }
  sf::Event event;
  while (target->pollEvent(event)) {
    switch (event.type) {
      case sf::Event::Closed:
        return false;
      case sf::Event::KeyPressed:
        sendKey(dispatch, event.key.code, KEY_PRESSED);
        break;
      case sf::Event::KeyReleased:
        sendKey(dispatch, event.key.code, KEY_RELEASED);
        break;
      case sf::Event::MouseMoved: {
        EventMouse moved;
        moved.setMouseAction(MOVED);
        moved.setMousePosition(cellsOf(event.mouseMove.x, event.mouseMove.y));
        dispatch(&moved);
        break;
      }
      case sf::Event::MouseButtonPressed: {
        EventMouse clicked;
        clicked.setMouseAction(CLICKED);
        clicked.setMousePosition(cellsOf(event.mouseButton.x, event.mouseButton.y));
        clicked.setMouseButton(clickedButton(event.mouseButton.button));
        dispatch(&clicked);
        break;
      }
      default:
        break;
    }
  }
  sendHeldInput(dispatch);
  return true;
}

bool WindowInput::isKeyHeld(Keyboard::Key key) const {
  const int code = sfmlKeyOf(key);
  return code != -1 && sf::Keyboard::isKeyPressed(static_cast<sf::Keyboard::Key>(code));
}

bool WindowInput::isButtonHeld(Mouse::Button button) const {
  return button >= Mouse::LEFT_BUTTON && button <= Mouse::MIDDLE_BUTTON &&
         sf::Mouse::isButtonPressed(static_cast<sf::Mouse::Button>(button));
}

Vector WindowInput::getMousePosition() const {
  sf::RenderWindow *const target = window();
  if (!target)
    return Vector();
  const sf::Vector2i pixels = sf::Mouse::getPosition(*target);
  return cellsOf(pixels.x, pixels.y);
}

std::vector<int> WindowInput::takeKeyPresses() {
  std::vector<int> key_codes;
  sf::RenderWindow *const target = window();
  if (!target)
    return key_codes;
  sf::Event event;
  while (target->pollEvent(event))
    if (event.type == sf::Event::KeyPressed)
      key_codes.push_back(event.key.code);
  return key_codes;
}

}  // namespace cv
