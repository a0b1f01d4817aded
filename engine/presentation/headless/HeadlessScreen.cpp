#include "presentation/headless/HeadlessScreen.h"

#include "foundation/LogManager.h"
#include "presentation/headless/HeadlessInput.h"

namespace cv {

int HeadlessScreen::startUp(const ScreenGrid &) {
  LogManager::getInstance().writeLog(1, "DisplayManager::startUp(): not doing graphics since in headless mode.");
  return 0;
}

void HeadlessScreen::shutDown() {}

bool HeadlessScreen::isShowing() const { return false; }

int HeadlessScreen::drawCharacter(Vector, char32_t, unsigned char, unsigned char, unsigned char) { return -1; }

int HeadlessScreen::fillPolygon(const Polygon &) { return -1; }

int HeadlessScreen::present() { return -1; }

void HeadlessScreen::refresh() {}

std::unique_ptr<InputSource> HeadlessScreen::openInput() { return std::make_unique<HeadlessInput>(); }

}  // namespace cv
