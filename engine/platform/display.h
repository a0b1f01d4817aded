#pragma once
// Whether the window system can be reached, asked before the window library
// is: on X11 that library ends the whole process when it cannot open the
// display.

#include <string>

namespace cv {
namespace platform {

/// What asking the window system for a connection found.
enum class DisplayStatus {
  NOT_NAMED,    ///< no display is named (DISPLAY unset or empty)
  UNREACHABLE,  ///< a display is named but no connection to it opens
  REACHABLE,    ///< a connection opened (and was closed again at once)
};

/// Opens and at once closes a connection to the display that windows would
/// open on. `display_name` receives the name asked for ("" when none) and
/// `complaint` what the window system printed while refusing ("" if
/// nothing), which would otherwise reach the terminal.
DisplayStatus probeDisplay(std::string &display_name, std::string &complaint);

}  // namespace platform
}  // namespace cv
