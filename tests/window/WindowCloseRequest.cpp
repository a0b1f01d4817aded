#include "window/WindowCloseRequest.h"

// Kept apart from the tests: Xlib's macros clash with the window library's names.
#include <X11/Xlib.h>

namespace cvtest {

bool requestWindowClose(unsigned long window) {
  ::Display *display = XOpenDisplay(nullptr);
  if (!display)
    return false;
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  message.xclient.format = 32;
  message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  message.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(display, window, False, NoEventMask, &message) != 0;
  XSync(display, False);
  XCloseDisplay(display);
  return sent;
}

}  // namespace cvtest
