#pragma once
// Whether the window system can be reached, asked before the window library
// is: on X11 that library ends the whole process when it cannot open the
// display. The connection that answered is kept while the window is open:
// an X server started without -noreset (plain `xvfb-run`) resets whenever
// its last client leaves, and the library, connecting during such a reset,
// is refused and aborts.

#include <string>

namespace cv {
namespace platform {

/// What asking the window system for a connection found.
enum class DisplayStatus {
  NOT_NAMED,    ///< no display is named (DISPLAY unset or empty)
  UNREACHABLE,  ///< a display is named but no connection to it opens
  REACHABLE,    ///< a connection opened and is kept until releaseDisplay
};

/// Opens a connection to the display that windows would open on and keeps
/// it until releaseDisplay (a connection kept from an earlier probe is
/// closed first). `display_name` receives the name asked for ("" when none)
/// and `complaint` what the window system printed while refusing ("" if
/// nothing), which would otherwise reach the terminal.
DisplayStatus probeDisplay(std::string &display_name, std::string &complaint);

/// Closes the connection kept by probeDisplay, if any: once the window is
/// closed (or failed to open).
void releaseDisplay();

}  // namespace platform
}  // namespace cv
