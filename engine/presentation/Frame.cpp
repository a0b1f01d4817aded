#include "presentation/Frame.h"

namespace cv {

Frame::Frame() : width(0), height(0) {}

Frame::Frame(int width, int height, std::string frame_str)
    : width(width), height(height), frame_str(std::move(frame_str)) {}

int Frame::getWidth() const { return width; }
int Frame::getHeight() const { return height; }
std::string Frame::getString() const { return frame_str; }

int Frame::draw(Vector, Color, char) const { return 0; }

}  // namespace cv
