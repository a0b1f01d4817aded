#pragma once
// The text terminal the program runs in, for the terminal display: raw
// input, size, writing, and giving the terminal back as it was on every way
// out (normal end, a stop signal, a hang-up, a crash).

#include <string>

namespace cv {
namespace platform {

/// Whether this system has the terminal display at all (Windows has not:
/// its console takes neither the escape sequences nor the raw input).
bool terminalDisplaySupported();

/// Whether standard input and standard output are both a terminal.
bool isTerminal();

/// The terminal's size in character cells. False when it cannot be told.
bool terminalSize(int &columns, int &rows);

/// Puts the terminal in raw mode (no echo, no line editing, reads that never
/// wait; Ctrl-C still interrupts, Ctrl-Z and Ctrl-\ do nothing), writes
/// `enter_text`, and from now on writes `restore_text` and puts the saved
/// settings back on every way out: leaveTerminalMode, exit, and the
/// fatal-signal path (crashes). Watches for size changes.
/// False, with nothing changed, when there is no terminal or it refuses.
bool enterTerminalMode(const std::string &enter_text, const std::string &restore_text);

/// Replaces the text written when the terminal is given back (at most 255
/// bytes are kept).
void setTerminalRestoreText(const std::string &restore_text);

/// Writes the restore text, puts the saved settings back and stops watching
/// signals. Does nothing when the terminal mode is not on.
void leaveTerminalMode();

/// Moves up to `size` bytes that wait on the terminal into `buffer` without
/// waiting. Returns the bytes read, 0 when none wait, -1 on an error.
int readTerminal(char *buffer, int size);

/// Writes all of `bytes` to the terminal in one call (repeated only for
/// what the system did not take at once). 0 written, -1 on an error.
int writeTerminal(const std::string &bytes);

/// Whether the terminal changed size since the last call (or since
/// enterTerminalMode).
bool terminalResized();

}  // namespace platform
}  // namespace cv
