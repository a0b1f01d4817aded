#pragma once

namespace cvtest {

/// Asks the X window `window` to close, as a window manager's close button
/// does, by sending it the WM_DELETE_WINDOW message (there is no window
/// manager under Xvfb). False when the message could not be sent.
bool requestWindowClose(unsigned long window);

}  // namespace cvtest
