#pragma once

#include <string>

#include "presentation/Color.h"
#include "world/Object.h"

namespace cv {

/// The nine places on the screen a view object can sit at.
enum ViewLocation {
  UNDEFINED_LOCATION = -1,
  TOP_LEFT,
  TOP_CENTER,
  TOP_RIGHT,
  CENTER_LEFT,
  CENTER_CENTER,
  CENTER_RIGHT,
  BOTTOM_LEFT,
  BOTTOM_CENTER,
  BOTTOM_RIGHT,
};

/// The attributes a view object adds, tracked for serialization.
enum ViewObjectAttribute {
  VIEW_STRING = 0,
  VALUE,
  BORDER,
  COLOR,
  LOCATION,
  DRAW_VALUE,
};
const int VIEW_OBJECT_ATTRIBUTE_COUNT = 6;

/// A heads-up display item fixed on the screen: a label and optionally a
/// value, optionally framed. Its position is in view (screen) cells. It
/// takes "cv-view" events whose tag equals its label.
class ViewObject : public Object {
 public:
  ViewObject();

  void setViewString(std::string new_view_string);
  std::string getViewString() const;
  void setValue(int new_value);
  int getValue() const;
  void setColor(Color new_color);
  Color getColor() const;
  void setBorder(bool new_border);
  bool getBorder() const;
  void setDrawValue(bool new_draw_value = true);
  bool getDrawValue() const;

  /// Places the object at one of the nine screen places.
  void setLocation(ViewLocation new_location);
  ViewLocation getLocation() const;

  /// Sets the screen position directly; the location becomes undefined.
  int setPosition(Vector new_position) override;
  int eventHandler(const Event *event) override;
  int draw() override;

  using Object::isModified;
  bool isModified(ViewObjectAttribute attribute) const;

 private:
  std::string view_string;                        ///< label, and the tag view events are matched against
  int value;                                      ///< number drawn after the label
  bool draw_value;                                ///< draw the value
  bool border;                                    ///< draw a frame around the text
  Color color;                                    ///< colour of text and frame
  ViewLocation location;                          ///< named place, or UNDEFINED_LOCATION
  bool view_modified[VIEW_OBJECT_ATTRIBUTE_COUNT];  ///< changed since last written
};

}  // namespace cv
