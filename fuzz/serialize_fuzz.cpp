// Object::deserialize and ViewObject::deserialize on any text. The first
// byte picks the class, the rest is the text. Oracle: what an object writes
// after reading the text, read into a fresh object and written again, gives
// the same text; and no position, motion or box value is NaN or infinite.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "Corvane.h"
#include "FuzzEngine.h"

namespace {

bool finite(cv::Vector v) { return std::isfinite(v.getX()) && std::isfinite(v.getY()); }

// Fails when any of the object's floats is not finite.
void checkFinite(const cv::Object &object, const std::string &written) {
  const cv::Box box = object.getBox();
  if (!finite(object.getPosition()) || !finite(object.getDirection()) || !finite(object.getVelocity()) ||
      !finite(object.getAcceleration()) || !std::isfinite(object.getSpeed()) || !finite(box.getCorner()) ||
      !std::isfinite(box.getHorizontal()) || !std::isfinite(box.getVertical()))
    cvfuzz::fail("an object holds NaN or infinity after deserialize", written);
}

std::unique_ptr<cv::Object> make(bool view) {
  if (view)
    return std::make_unique<cv::ViewObject>();
  return std::make_unique<cv::Object>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  cvfuzz::startEngine();
  if (size == 0)
    return 0;
  const bool view = data[0] & 1;
  const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
  std::string first;
  {
    std::unique_ptr<cv::Object> object = make(view);
    object->deserialize(text);
    first = object->serialize("ALL");
    checkFinite(*object, first);
  }
  std::unique_ptr<cv::Object> copy = make(view);
  if (copy->deserialize(first) != 0)
    cvfuzz::fail("an object refused what an object wrote", first);
  const std::string second = copy->serialize("ALL");
  checkFinite(*copy, second);
  if (second != first)
    cvfuzz::fail("write, read, write changed the text", "first:  " + first + "\nsecond: " + second +
                                                            "\ninput:  " + text.substr(0, 400));
  return 0;
}
