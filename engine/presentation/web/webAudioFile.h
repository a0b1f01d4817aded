#pragma once

#include <cstdint>
#include <string>

namespace cv {

/// Decodes the sound file `filename` in the page, refusing what is not a
/// plain file, a file of more than `max_bytes`, a file the browser does not
/// decode and a sound of more than `max_samples` samples (all channels
/// counted). The page's buffer number with its sample count in `samples`,
/// or -1 with `reason`.
int decodeInPage(const std::string &filename, std::uint64_t max_bytes, std::uint64_t max_samples,
                 std::uint64_t &samples, std::string &reason);

}  // namespace cv
