#pragma once

#include <memory>

namespace cv {

class AudioOutput;
class Config;
class Screen;

// The one place where the engine chooses its media. Everything else speaks
// to the interfaces of Screen.h, InputSource.h and AudioOutput.h.

/// A new, not yet started screen of the kind the configuration asks for:
/// nowhere when `headless`, else the `display` key's (the window, or the
/// text terminal). Null, after logging why, when there is no memory for it.
std::shared_ptr<Screen> makeScreen(const Config &config);

/// The program's audio output, made on first use.
AudioOutput &audioOutput();

/// Sends what the media libraries report on their own into the log, until
/// stopLibraryMessages.
void startLibraryMessages();

/// Gives the media libraries their own error output back.
void stopLibraryMessages();

}  // namespace cv
