#include "hud/ViewObject.h"

#include <utility>

#include "core/Event.h"
#include "foundation/LogManager.h"
#include "foundation/utility.h"
#include "hud/EventView.h"
#include "hud/match.h"
#include "hud/serialization.h"
#include "presentation/display/DisplayManager.h"
#include "world/WorldManager.h"

namespace cv {

namespace {

// The screen position of `location` in a view `w` by `h` cells.
Vector placeOf(ViewLocation location, bool border, float w, float h) {
  const float left = w / 6;
  const float centre = (w * 3) / 6;
  const float right = (w * 5) / 6;
  const float top = border ? 1.0f : 0.0f;
  const float middle = border ? h * 0.5f : h * 0.5f - 1;
  const float bottom = border ? h - 2 : h - 1;
  switch (location) {
    case TOP_LEFT:
      return Vector(left, top);
    case TOP_CENTER:
      return Vector(centre, top);
    case TOP_RIGHT:
      return Vector(right, top);
    case CENTER_LEFT:
      return Vector(left, middle);
    case CENTER_CENTER:
      return Vector(w * 0.5f, middle);
    case CENTER_RIGHT:
      return Vector(right, middle);
    case BOTTOM_LEFT:
      return Vector(left, bottom);
    case BOTTOM_CENTER:
      return Vector(centre, bottom);
    default:
      return Vector(right, bottom);
  }
}

}  // namespace

ViewObject::ViewObject() : value(0), draw_value(true), border(true), color(WHITE), location(UNDEFINED_LOCATION) {
  setSolidness(SPECTRAL);
  setAltitude(MAX_ALTITUDE);
  setType("ViewObject");
  const Box view = WorldManager::getInstance().getView();
  setPosition(placeOf(TOP_CENTER, true, view.getHorizontal(), view.getVertical()));
  location = TOP_CENTER;
  for (bool &flag : view_modified)
    flag = true;
  registerInterest(VIEW_EVENT);
}

void ViewObject::setModified(ViewObjectAttribute attribute) { view_modified[attribute] = true; }

void ViewObject::setViewString(std::string new_view_string) {
  if (new_view_string == view_string)
    return;
  view_string = std::move(new_view_string);
  setModified(VIEW_STRING);
}

std::string ViewObject::getViewString() const { return view_string; }

void ViewObject::setValue(int new_value) {
  if (new_value == value)
    return;
  value = new_value;
  setModified(VALUE);
}

int ViewObject::getValue() const { return value; }

void ViewObject::setColor(Color new_color) {
  if (new_color == color)
    return;
  color = new_color;
  setModified(COLOR);
}

Color ViewObject::getColor() const { return color; }

void ViewObject::setBorder(bool new_border) {
  if (new_border == border)
    return;
  border = new_border;
  setModified(BORDER);
  if (location != UNDEFINED_LOCATION)
    setLocation(location);
}

bool ViewObject::getBorder() const { return border; }

void ViewObject::setDrawValue(bool new_draw_value) {
  if (new_draw_value == draw_value)
    return;
  draw_value = new_draw_value;
  setModified(DRAW_VALUE);
}

bool ViewObject::getDrawValue() const { return draw_value; }

void ViewObject::setLocation(ViewLocation new_location) {
  // Compared unsigned, so that every negative value is out of range too.
  if (static_cast<unsigned>(new_location) > static_cast<unsigned>(BOTTOM_RIGHT)) {
    LogManager::getInstance().writeLog("ViewObject::setLocation(): Warning! Location out of range (%d). Ignored.",
                                       static_cast<int>(new_location));
    return;
  }
  const Box view = WorldManager::getInstance().getView();
  setPosition(placeOf(new_location, border, view.getHorizontal(), view.getVertical()));
  location = new_location;
  setModified(LOCATION);
}

ViewLocation ViewObject::getLocation() const { return location; }

int ViewObject::setPosition(Vector new_position) {
  if (new_position == getPosition())
    return 0;
  if (Object::setPosition(new_position) == -1)
    return -1;  // refused: it keeps its place and its location
  location = UNDEFINED_LOCATION;
  setModified(LOCATION);
  return 0;
}

int ViewObject::eventHandler(const Event *event) {
  if (event->getType() != VIEW_EVENT)
    return Object::eventHandler(event);
  const EventView *view_event = static_cast<const EventView *>(event);
  if (view_event->getTag() != view_string)
    return 0;
  setValue(view_event->getDelta() ? value + view_event->getValue() : view_event->getValue());
  return 1;
}

std::string ViewObject::text() const {
  std::string shown = view_string;
  if (draw_value)
    shown += " " + std::to_string(value);
  if (border)
    shown = " " + shown + " ";
  return shown;
}

int ViewObject::draw() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  const std::string shown = text();
  const Vector at = viewToWorld(getPosition());
  int result = display_manager.drawString(at, shown, CENTER_JUSTIFIED, color);
  if (!border)
    return result;
  const int n = static_cast<int>(shown.size());
  const std::string dashes(shown.size(), '-');
  result += display_manager.drawString(Vector(at.getX(), at.getY() - 1), dashes, CENTER_JUSTIFIED, color);
  result += display_manager.drawString(Vector(at.getX(), at.getY() + 1), dashes, CENTER_JUSTIFIED, color);
  const float left_bar = at.getX() - static_cast<float>(n / 2) - 1;
  result += display_manager.drawCharacter(Vector(left_bar, at.getY()), '|', color);
  result += display_manager.drawCharacter(Vector(left_bar + static_cast<float>(n) + 1, at.getY()), '|', color);
  return result;
}

