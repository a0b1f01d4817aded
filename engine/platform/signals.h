#pragma once
// Turning the terminal's interrupt (Ctrl-C) and the system's termination
// request into an orderly end of the game instead of an instant kill.

namespace cv {
namespace platform {

/// Catches SIGINT and SIGTERM from now on and forgets any earlier request.
/// The first one only records the request; another one while a request is
/// recorded ends the program at once, as it would without the handler.
void catchStopSignals();

/// Gives SIGINT and SIGTERM back the handling they had before
/// catchStopSignals. A recorded request stays readable.
void releaseStopSignals();

/// Whether SIGINT or SIGTERM has arrived since catchStopSignals.
bool stopRequested();

/// The name of the signal that asked to stop ("SIGINT", "SIGTERM"), or ""
/// when none has.
const char *stopSignalName();

}  // namespace platform
}  // namespace cv
