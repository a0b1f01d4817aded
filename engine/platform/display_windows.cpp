// Windows implementation of the display probe: the desktop is always there
// for a process that may open windows, and the window library reports a
// window it cannot create instead of ending the process.

#include "platform/display.h"

namespace cv {
namespace platform {

DisplayStatus probeDisplay(std::string &display_name, std::string &complaint) {
  display_name.clear();
  complaint.clear();
  return DisplayStatus::REACHABLE;
}

// No connection is kept: nothing to close.
void releaseDisplay() {}

}  // namespace platform
}  // namespace cv
