// X11 implementation of the display probe.

#include <X11/Xlib.h>  // Required for: XOpenDisplay(), XCloseDisplay()

#include <cstdlib>  // Required for: getenv()

#include "platform/display.h"
#include "platform/error_output.h"

namespace cv {
namespace platform {

namespace {

// Most of the window system's complaint kept.
const std::size_t MAX_COMPLAINT = 1024;

// The connection of the last successful probe, kept so the server always has
// a client while the window library connects and while its window is open.
Display *kept_connection = nullptr;

}  // namespace

DisplayStatus probeDisplay(std::string &display_name, std::string &complaint) {
  const char *name = std::getenv("DISPLAY");
  display_name = name ? name : "";
  complaint.clear();
  releaseDisplay();
  if (display_name.empty())
    return DisplayStatus::NOT_NAMED;
  // A server that refuses the connection (no authorization, for instance)
  // makes the library print why on standard error.
  Display *connection = nullptr;
  complaint = captureErrorOutput([&] { connection = XOpenDisplay(display_name.c_str()); }, MAX_COMPLAINT);
  while (!complaint.empty() && (complaint.back() == '\n' || complaint.back() == '\r'))
    complaint.pop_back();
  if (!connection)
    return DisplayStatus::UNREACHABLE;
  kept_connection = connection;
  return DisplayStatus::REACHABLE;
}

void releaseDisplay() {
  if (kept_connection)
    XCloseDisplay(kept_connection);
  kept_connection = nullptr;
}

}  // namespace platform
}  // namespace cv