bool ViewObject::isModified(ViewObjectAttribute attribute) const { return view_modified[attribute]; }

bool ViewObject::isModified() const {
  const LogManager &log_manager = LogManager::getInstance();
  for (int i = 0; i < VIEW_OBJECT_ATTRIBUTE_COUNT; i++) {
    log_manager.writeLog(10, "ViewObject::isModified(): %d is %s", i, view_modified[i] ? "true" : "false");
    if (view_modified[i])
      return true;
  }
  return Object::isModified();
}

bool ViewObject::takeGroup(const std::string &attr, const char *name, ViewObjectAttribute attribute) {
  if (!selectsGroup(attr, name, view_modified[attribute]))
    return false;
  view_modified[attribute] = false;
  return true;
}

std::string ViewObject::serialize(std::string attr) {
  LogManager::getInstance().writeLog(25, "ViewObject::serialize(): attr is '%s'", attr.c_str());
  std::string out = Object::serialize(attr);
  if (takeGroup(attr, "VIEW_STRING", VIEW_STRING))
    appendAttribute(out, "view_string", textForm(view_string));
  if (takeGroup(attr, "VALUE", VALUE))
    appendAttribute(out, "view_value", intForm(value));
  if (takeGroup(attr, "BORDER", BORDER))
    appendAttribute(out, "view_border", boolForm(border));
  if (takeGroup(attr, "COLOR", COLOR))
    appendAttribute(out, "view_color", intForm(color));
  if (takeGroup(attr, "LOCATION", LOCATION))
    appendAttribute(out, "view_location", intForm(location));
  if (takeGroup(attr, "DRAW_VALUE", DRAW_VALUE))
    appendAttribute(out, "view_draw_value", boolForm(draw_value));
  return out;
}

namespace {

// Who logs what the reader below refuses.
const char READER[] = "ViewObject::deserialize()";

}  // namespace

int ViewObject::deserialize(std::string text) {
  const int result = Object::deserialize(std::move(text));  // parses; the rest only looks up
  const LogManager &log_manager = LogManager::getInstance();
  const std::string read_string = readText(match("", "view_string"));
  if (!read_string.empty()) {
    log_manager.writeLog(10, "ViewObject::deserialize(): view_string is %s", read_string.c_str());
    setViewString(read_string);
  }
  int number = 0;
  if (lookUpInt(READER, "view_value", number)) {
    log_manager.writeLog(10, "ViewObject::deserialize(): value is %d", number);
    setValue(number);
  }
  const std::string read_border = match("", "view_border");
  if (!read_border.empty()) {
    log_manager.writeLog(10, "ViewObject::deserialize(): border is %s", read_border.c_str());
    setBorder(readBool(read_border));
  }
  if (lookUpInt(READER, "view_color", number)) {
    log_manager.writeLog(10, "ViewObject::deserialize(): color is %d", number);
    setColor(static_cast<Color>(number));
  }
  readLocation();
  const std::string read_draw_value = match("", "view_draw_value");
  if (!read_draw_value.empty()) {
    log_manager.writeLog(10, "ViewObject::deserialize(): draw_value is %s", read_draw_value.c_str());
    setDrawValue(readBool(read_draw_value));
  }
  return result;
}

void ViewObject::readLocation() {
  int number = 0;
  if (!lookUpInt(READER, "view_location", number))
    return;
  LogManager::getInstance().writeLog(10, "ViewObject::deserialize(): location is %d", number);
  if (number != UNDEFINED_LOCATION) {
    setLocation(static_cast<ViewLocation>(number));
    return;
  }
  // An object placed directly has no named place: its position, read
  // before, stays as it is.
  if (location != UNDEFINED_LOCATION) {
    location = UNDEFINED_LOCATION;
    setModified(LOCATION);
  }
}

}  // namespace cv
