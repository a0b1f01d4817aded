// POSIX implementation of the terminal.

#include <signal.h>     // Required for: sigaction(), raise(), SIGWINCH and the fatal signals
#include <sys/ioctl.h>  // Required for: ioctl(TIOCGWINSZ)
#include <termios.h>    // Required for: tcgetattr(), tcsetattr()
#include <unistd.h>     // Required for: read(), write(), isatty()

#include <algorithm>
#include <cerrno>
#include <cstdlib>  // Required for: atexit()
#include <cstring>

#include "platform/signals.h"
#include "platform/terminal.h"

namespace cv {
namespace platform {

namespace {

// Everything below is read by signal handlers, so it lives in fixed storage.
volatile sig_atomic_t terminal_mode_on = 0;
struct termios saved_settings;
char restore_text[256];
volatile sig_atomic_t restore_length = 0;
volatile sig_atomic_t resized = 0;
struct sigaction previous_resize;
bool exit_hook_installed = false;

// Writes all of `length` bytes, resuming after interruptions; async-signal-safe.
bool writeAll(const char *bytes, size_t length) {
  while (length > 0) {
    const ssize_t written = write(STDOUT_FILENO, bytes, length);
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    bytes += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

// Gives the terminal back; async-signal-safe, and harmless a second time.
void restoreTerminal() {
  if (!terminal_mode_on)
    return;
  terminal_mode_on = 0;
  const int saved_errno = errno;
  writeAll(restore_text, static_cast<size_t>(restore_length));
  tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
  errno = saved_errno;
}

// Runs on the fatal-signal path (a crash); the stop signals (Ctrl-C,
// SIGTERM, a hang-up) end the game loop, which gives the terminal back on
// its way out.
void restoreOnFatalSignal(const char *) { restoreTerminal(); }

extern "C" void onResize(int) { resized = 1; }

extern "C" void restoreAtExit() { restoreTerminal(); }

void catchSignals() {
  addFatalSignalCleanup(restoreOnFatalSignal);
  struct sigaction resize {};
  resize.sa_handler = onResize;
  sigemptyset(&resize.sa_mask);
  resize.sa_flags = SA_RESTART;
  sigaction(SIGWINCH, &resize, &previous_resize);
}

void releaseSignals() {
  removeFatalSignalCleanup(restoreOnFatalSignal);
  sigaction(SIGWINCH, &previous_resize, nullptr);
}

}  // namespace

bool terminalDisplaySupported() { return true; }

bool isTerminal() { return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1; }

bool terminalSize(int &columns, int &rows) {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == -1 || size.ws_col == 0 || size.ws_row == 0)
    return false;
  columns = size.ws_col;
  rows = size.ws_row;
  return true;
}

void setTerminalRestoreText(const std::string &text) {
  // A handler running meanwhile sees either the old length or none.
  restore_length = 0;
  const size_t length = std::min(text.size(), sizeof restore_text);
  std::memcpy(restore_text, text.data(), length);
  restore_length = static_cast<sig_atomic_t>(length);
}

bool enterTerminalMode(const std::string &enter_text, const std::string &restore) {
  if (terminal_mode_on || !isTerminal() || tcgetattr(STDIN_FILENO, &saved_settings) == -1)
    return false;
  struct termios raw = saved_settings;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | IEXTEN);
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 0;  // a read returns at once with what is there
  raw.c_cc[VTIME] = 0;
  raw.c_cc[VQUIT] = _POSIX_VDISABLE;  // Ctrl-\ would dump core, Ctrl-Z leave the terminal raw
  raw.c_cc[VSUSP] = _POSIX_VDISABLE;
  setTerminalRestoreText(restore);
  resized = 0;
  catchSignals();
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) == -1) {
    releaseSignals();
    return false;
  }
  terminal_mode_on = 1;
  if (!exit_hook_installed)
    exit_hook_installed = std::atexit(restoreAtExit) == 0;
  writeAll(enter_text.data(), enter_text.size());
  return true;
}

void leaveTerminalMode() {
  if (!terminal_mode_on)
    return;
  restoreTerminal();
  releaseSignals();
}

int readTerminal(char *buffer, int size) {
  if (size <= 0)
    return 0;
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer, static_cast<size_t>(size));
    if (got >= 0)
      return static_cast<int>(got);
    if (errno == EINTR)
      continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
  }
}

int writeTerminal(const std::string &bytes) { return writeAll(bytes.data(), bytes.size()) ? 0 : -1; }

bool terminalResized() {
  if (!resized)
    return false;
  resized = 0;
  return true;
}

}  // namespace platform
}  // namespace cv
