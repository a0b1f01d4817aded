#include "presentation/web/WebInput.h"

#include <emscripten/html5.h>  // Required for: the page's keyboard, mouse and focus callbacks

#include <cstring>

#include "presentation/display/DisplayManager.h"
#include "presentation/input/InputManager.h"
#include "presentation/input/keyCodes.h"
#include "presentation/web/WebScreen.h"
#include "presentation/web/webKeys.h"

namespace cv {

namespace {

const char *const CANVAS = "#canvas";

// Keys the page keeps for itself: reload, and the developer tools.
bool belongsToThePage(const EmscriptenKeyboardEvent &event) {
  return event.ctrlKey || event.metaKey || std::strcmp(event.code, "F5") == 0 || std::strcmp(event.code, "F12") == 0;
}

// The engine button of a page mouse button (0 left, 1 middle, 2 right).
Mouse::Button buttonOf(unsigned short button) {
  switch (button) {
    case 0:
      return Mouse::LEFT_BUTTON;
    case 1:
      return Mouse::MIDDLE_BUTTON;
    case 2:
      return Mouse::RIGHT_BUTTON;
    default:
      return Mouse::MOUSE_BUTTON_UNDEFINED;
  }
}

int buttonIndex(Mouse::Button button) {
  return button == Mouse::LEFT_BUTTON ? 0 : button == Mouse::RIGHT_BUTTON ? 1 : button == Mouse::MIDDLE_BUTTON ? 2 : -1;
}

}  // namespace

WebInput::WebInput(std::shared_ptr<WebScreen> web_screen)
    : screen(std::move(web_screen)), buttons_held{false, false, false}, listening(false) {}

WebInput::~WebInput() { shutDown(); }

void WebInput::startUp() {
  if (listening)
    return;
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, onKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, onKey);
  emscripten_set_mousemove_callback(CANVAS, this, true, onMouse);
  emscripten_set_mousedown_callback(CANVAS, this, true, onMouse);
  emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, onMouse);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, onBlur);
  listening = true;
}

void WebInput::shutDown() {
  if (!listening)
    return;
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  emscripten_set_mousemove_callback(CANVAS, nullptr, true, nullptr);
  emscripten_set_mousedown_callback(CANVAS, nullptr, true, nullptr);
  emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  listening = false;
}

int WebInput::onKey(int type, const EmscriptenKeyboardEvent *event, void *user_data) {
  auto *input = static_cast<WebInput *>(user_data);
  const int code = sfmlCodeOfWebKey(event->code);
  if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
    // The browser repeats a held key; the window reports a press once.
    if (!input->held_keys.count(code)) {
      input->held_keys.insert(code);
      input->events.push_back(PageEvent{PageEvent::KEY_DOWN, code, Mouse::MOUSE_BUTTON_UNDEFINED, Vector()});
    }
  } else if (input->held_keys.erase(code)) {
    input->events.push_back(PageEvent{PageEvent::KEY_UP, code, Mouse::MOUSE_BUTTON_UNDEFINED, Vector()});
  }
  return belongsToThePage(*event) ? EM_FALSE : EM_TRUE;
}

int WebInput::onMouse(int type, const EmscriptenMouseEvent *event, void *user_data) {
  auto *input = static_cast<WebInput *>(user_data);
  const Mouse::Button button = buttonOf(event->button);
  const int index = buttonIndex(button);
  switch (type) {
    case EMSCRIPTEN_EVENT_MOUSEMOVE:
      input->mouse_position = input->cellsOf(*event);
      input->events.push_back(PageEvent{PageEvent::MOVED, -1, Mouse::MOUSE_BUTTON_UNDEFINED, input->mouse_position});
      return EM_TRUE;
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
      input->mouse_position = input->cellsOf(*event);
      if (index >= 0)
        input->buttons_held[index] = true;
      input->events.push_back(PageEvent{PageEvent::BUTTON_DOWN, -1, button, input->mouse_position});
      return EM_TRUE;
    default:  // up, anywhere on the page
      if (index >= 0)
        input->buttons_held[index] = false;
      return EM_FALSE;
  }
}

int WebInput::onBlur(int, const EmscriptenFocusEvent *, void *user_data) {
  static_cast<WebInput *>(user_data)->letGo();
  return EM_FALSE;
}

void WebInput::letGo() {
  for (int code : held_keys)
    events.push_back(PageEvent{PageEvent::KEY_UP, code, Mouse::MOUSE_BUTTON_UNDEFINED, Vector()});
  held_keys.clear();
  buttons_held[0] = buttons_held[1] = buttons_held[2] = false;
}

Vector WebInput::cellsOf(const EmscriptenMouseEvent &event) const {
  // The canvas may be shown larger or smaller than its grid of pixels.
  double css_width = 0, css_height = 0;
  emscripten_get_element_css_size(CANVAS, &css_width, &css_height);
  const DisplayManager &display = DisplayManager::getInstance();
  const double x = css_width > 0 ? event.targetX * display.getHorizontalPixels() / css_width : 0;
  const double y = css_height > 0 ? event.targetY * display.getVerticalPixels() / css_height : 0;
  return pixelsToSpaces(Vector(static_cast<float>(x), static_cast<float>(y)));
}

bool WebInput::getInput(const InputDispatch &dispatch) {
  // Taken first: a handler may run the page's event loop (a pause) and add more.
  std::vector<PageEvent> arrived;
  arrived.swap(events);
  const InputManager &input_manager = InputManager::getInstance();
  for (const PageEvent &page_event : arrived) {
    switch (page_event.kind) {
      case PageEvent::KEY_DOWN:
      case PageEvent::KEY_UP: {
        EventKeyboard key = input_manager.toEventKeyboard(page_event.code);
        key.setKeyboardAction(page_event.kind == PageEvent::KEY_DOWN ? KEY_PRESSED : KEY_RELEASED);
        dispatch(&key);
        break;
      }
      case PageEvent::MOVED:
      case PageEvent::BUTTON_DOWN: {
        EventMouse mouse;
        mouse.setMouseAction(page_event.kind == PageEvent::MOVED ? MOVED : CLICKED);
        mouse.setMouseButton(page_event.button);
        mouse.setMousePosition(page_event.position);
        dispatch(&mouse);
        break;
      }
    }
  }
  sendHeldInput(dispatch);
  return true;
}

bool WebInput::isKeyHeld(Keyboard::Key key) const {
  const int code = sfmlKeyOf(key);
  return code != -1 && held_keys.count(code) > 0;
}

bool WebInput::isButtonHeld(Mouse::Button button) const {
  const int index = buttonIndex(button);
  return index >= 0 && buttons_held[index];
}

Vector WebInput::getMousePosition() const { return mouse_position; }

std::vector<int> WebInput::takeKeyPresses() {
  std::vector<int> pressed;
  for (const PageEvent &page_event : events)
    if (page_event.kind == PageEvent::KEY_DOWN)
      pressed.push_back(page_event.code);
  events.clear();
  return pressed;
}

}  // namespace cv
