// Sound and music files (WAV, Ogg, FLAC or anything else) through the
// engine's check and the decoder: ResourceManager::loadSound decodes the
// whole file, loadMusic opens it for streaming, and the first seconds of it
// are then decoded as the stream would. Run with -rss_limit_mb near what a
// sound may cost: no file may crash the decoder or fill memory.

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/System/FileInputStream.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "Corvane.h"
#include "FuzzEngine.h"
#include "presentation/window/SoundFileCheck.h"

namespace {

// Samples the streaming decode reads: ten seconds of stereo at 48 kHz.
const std::uint64_t STREAMED_SAMPLES = 10ull * 48000 * 2;

void decodeStream(const std::string &path) {
  sf::FileInputStream stream;
  sf::InputSoundFile file;
  std::string reason;
  if (cv::SoundFileCheck::openFile(path, stream, reason) == -1 ||
      cv::SoundFileCheck::open(stream, cv::MAX_MUSIC_SAMPLES, file, reason) == -1)
    return;
  std::vector<sf::Int16> chunk(4096);
  for (std::uint64_t total = 0; total < STREAMED_SAMPLES;) {
    const std::uint64_t got = file.read(chunk.data(), chunk.size());
    if (got == 0)
      return;
    total += got;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  cvfuzz::startEngine();
  const std::string path = cvfuzz::writeInput(data, size, ".sound");
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  const bool sound_held = resources.loadSound(path, "fuzz") == 0;
  const bool music_held = resources.loadMusic(path, "fuzz") == 0;
  decodeStream(path);
  // Each input is judged alone: what it loaded goes before the next, so the
  // memory limit bounds one sound, not the sum of all that loaded since.
  if (sound_held || music_held) {
    resources.shutDown();
    resources.startUp();
  }
  return 0;
}
