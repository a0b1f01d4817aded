#include "presentation/input/InputManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <cstdlib>  // Required for: getenv()

#include "core/GameManager.h"
#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "presentation/display/DisplayManager.h"
#include "presentation/input/InputRecorder.h"
#include "presentation/input/InputReplayer.h"
#include "presentation/terminal/TerminalDisplay.h"
#include "presentation/terminal/TerminalInput.h"

namespace cv {

namespace {

// The named keys outside the three blocks (letters, digits, F1 to F12),
// with the window library's key for each.
struct KeyPair {
  Keyboard::Key key;     // engine key
  sf::Keyboard::Key sf;  // window-library key
};

const KeyPair SINGLE_KEYS[] = {
    {Keyboard::SPACE, sf::Keyboard::Space},
    {Keyboard::RETURN, sf::Keyboard::Enter},
    {Keyboard::ESCAPE, sf::Keyboard::Escape},
    {Keyboard::TAB, sf::Keyboard::Tab},
    {Keyboard::LEFT, sf::Keyboard::Left},
    {Keyboard::RIGHT, sf::Keyboard::Right},
    {Keyboard::UP, sf::Keyboard::Up},
    {Keyboard::DOWN, sf::Keyboard::Down},
    {Keyboard::PAUSE, sf::Keyboard::Pause},
    {Keyboard::MINUS, sf::Keyboard::Subtract},
    {Keyboard::PLUS, sf::Keyboard::Add},
    {Keyboard::TILDE, sf::Keyboard::Tilde},
    {Keyboard::PERIOD, sf::Keyboard::Period},
    {Keyboard::COMMA, sf::Keyboard::Comma},
    {Keyboard::SLASH, sf::Keyboard::Slash},
    {Keyboard::EQUAL, sf::Keyboard::Equal},
    {Keyboard::BACKSLASH, sf::Keyboard::Backslash},
    {Keyboard::MULTIPLY, sf::Keyboard::Multiply},
    {Keyboard::QUOTE, sf::Keyboard::Quote},
    {Keyboard::SEMICOLON, sf::Keyboard::Semicolon},
    {Keyboard::LEFT_CONTROL, sf::Keyboard::LControl},
    {Keyboard::RIGHT_CONTROL, sf::Keyboard::RControl},
    {Keyboard::LEFT_SHIFT, sf::Keyboard::LShift},
    {Keyboard::RIGHT_SHIFT, sf::Keyboard::RShift},
    {Keyboard::NUM0, sf::Keyboard::Num0},
    {Keyboard::BACKSPACE, sf::Keyboard::Backspace},
};

// A run of consecutive keys that map one to one onto consecutive library keys.
struct KeyBlock {
  Keyboard::Key first_key;     // first engine key of the run
  sf::Keyboard::Key first_sf;  // its library key
  int count;                   // keys in the run
};

const KeyBlock KEY_BLOCKS[] = {
    {Keyboard::A, sf::Keyboard::A, 26},
    {Keyboard::NUM1, sf::Keyboard::Num1, 9},
    {Keyboard::F1, sf::Keyboard::F1, 12},
};

// The keys whose held state is polled every iteration, in polling order.
// F11, F12 and unnamed keys are not polled.
std::vector<Keyboard::Key> polledKeys() {
  std::vector<Keyboard::Key> keys = {
      Keyboard::UP,           Keyboard::DOWN,          Keyboard::LEFT,       Keyboard::RIGHT,      Keyboard::SPACE,
      Keyboard::RETURN,       Keyboard::TAB,           Keyboard::ESCAPE,     Keyboard::PAUSE,      Keyboard::MINUS,
      Keyboard::PLUS,         Keyboard::TILDE,         Keyboard::PERIOD,     Keyboard::COMMA,      Keyboard::SLASH,
      Keyboard::EQUAL,        Keyboard::BACKSLASH,     Keyboard::MULTIPLY,   Keyboard::QUOTE,      Keyboard::SEMICOLON,
      Keyboard::LEFT_CONTROL, Keyboard::RIGHT_CONTROL, Keyboard::LEFT_SHIFT, Keyboard::RIGHT_SHIFT};
  for (int key = Keyboard::F1; key <= Keyboard::F10; key++)
    keys.push_back(static_cast<Keyboard::Key>(key));
  for (int key = Keyboard::A; key <= Keyboard::Z; key++)
    keys.push_back(static_cast<Keyboard::Key>(key));
  for (int key = Keyboard::NUM1; key <= Keyboard::NUM9; key++)
    keys.push_back(static_cast<Keyboard::Key>(key));
  keys.push_back(Keyboard::NUM0);
  keys.push_back(Keyboard::BACKSPACE);
  return keys;
}

// The library's key for each polled key, worked out once.
const std::vector<sf::Keyboard::Key> &polledSFMLKeys() {
  static const std::vector<sf::Keyboard::Key> sf_keys = [] {
    std::vector<sf::Keyboard::Key> result;
    for (Keyboard::Key key : polledKeys())
      result.push_back(static_cast<sf::Keyboard::Key>(sfmlKeyOf(key)));
    return result;
  }();
  return sf_keys;
}

// Dispatches a keyboard event with `action` for a library key code.
void sendKey(const InputManager &input_manager, int sfml_code, EventKeyboardAction action) {
  EventKeyboard event = input_manager.toEventKeyboard(sfml_code);
  event.setKeyboardAction(action);
  input_manager.onEvent(&event);
}

// A window pixel position in view cells.
Vector cellsOf(int pixel_x, int pixel_y) {
  return pixelsToSpaces(Vector(static_cast<float>(pixel_x), static_cast<float>(pixel_y)));
}

}  // namespace

Keyboard::Key keyFromSFML(int sfml_code) {
  for (const KeyBlock &block : KEY_BLOCKS)
    if (sfml_code >= block.first_sf && sfml_code < block.first_sf + block.count)
      return static_cast<Keyboard::Key>(block.first_key + (sfml_code - block.first_sf));
  for (const KeyPair &pair : SINGLE_KEYS)
    if (sfml_code == pair.sf)
      return pair.key;
  return static_cast<Keyboard::Key>(sfml_code + UNNAMED_KEY_OFFSET);
}

int sfmlKeyOf(Keyboard::Key key) {
  for (const KeyBlock &block : KEY_BLOCKS)
    if (key >= block.first_key && key < block.first_key + block.count)
      return block.first_sf + (key - block.first_key);
  for (const KeyPair &pair : SINGLE_KEYS)
    if (key == pair.key)
      return pair.sf;
  return sf::Keyboard::Unknown;
}

Mouse::Button clickedButton(int sfml_button) {
  switch (sfml_button) {
    case sf::Mouse::Left:
      return Mouse::LEFT_BUTTON;
    case sf::Mouse::Right:
      return Mouse::RIGHT_BUTTON;
    case sf::Mouse::Middle:
      return Mouse::MIDDLE_BUTTON;
    default:
      return Mouse::MOUSE_BUTTON_UNDEFINED;
  }
}

InputManager::InputManager() { setType("InputManager"); }

InputManager::~InputManager() = default;

InputManager &InputManager::getInstance() {
  static InputManager input_manager;
  return input_manager;
}

int InputManager::startUp() {
  LogManager &log_manager = LogManager::getInstance();
  if (Config::getInstance().getHeadless()) {
    log_manager.writeLog(1, "InputManager::startUp(): not doing input since in headless mode.");
  } else {
    if (isStarted()) {
      log_manager.writeLog("InputManager::startUp(): Already started.");
      return 0;
    }
    const DisplayManager &display_manager = DisplayManager::getInstance();
    if (!display_manager.isStarted()) {
      log_manager.writeLog(
          "InputManager::startUp(): Error starting InputManager. DisplayManager must be started first.");
      return -1;
    }
    sf::RenderWindow *window = display_manager.getWindowForInput();
    TerminalDisplay *terminal = display_manager.getTerminal();
    if (terminal) {
      terminal_input = std::make_unique<TerminalInput>([this](const Event *event) { onEvent(event); },
                                                       [terminal](const char *control) { terminal->send(control); });
      log_manager.writeLog(2, "InputManager::startUp(): reading keys and mouse from the terminal.");
    } else if (!window) {
      log_manager.writeLog(
          "InputManager::startUp(): Warning - DisplayManager unexpectedly returned null window! Cannot disable "
          "keyboard repeat.");
    } else {
      window->setKeyRepeatEnabled(false);
      log_manager.writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
    }
  }
  Manager::startUp();
  log_manager.writeLog(5, "InputManager::startUp(): successfully started.");
  return 0;
}

void InputManager::shutDown() {
  LogManager &log_manager = LogManager::getInstance();
  terminal_input.reset();
  sf::RenderWindow *window = DisplayManager::getInstance().getWindowForInput();
  if (window) {
    window->setKeyRepeatEnabled(true);
    log_manager.writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
  }
  Manager::shutDown();
  log_manager.writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT;
}

void InputManager::getInput() {
  const int step = GameManager::getInstance().getStepCount();
  if (replayer) {
    replayer->playStep(step, digestWorld(), *this);
    // Live input is read and dropped, so the window's queue does not grow.
    if (sf::RenderWindow *window = DisplayManager::getInstance().getWindowForInput())
      drainKeyPresses(*window);
    return;
  }
  if (recorder)
    recorder->checkpoint(step, digestWorld());
  if (Config::getInstance().getHeadless())
    return;
  if (terminal_input) {
    terminal_input->getInput();
    return;
  }
  sf::RenderWindow *window = DisplayManager::getInstance().getWindowForInput();
  if (!window) {
    LogManager::getInstance().writeLog("InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }
  if (!sendWindowEvents(*window))
    return;
  sendHeldButtons(*window);
  sendHeldKeys();
}

bool InputManager::sendWindowEvents(sf::RenderWindow &window) const {
  sf::Event event;
  while (window.pollEvent(event)) {
    switch (event.type) {
      case sf::Event::Closed:
        LogManager::getInstance().writeLog(1, "InputManager::getInput(): Window close event. Setting game over.");
        GameManager::getInstance().setGameOver(true);
        return false;
      case sf::Event::KeyPressed:
        sendKey(*this, event.key.code, KEY_PRESSED);
        break;
      case sf::Event::KeyReleased:
        sendKey(*this, event.key.code, KEY_RELEASED);
        break;
      case sf::Event::MouseMoved: {
        EventMouse moved;
        moved.setMouseAction(MOVED);
        moved.setMousePosition(cellsOf(event.mouseMove.x, event.mouseMove.y));
        onEvent(&moved);
        break;
      }
      case sf::Event::MouseButtonPressed: {
        EventMouse clicked;
        clicked.setMouseAction(CLICKED);
        clicked.setMousePosition(cellsOf(event.mouseButton.x, event.mouseButton.y));
        clicked.setMouseButton(clickedButton(event.mouseButton.button));
        onEvent(&clicked);
        break;
      }
      default:
        break;
    }
  }
  return true;
}

void InputManager::sendHeldButtons(const sf::RenderWindow &window) const {
  const sf::Vector2i pixels = sf::Mouse::getPosition(window);
  EventMouse held;
  held.setMouseAction(PRESSED);
  held.setMousePosition(cellsOf(pixels.x, pixels.y));
  const Mouse::Button buttons[] = {Mouse::LEFT_BUTTON, Mouse::RIGHT_BUTTON, Mouse::MIDDLE_BUTTON};
  for (Mouse::Button button : buttons) {
    if (sf::Mouse::isButtonPressed(static_cast<sf::Mouse::Button>(button))) {
      held.setMouseButton(button);
      onEvent(&held);
    }
  }
}

void InputManager::sendHeldKeys() const {
  for (sf::Keyboard::Key sf_key : polledSFMLKeys())
    if (sf::Keyboard::isKeyPressed(sf_key)) {
      EventKeyboard held;
      held.setKey(keyFromSFML(sf_key));
      held.setKeyboardAction(KEY_DOWN);
      onEvent(&held);
    }
}

EventKeyboard InputManager::toEventKeyboard(int sfml_code) const {
  EventKeyboard event;
  event.setKey(keyFromSFML(sfml_code));
  LogManager::getInstance().writeLog(15, "InputManager::toEventKeyboard(): Keyboard event '%c' (%d)",
                                     static_cast<int>(event.getKey()), sfml_code);
  return event;
}

TerminalInput *InputManager::getTerminalInput() const { return terminal_input.get(); }

std::vector<int> InputManager::drainKeyPresses(sf::RenderWindow &window) const {
  std::vector<int> key_codes;
  sf::Event event;
  while (window.pollEvent(event))
    if (event.type == sf::Event::KeyPressed)
      key_codes.push_back(event.key.code);
  return key_codes;
}

int InputManager::onEvent(const Event *event) const {
  if (replayer)
    return 0;
  const int receivers = Manager::onEvent(event);
  if (recorder)
    recorder->event(GameManager::getInstance().getStepCount(), *event, receivers);
  return receivers;
}

int InputManager::prepareReplay() {
  const char *filename = std::getenv("CORVANE_REPLAY");
  if (!filename || !*filename)
    return 0;
  auto new_replayer = std::make_unique<InputReplayer>();
  if (new_replayer->open(filename) == -1)
    return -1;
  replayer = std::move(new_replayer);
  Config &config = Config::getInstance();
  const std::string current = config.getConfigText();
  if (!replayer->getConfigText().empty())
    config.loadConfig(replayer->getConfigText());
  if (!current.empty())
    config.loadConfig(current);
  // The log started before the recording was read: give it the level now.
  if (config.hasLogLevel())
    LogManager::getInstance().setLogLevel(config.getLogLevel());
  return 0;
}

bool InputManager::isReplaying() const { return replayer != nullptr; }

int InputManager::chooseSeed(int seed) const { return replayer ? replayer->getSeed() : seed; }

int InputManager::startRecording(int seed) {
  const char *filename = std::getenv("CORVANE_RECORD");
  if (!filename || !*filename || replayer)
    return 0;
  auto new_recorder = std::make_unique<InputRecorder>();
  if (new_recorder->open(filename, seed, Config::getInstance().getConfigText()) == -1)
    return -1;
  recorder = std::move(new_recorder);
  return 0;
}

void InputManager::endRecordingAndReplay(int last_step) {
  if (recorder)
    recorder->close(last_step, digestWorld());
  if (replayer)
    replayer->finish(last_step, digestWorld());
  recorder.reset();
  replayer.reset();
}

}  // namespace cv
