#include "presentation/BackEnd.h"

#include <new>

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "presentation/headless/HeadlessScreen.h"
#ifdef __EMSCRIPTEN__
#include "presentation/web/WebAudioOutput.h"
#include "presentation/web/WebScreen.h"
#else
#include "presentation/terminal/TerminalDisplay.h"
#include "presentation/window/SfmlAudioOutput.h"
#include "presentation/window/SfmlErrorLog.h"
#include "presentation/window/WindowScreen.h"
#endif

namespace cv {

#ifdef __EMSCRIPTEN__

// In a browser the page is the screen, whatever the display key says.
std::shared_ptr<Screen> makeScreen(const Config &config) {
  try {
    if (config.getHeadless())
      return std::make_shared<HeadlessScreen>();
    if (config.getDisplay() == DISPLAY_TERMINAL)
      LogManager::getInstance().writeLog(
          "DisplayManager::startUp(): Warning! display is 'terminal' but a web page has no terminal; drawing on the "
          "page.");
    return std::make_shared<WebScreen>();
  } catch (const std::bad_alloc &) {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): Unable to allocate page display.");
    return nullptr;
  }
}

AudioOutput &audioOutput() {
  static WebAudioOutput output;
  return output;
}

// The page's own messages reach the console without the engine's help.
void startLibraryMessages() {}

void stopLibraryMessages() {}

#else

std::shared_ptr<Screen> makeScreen(const Config &config) {
  try {
    if (config.getHeadless())
      return std::make_shared<HeadlessScreen>();
    if (config.getDisplay() == DISPLAY_TERMINAL)
      return std::make_shared<TerminalDisplay>();
    return std::make_shared<WindowScreen>();
  } catch (const std::bad_alloc &) {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): Unable to allocate %s.",
                                       config.getDisplay() == DISPLAY_TERMINAL ? "terminal display" : "window");
    return nullptr;
  }
}

AudioOutput &audioOutput() {
  static SfmlAudioOutput output;
  return output;
}

void startLibraryMessages() { SfmlErrorLog::install(); }

void stopLibraryMessages() { SfmlErrorLog::uninstall(); }

#endif

}  // namespace cv
