// Windows implementation of the stop signals: the run-time library's SIGINT
// and SIGTERM (raise(), and Ctrl-C where no console handler takes it) and
// the console's control events (Ctrl-C, Ctrl-Break, closing the console
// window, logging off, shutting down); and the fatal-error path: an
// unhandled exception (access violation, division by zero, ...) and the
// run-time library's SIGABRT, SIGSEGV, SIGFPE and SIGILL run the cleanups
// before the program ends as it would have.

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

// Registered cleanups. Changed only outside the fatal path, read inside it.
FatalSignalCleanup cleanups[MAX_FATAL_SIGNAL_CLEANUPS] = {};
std::atomic<int> cleanup_count{0};
// Set by the first fatal error, so the cleanups never run twice.
std::atomic_flag cleaned_up = ATOMIC_FLAG_INIT;

// The run-time library's fatal signals, with what they mean.
struct FatalSignal {
  int number;
  const char *text;
};
const FatalSignal FATAL_SIGNALS[] = {
    {SIGSEGV, "SIGSEGV (invalid memory access)"},
    {SIGABRT, "SIGABRT (abort)"},
    {SIGFPE, "SIGFPE (arithmetic error)"},
    {SIGILL, "SIGILL (illegal instruction)"},
};
const int FATAL_SIGNAL_COUNT = sizeof(FATAL_SIGNALS) / sizeof(FATAL_SIGNALS[0]);
Handler previous_fatal[FATAL_SIGNAL_COUNT] = {};
LPTOP_LEVEL_EXCEPTION_FILTER previous_filter = nullptr;

void runCleanups(const char *text) {
  if (cleaned_up.test_and_set())
    return;
  for (int i = cleanup_count - 1; i >= 0; i--)
    cleanups[i](text);
}

extern "C" void onFatalSignal(int signal_number) {
  const char *text = "unknown signal";
  for (const FatalSignal &fatal : FATAL_SIGNALS)
    if (fatal.number == signal_number)
      text = fatal.text;
  runCleanups(text);
  // The default action ends the program with the status it would have had.
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

const char *exceptionText(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return "EXCEPTION_ACCESS_VIOLATION (invalid memory access)";
    case EXCEPTION_STACK_OVERFLOW:
      return "EXCEPTION_STACK_OVERFLOW (stack overflow)";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return "EXCEPTION_INT_DIVIDE_BY_ZERO (arithmetic error)";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
      return "EXCEPTION_ILLEGAL_INSTRUCTION (illegal instruction)";
    case EXCEPTION_IN_PAGE_ERROR:
      return "EXCEPTION_IN_PAGE_ERROR (memory that cannot be read)";
    default:
      return "unhandled exception";
  }
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS *exception) {
  runCleanups(exceptionText(exception->ExceptionRecord->ExceptionCode));
  // The system's own handling (error report, end of the process) follows.
  return EXCEPTION_CONTINUE_SEARCH;
}

void catchFatalErrors() {
  previous_filter = SetUnhandledExceptionFilter(onUnhandledException);
  for (int i = 0; i < FATAL_SIGNAL_COUNT; i++)
    previous_fatal[i] = std::signal(FATAL_SIGNALS[i].number, onFatalSignal);
}

void releaseFatalErrors() {
  SetUnhandledExceptionFilter(previous_filter);
  for (int i = 0; i < FATAL_SIGNAL_COUNT; i++)
    std::signal(FATAL_SIGNALS[i].number, previous_fatal[i] == SIG_ERR ? SIG_DFL : previous_fatal[i]);
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

int addFatalSignalCleanup(FatalSignalCleanup cleanup) {
  if (!cleanup || cleanup_count >= MAX_FATAL_SIGNAL_CLEANUPS)
    return -1;
  // The entry is complete before the fatal path can see it.
  cleanups[cleanup_count] = cleanup;
  cleanup_count = cleanup_count + 1;
  if (cleanup_count == 1)
    catchFatalErrors();
  return 0;
}

void removeFatalSignalCleanup(FatalSignalCleanup cleanup) {
  for (int i = 0; i < cleanup_count; i++) {
    if (cleanups[i] != cleanup)
      continue;
    // Shrink first, so the fatal path never calls an entry being moved.
    const int count = cleanup_count;
    cleanup_count = i;
    for (int j = i; j + 1 < count; j++)
      cleanups[j] = cleanups[j + 1];
    cleanup_count = count - 1;
    if (cleanup_count == 0)
      releaseFatalErrors();
    return;
  }
}

}  // namespace platform
}  // namespace cv
