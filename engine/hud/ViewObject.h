#pragma once

#include <string>

#include "presentation/display/Color.h"
#include "world/Object.h"

namespace cv {

/// The nine places on the screen a view object can sit at.
enum ViewLocation : int {
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
  /// A spectral, top-altitude object with an empty label and value 0,
  /// bordered, in white, at the top centre of the view, listening to "cv-view".
  ViewObject();

  /// Sets the label (and the tag view events must carry).
  void setViewString(std::string new_view_string);
  /// The label.
  std::string getViewString() const;
  /// Sets the number drawn after the label.
  void setValue(int new_value);
  /// The number drawn after the label.
  int getValue() const;
  /// Sets the colour of text and frame.
  void setColor(Color new_color);
  /// The colour of text and frame.
  Color getColor() const;
  /// Frames the text or not; an object at a named place moves to that
  /// place's position for the new setting.
  void setBorder(bool new_border);
  /// Whether the text is framed.
  bool getBorder() const;
  /// Draws the value after the label or not.
  void setDrawValue(bool new_draw_value = true);
  /// Whether the value is drawn.
  bool getDrawValue() const;

  /// Places the object at one of the nine screen places, computed from the
  /// view's size now. Values outside them are refused with a warning.
  void setLocation(ViewLocation new_location);
  /// The named place, or UNDEFINED_LOCATION after a direct setPosition.
  ViewLocation getLocation() const;

  /// Sets the screen position directly; a new position makes the location
  /// undefined. Returns 0.
  int setPosition(Vector new_position) override;
  /// Takes "cv-view" events whose tag equals the label (1); hands other
  /// types to Object. Returns 0 for events not taken.
  int eventHandler(const Event *event) override;
  /// Draws the text centred at the screen position, framed when bordered.
  /// Returns the sum of the drawing results (0 when all were drawn).
  int draw() override;

  /// Writes the object's groups, then the view groups `attr` selects
  /// (the rule of Object::serialize), lowering their flags.
  std::string serialize(std::string attr = "") override;
  /// Reads the object's attributes, then the view attributes present in
  /// `text`. A location of UNDEFINED_LOCATION keeps the position read.
  /// Returns what Object::deserialize returns.
  int deserialize(std::string text) override;
  /// Whether any view or object attribute changed since it was last written.
  bool isModified() const override;
  using Object::isModified;
  /// Whether a view attribute changed since it was last written.
  bool isModified(ViewObjectAttribute attribute) const;

 private:
  /// Whether `attr` selects the view group `name`; lowers its flag if so.
  bool takeGroup(const std::string &attr, const char *name, ViewObjectAttribute attribute);
  /// Reads "view_location": a named place, or UNDEFINED_LOCATION to stay put.
  void readLocation();
  /// Raises the modified flag of a view attribute.
  void setModified(ViewObjectAttribute attribute);
  /// The text drawn: label and value as the border and draw_value settings say.
  std::string text() const;

  std::string view_string;                          ///< label, and the tag view events are matched against
  int value;                                        ///< number drawn after the label
  bool draw_value;                                  ///< draw the value
  bool border;                                      ///< draw a frame around the text
  Color color;                                      ///< colour of text and frame
  ViewLocation location;                            ///< named place, or UNDEFINED_LOCATION
  bool view_modified[VIEW_OBJECT_ATTRIBUTE_COUNT];  ///< changed since last written
};

}  // namespace cv
