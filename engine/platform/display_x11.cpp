// X11 implementation of the display probe.

#include <X11/Xlib.h>  // Required for: XOpenDisplay(), XCloseDisplay()

#include <cstdlib>  // Required for: getenv()

#include "platform/display.h"

namespace cv {
namespace platform {

DisplayStatus probeDisplay(std::string &display_name) {
  const char *name = std::getenv("DISPLAY");
  display_name = name ? name : "";
  if (display_name.empty())
    return DisplayStatus::NOT_NAMED;
  Display *connection = XOpenDisplay(display_name.c_str());
  if (!connection)
    return DisplayStatus::UNREACHABLE;
  XCloseDisplay(connection);
  return DisplayStatus::REACHABLE;
}

}  // namespace platform
}  // namespace cv
