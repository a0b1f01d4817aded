#include "presentation/BackEnd.h"

#include <new>

#include "foundation/Config.h"
#include "foundation/LogManager.h"
#include "presentation/headless/HeadlessScreen.h"
#include "presentation/terminal/TerminalDisplay.h"
#include "presentation/window/SfmlAudioOutput.h"
#include "presentation/window/SfmlErrorLog.h"
#include "presentation/window/WindowScreen.h"

namespace cv {

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

}  // namespace cv
