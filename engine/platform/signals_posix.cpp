// POSIX implementation of the stop signals.

#include <signal.h>  // Required for: sigaction(), raise(), SIGINT, SIGTERM

#include "platform/signals.h"

namespace cv {
namespace platform {

namespace {

// The signal that asked to stop, 0 while none has. The handler writes it;
// the game loop reads it between iterations.
volatile sig_atomic_t stop_signal = 0;

// Handling of SIGINT and SIGTERM before catchStopSignals, and whether it is saved.
struct sigaction previous_interrupt;
struct sigaction previous_terminate;
bool caught = false;

extern "C" void onStopSignal(int signal_number) {
  if (stop_signal != 0) {
    // Asked twice: the user means it. End now, with the status the signal
    // gives when it is not caught.
    signal(signal_number, SIG_DFL);
    raise(signal_number);
    return;
  }
  stop_signal = signal_number;
}

}  // namespace

void catchStopSignals() {
  stop_signal = 0;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // interrupted system calls resume
  if (!caught) {
    sigaction(SIGINT, &action, &previous_interrupt);
    sigaction(SIGTERM, &action, &previous_terminate);
    caught = true;
  } else {
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
  }
}

void releaseStopSignals() {
  if (!caught)
    return;
  sigaction(SIGINT, &previous_interrupt, nullptr);
  sigaction(SIGTERM, &previous_terminate, nullptr);
  caught = false;
}

bool stopRequested() { return stop_signal != 0; }

const char *stopSignalName() {
  switch (stop_signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    default:
      return "";
  }
}

}  // namespace platform
}  // namespace cv
