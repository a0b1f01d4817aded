#pragma once

#include <string>
#include <vector>

#include "presentation/display/Color.h"
#include "presentation/sprites/Frame.h"

namespace cv {

/// A labelled sequence of frames of one size, with a colour, a slowdown and
/// an optional transparent character (a Unicode code point). Its capacity is
/// fixed at creation.
class Sprite {
 public:
  /// Room for `max_frames` frames. When that cannot be allocated (or is
  /// negative) the failure is logged and the capacity is 0.
  explicit Sprite(int max_frames);
  ~Sprite();

  // Plain accessors, without checks.
  void setWidth(int new_width);
  int getWidth() const;
  void setHeight(int new_height);
  int getHeight() const;
  void setColor(Color new_color);
  Color getColor() const;
  void setSlowdown(int new_slowdown);
  int getSlowdown() const;
  /// The character not drawn (0 for none): a code point, kept as given. An
  /// ASCII char such as '#' may be passed as it is; a char past ASCII is
  /// no character and only matches that byte in a frame that is not UTF-8
  /// (see Frame::draw).
  void setTransparency(char32_t new_transparency);
  char32_t getTransparency() const;
  void setLabel(std::string new_label);
  std::string getLabel() const;
  int getFrameCount() const;
  /// The number of frames the sprite can hold.
  int getMaxFrameCount() const;

  /// Adds a copy of `frame` after the others. -1 when full (nothing kept).
  int pushFrame(Frame frame);

  /// A copy of frame `frame_number`, or an empty frame when out of range.
  Frame getFrame(int frame_number) const;

  /// Draws frame `frame_number` centred on `position` in the sprite's colour.
  /// An out-of-range number draws nothing and returns 0.
  int draw(int frame_number, Vector position, char32_t transparency) const;

 private:
  Sprite(const Sprite &) = delete;
  Sprite &operator=(const Sprite &) = delete;

  int width;                  ///< width of every frame
  int height;                 ///< height of every frame
  int max_frame_count;        ///< capacity of frames
  int frame_count;            ///< frames added so far
  Color color;                ///< colour of every character
  int slowdown;               ///< draws each frame is shown for
  char32_t transparency;      ///< character not drawn; 0 for none
  std::vector<Frame> frames;  ///< max_frame_count slots, the first frame_count in use
  std::string label;          ///< name the sprite is found by
};

}  // namespace cv
