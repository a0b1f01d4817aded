// Windows implementation of the stop signals: the run-time library's SIGINT
// and SIGTERM (raise(), and Ctrl-C where no console handler takes it) and
// the console's control events (Ctrl-C, Ctrl-Break, closing the console
// window, logging off, shutting down).

#include <windows.h>  // Required for: SetConsoleCtrlHandler(), events

#include <atomic>
#include <csignal>

#include "platform/signals.h"

namespace cv {
namespace platform {

namespace {

// What asked to stop, as an index into STOP_NAMES; 0 while nothing has.
// Console events arrive on a thread of their own, hence the atomic.
enum StopReason { NONE, INTERRUPT, TERMINATE, CONSOLE_BREAK, CONSOLE_CLOSE, LOGOFF, SHUTDOWN };
const char *const STOP_NAMES[] = {"",
                                  "SIGINT",
                                  "SIGTERM",
                                  "CTRL_BREAK_EVENT",
                                  "CTRL_CLOSE_EVENT",
                                  "CTRL_LOGOFF_EVENT",
                                  "CTRL_SHUTDOWN_EVENT"};
std::atomic<int> stop_reason{NONE};

// After a close, log-off or shut-down event the system ends the process as
// soon as the handler returns (and after 5 s at the latest): the handler
// holds on until the engine has stopped, a little less than that.
const DWORD CLOSE_GRACE_MILLISECONDS = 4500;
HANDLE engine_stopped = nullptr;  // set by releaseStopSignals

using Handler = void (*)(int);
Handler previous_interrupt = SIG_DFL;
Handler previous_terminate = SIG_DFL;
bool caught = false;

extern "C" void onStopSignal(int signal_number) {
  if (stop_reason != NONE) {
    // Asked twice: the user means it. End now, as without the handler.
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
    return;
  }
  stop_reason = signal_number == SIGINT ? INTERRUPT : TERMINATE;
  std::signal(signal_number, onStopSignal);  // the library resets it before each call
}

StopReason reasonFor(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
      return INTERRUPT;
    case CTRL_BREAK_EVENT:
      return CONSOLE_BREAK;
    case CTRL_CLOSE_EVENT:
      return CONSOLE_CLOSE;
    case CTRL_LOGOFF_EVENT:
      return LOGOFF;
    default:
      return SHUTDOWN;
  }
}

BOOL WINAPI onConsoleEvent(DWORD event) {
  const StopReason reason = reasonFor(event);
  const bool ends_process = reason == CONSOLE_CLOSE || reason == LOGOFF || reason == SHUTDOWN;
  if (!ends_process && stop_reason != NONE)
    return FALSE;  // asked twice: the next handler (the default) ends the process
  int expected = NONE;
  stop_reason.compare_exchange_strong(expected, reason);
  if (ends_process && engine_stopped)
    WaitForSingleObject(engine_stopped, CLOSE_GRACE_MILLISECONDS);
  return TRUE;
}

}  // namespace

void catchStopSignals() {
  stop_reason = NONE;
  if (!engine_stopped)
    engine_stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  else
    ResetEvent(engine_stopped);
  if (!caught) {
    previous_interrupt = std::signal(SIGINT, onStopSignal);
    previous_terminate = std::signal(SIGTERM, onStopSignal);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    caught = true;
  } else {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
  }
}

void releaseStopSignals() {
  if (!caught)
    return;
  SetConsoleCtrlHandler(onConsoleEvent, FALSE);
  std::signal(SIGINT, previous_interrupt == SIG_ERR ? SIG_DFL : previous_interrupt);
  std::signal(SIGTERM, previous_terminate == SIG_ERR ? SIG_DFL : previous_terminate);
  caught = false;
  if (engine_stopped)
    SetEvent(engine_stopped);
}

bool stopRequested() { return stop_reason != NONE; }

const char *stopSignalName() { return STOP_NAMES[stop_reason.load()]; }

}  // namespace platform
}  // namespace cv
