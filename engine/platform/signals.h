#pragma once
// Turning the terminal's interrupt (Ctrl-C), its hang-up (the terminal
// closed) and the system's termination request into an orderly end of the
// game instead of an instant kill; and a last word on fatal signals.

namespace cv {
namespace platform {

/// Catches SIGINT, SIGTERM and SIGHUP from now on and forgets any earlier request.
/// The first one only records the request; another one while a request is
/// recorded ends the program at once, as it would without the handler.
void catchStopSignals();

/// Gives SIGINT, SIGTERM and SIGHUP back the handling they had before
/// catchStopSignals. A recorded request stays readable.
void releaseStopSignals();

/// Whether SIGINT, SIGTERM or SIGHUP has arrived since catchStopSignals.
bool stopRequested();

/// The name of the signal that asked to stop ("SIGINT", "SIGTERM",
/// "SIGHUP"), or "" when none has.
const char *stopSignalName();

/// Work that must still be done when the program dies of a fatal signal
/// (SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL): writing out a buffer,
/// giving the terminal back. It runs inside the signal handler, so it may
/// only do what is safe there (no allocation, no locks, no stdio; plain
/// writes through writeOutput are fine). `signal_text` names the signal
/// and what it means, as "SIGSEGV (invalid memory access)".
using FatalSignalCleanup = void (*)(const char *signal_text);

/// Most cleanups registered at once.
const int MAX_FATAL_SIGNAL_CLEANUPS = 8;

/// Registers `cleanup`; the first registration starts catching the fatal
/// signals. When one arrives, every registered cleanup runs once, the last
/// registered first, and then the signal takes its default action (ending
/// the program, with a core dump where the system makes one). Returns 0, or
/// -1 when the table is full.
int addFatalSignalCleanup(FatalSignalCleanup cleanup);

/// Unregisters `cleanup`; after the last one the fatal signals get back the
/// handling they had before.
void removeFatalSignalCleanup(FatalSignalCleanup cleanup);

}  // namespace platform
}  // namespace cv
