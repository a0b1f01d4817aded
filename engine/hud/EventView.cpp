#include "hud/EventView.h"

namespace cv {

EventView::EventView(std::string tag, int value, bool delta) : tag(std::move(tag)), value(value), delta(delta) {
  setType(VIEW_EVENT);
}

std::string EventView::getTag() const { return tag; }

int EventView::getValue() const { return value; }

bool EventView::getDelta() const { return delta; }

}  // namespace cv
