#pragma once

#include <memory>
#include <set>
#include <vector>

#include "presentation/InputSource.h"

struct EmscriptenKeyboardEvent;
struct EmscriptenMouseEvent;
struct EmscriptenFocusEvent;

namespace cv {

class WebScreen;

/// Keyboard and mouse of a web page: the page's events, kept as they come
/// and handed on once per iteration as the window's are, then the held
/// buttons and keys. Keys count as held from their key-down to their
/// key-up (the browser's own repeats are not presses); a page that loses
/// the focus lets go of every key and button, with a release for each key.
/// The keys and the mouse keep the page from scrolling or acting on them,
/// except with Ctrl or Meta held and for F5 and F12.
class WebInput : public InputSource {
 public:
  explicit WebInput(std::shared_ptr<WebScreen> screen);
  ~WebInput() override;
  WebInput(const WebInput &) = delete;
  WebInput &operator=(const WebInput &) = delete;

  /// Starts listening to the page's keyboard, mouse and focus.
  void startUp() override;
  /// Stops listening.
  void shutDown() override;
  bool getInput(const InputDispatch &dispatch) override;
  bool isKeyHeld(Keyboard::Key key) const override;
  bool isButtonHeld(Mouse::Button button) const override;
  Vector getMousePosition() const override;
  /// The key presses that came since the last call or iteration; the rest
  /// of what came is dropped.
  std::vector<int> takeKeyPresses() override;

 private:
  /// One event of the page, as it came.
  struct PageEvent {
    enum Kind { KEY_DOWN, KEY_UP, MOVED, BUTTON_DOWN } kind;
    int code;               ///< KEY_DOWN, KEY_UP: the window library's key code
    Mouse::Button button;   ///< BUTTON_DOWN: the button
    Vector position;        ///< MOVED, BUTTON_DOWN: the mouse, in cells
  };

  static int onKey(int type, const EmscriptenKeyboardEvent *event, void *input);
  static int onMouse(int type, const EmscriptenMouseEvent *event, void *input);
  static int onBlur(int type, const EmscriptenFocusEvent *event, void *input);
  /// The mouse position of `event` over the canvas, in cells.
  Vector cellsOf(const EmscriptenMouseEvent &event) const;
  /// Lets go of every key (a release for each) and button.
  void letGo();

  std::shared_ptr<WebScreen> screen;  ///< the screen whose canvas the mouse is over
  std::vector<PageEvent> events;      ///< events not yet handed on
  std::set<int> held_keys;            ///< window-library codes of the keys held
  bool buttons_held[3];               ///< left, right, middle
  Vector mouse_position;              ///< the mouse's last place, in cells
  bool listening;                     ///< the callbacks are in place
};

}  // namespace cv
