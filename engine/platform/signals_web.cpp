// Stop requests in a web page. A page has no signals: the page asks the game
// to stop by calling corvane_request_stop() (the page's "quit", or a test),
// and the game loop ends after its current step as on Ctrl-C elsewhere.
// There are no fatal signals to catch: a fault aborts the page's program,
// and the page shows why.

#include "platform/signals.h"

#include <emscripten.h>  // Required for: EMSCRIPTEN_KEEPALIVE

namespace cv {
namespace platform {

namespace {

bool stop_requested = false;  // the page asked the game to stop

}  // namespace

void catchStopSignals() { stop_requested = false; }

void releaseStopSignals() {}

bool stopRequested() { return stop_requested; }

const char *stopSignalName() { return stop_requested ? "the page's request to stop" : ""; }

int addFatalSignalCleanup(FatalSignalCleanup) { return 0; }

void removeFatalSignalCleanup(FatalSignalCleanup) {}

// Called by the page to end the game after its current step.
extern "C" EMSCRIPTEN_KEEPALIVE void corvane_request_stop() { stop_requested = true; }

}  // namespace platform
}  // namespace cv
