#include "hud/ViewObject.h"

namespace cv {

// Placement, events and drawing are not implemented yet.

ViewObject::ViewObject()
    : value(0), draw_value(true), border(true), color(WHITE), location(TOP_CENTER), view_modified() {
  setSolidness(SPECTRAL);
  setAltitude(MAX_ALTITUDE);
  setType("ViewObject");
}

void ViewObject::setViewString(std::string new_view_string) { view_string = std::move(new_view_string); }
std::string ViewObject::getViewString() const { return view_string; }
void ViewObject::setValue(int new_value) { value = new_value; }
int ViewObject::getValue() const { return value; }
void ViewObject::setColor(Color new_color) { color = new_color; }
Color ViewObject::getColor() const { return color; }
void ViewObject::setBorder(bool new_border) { border = new_border; }
bool ViewObject::getBorder() const { return border; }
void ViewObject::setDrawValue(bool new_draw_value) { draw_value = new_draw_value; }
bool ViewObject::getDrawValue() const { return draw_value; }
void ViewObject::setLocation(ViewLocation new_location) { location = new_location; }
ViewLocation ViewObject::getLocation() const { return location; }
int ViewObject::setPosition(Vector new_position) { return Object::setPosition(new_position); }
int ViewObject::eventHandler(const Event *event) { return Object::eventHandler(event); }
int ViewObject::draw() { return 0; }
bool ViewObject::isModified(ViewObjectAttribute attribute) const { return view_modified[attribute]; }

}  // namespace cv
