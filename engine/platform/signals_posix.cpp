// POSIX implementation of the stop signals and the fatal-signal cleanups.

#include <signal.h>  // Required for: sigaction(), sigaltstack(), raise(), SIG*

#include <cstddef>

#include "platform/signals.h"

namespace cv {
namespace platform {

namespace {

// The signals that ask the game to stop.
const int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
const int STOP_SIGNAL_COUNT = sizeof(STOP_SIGNALS) / sizeof(STOP_SIGNALS[0]);

// The signal that asked to stop, 0 while none has. The handler writes it;
// the game loop reads it between iterations.
volatile sig_atomic_t stop_signal = 0;

// Handling of the stop signals before catchStopSignals, and whether it is saved.
struct sigaction previous_stop[STOP_SIGNAL_COUNT];
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

// The signals that end the program because it went wrong, with what they mean.
struct FatalSignal {
  int number;
  const char *text;
};
const FatalSignal FATAL_SIGNALS[] = {
    {SIGSEGV, "SIGSEGV (invalid memory access)"},
    {SIGABRT, "SIGABRT (abort)"},
    {SIGFPE, "SIGFPE (arithmetic error)"},
    {SIGBUS, "SIGBUS (bus error)"},
    {SIGILL, "SIGILL (illegal instruction)"},
};
const int FATAL_SIGNAL_COUNT = sizeof(FATAL_SIGNALS) / sizeof(FATAL_SIGNALS[0]);

// Registered cleanups. Changed only outside the handler, read inside it.
FatalSignalCleanup cleanups[MAX_FATAL_SIGNAL_CLEANUPS] = {};
volatile sig_atomic_t cleanup_count = 0;
// Set once the cleanups have run, so they never run twice.
volatile sig_atomic_t cleaned_up = 0;
struct sigaction previous_fatal[FATAL_SIGNAL_COUNT];

// A stack of its own for the handler: a stack overflow arrives as SIGSEGV
// with no room left on the program's stack.
const std::size_t HANDLER_STACK_SIZE = 64 * 1024;
alignas(16) char handler_stack[HANDLER_STACK_SIZE];
bool handler_stack_set = false;

const char *fatalSignalText(int signal_number) {
  for (const FatalSignal &fatal : FATAL_SIGNALS)
    if (fatal.number == signal_number)
      return fatal.text;
  return "unknown signal";
}

extern "C" void onFatalSignal(int signal_number) {
  if (!cleaned_up) {
    cleaned_up = 1;
    for (int i = cleanup_count - 1; i >= 0; i--)
      cleanups[i](fatalSignalText(signal_number));
  }
  // The default action follows as soon as the handler returns: the raised
  // signal is blocked until then, and a fault would repeat anyway.
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  raise(signal_number);
}

void catchFatalSignals() {
  if (!handler_stack_set) {
    stack_t stack{};
    stack.ss_sp = handler_stack;
    stack.ss_size = HANDLER_STACK_SIZE;
    handler_stack_set = sigaltstack(&stack, nullptr) == 0;
  }
  struct sigaction action {};
  action.sa_handler = onFatalSignal;
  // Another fatal signal inside the handler takes its default action at once.
  sigemptyset(&action.sa_mask);
  for (const FatalSignal &fatal : FATAL_SIGNALS)
    sigaddset(&action.sa_mask, fatal.number);
  action.sa_flags = handler_stack_set ? SA_ONSTACK : 0;
  for (int i = 0; i < FATAL_SIGNAL_COUNT; i++)
    sigaction(FATAL_SIGNALS[i].number, &action, &previous_fatal[i]);
}

void releaseFatalSignals() {
  for (int i = 0; i < FATAL_SIGNAL_COUNT; i++)
    sigaction(FATAL_SIGNALS[i].number, &previous_fatal[i], nullptr);
}

}  // namespace

void catchStopSignals() {
  stop_signal = 0;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // interrupted system calls resume
  for (int i = 0; i < STOP_SIGNAL_COUNT; i++)
    sigaction(STOP_SIGNALS[i], &action, caught ? nullptr : &previous_stop[i]);
  caught = true;
}

void releaseStopSignals() {
  if (!caught)
    return;
  for (int i = 0; i < STOP_SIGNAL_COUNT; i++)
    sigaction(STOP_SIGNALS[i], &previous_stop[i], nullptr);
  caught = false;
}

bool stopRequested() { return stop_signal != 0; }

const char *stopSignalName() {
  switch (stop_signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "";
  }
}

int addFatalSignalCleanup(FatalSignalCleanup cleanup) {
  if (!cleanup || cleanup_count >= MAX_FATAL_SIGNAL_CLEANUPS)
    return -1;
  // The entry is complete before the handler can see it.
  cleanups[cleanup_count] = cleanup;
  cleanup_count = cleanup_count + 1;
  if (cleanup_count == 1)
    catchFatalSignals();
  return 0;
}

void removeFatalSignalCleanup(FatalSignalCleanup cleanup) {
  for (int i = 0; i < cleanup_count; i++) {
    if (cleanups[i] != cleanup)
      continue;
    // Shrink first, so the handler never calls an entry being moved.
    const int count = cleanup_count;
    cleanup_count = i;
    for (int j = i; j + 1 < count; j++)
      cleanups[j] = cleanups[j + 1];
    cleanup_count = count - 1;
    if (cleanup_count == 0)
      releaseFatalSignals();
    return;
  }
}

}  // namespace platform
}  // namespace cv
