#include "world/EventOut.h"

namespace cv {

EventOut::EventOut() { setType(OUT_EVENT); }

}  // namespace cv
