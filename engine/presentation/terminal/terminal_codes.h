#pragma once
// The control sequences the terminal display and input send to the terminal.

namespace cv {
namespace terminal_codes {

/// Taking the terminal over: the alternate screen, no cursor, no line
/// wrapping, mouse reports for every move and button in the SGR form, and
/// the question whether the terminal reports key releases (the kitty
/// keyboard protocol), followed by a device-attributes request that every
/// terminal answers, so that an unanswered question is known to be one.
const char *const ENTER =
    "\x1b[?1049h\x1b[?25l\x1b[?7l\x1b[?1003h\x1b[?1006h"
    "\x1b[?u\x1b[c";

/// Giving it back: mouse reports off, plain colours, line wrapping and the
/// cursor on, and the normal screen.
const char *const RESTORE = "\x1b[?1006l\x1b[?1003l\x1b[?1000l\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l";

/// Asks a terminal that speaks the kitty keyboard protocol for every key as
/// an escape sequence with press, repeat and release (flags 1, 2 and 8).
const char *const KEY_RELEASES_ON = "\x1b[>11u";

/// Undoes KEY_RELEASES_ON; put before RESTORE once it was sent.
const char *const KEY_RELEASES_OFF = "\x1b[<u";

}  // namespace terminal_codes
}  // namespace cv
