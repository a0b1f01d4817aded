#include "presentation/window/SfmlSound.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/System/FileInputStream.hpp>
#include <SFML/System/MemoryInputStream.hpp>
#include <algorithm>
#include <new>
#include <vector>

#include "presentation/window/SoundFileCheck.h"

namespace cv {

namespace {

// Samples decoded per read while a file is tried.
const sf::Uint64 SAMPLES_PER_READ = 65536;

// Whether `file` decodes to the end of its stated sample count. The samples
// pass through one small buffer and are dropped: this costs time, not memory,
// and a header that claims more than the file holds costs nothing.
bool decodesWhole(sf::InputSoundFile &file) {
  const sf::Uint64 expected = file.getSampleCount();
  std::vector<sf::Int16> chunk(static_cast<size_t>(SAMPLES_PER_READ));
  sf::Uint64 total = 0;
  while (total < expected) {
    const sf::Uint64 got = file.read(chunk.data(), std::min(SAMPLES_PER_READ, expected - total));
    if (got == 0)
      return false;
    total += got;
  }
  return total > 0;
}

}  // namespace

SfmlSound::~SfmlSound() { sound.resetBuffer(); }

int SfmlSound::load(const std::string &filename, std::string &reason) {
  // The file is opened once. Its header is checked first, so that an absurd
  // file costs no more than that; then it is read whole from the same handle,
  // and those bytes are checked and decoded once to their end before the
  // buffer is touched, so a file that fails leaves the voice with the
  // samples it had, playing if it was. Only then are the same bytes decoded
  // into the buffer, which holds exactly the stated count, and handed to the
  // audio device; the bytes go when the load is done.
  sf::FileInputStream stream;
  if (SoundFileCheck::openFile(filename, stream, reason) == -1)
    return -1;
  std::vector<char> bytes;
  try {
    {
      sf::InputSoundFile header;
      if (SoundFileCheck::open(stream, MAX_SOUND_SAMPLES, header, reason) == -1)
        return -1;
    }
    if (SoundFileCheck::readAll(stream, MAX_SOUND_FILE_BYTES, bytes, reason) == -1)
      return -1;
  } catch (const std::bad_alloc &) {
    reason = "out of memory";
    return -1;
  }
  sf::MemoryInputStream memory;
  memory.open(bytes.data(), bytes.size());
  try {
    sf::InputSoundFile file;
    if (SoundFileCheck::open(memory, MAX_SOUND_SAMPLES, file, reason) == -1)
      return -1;
    if (!decodesWhole(file)) {
      reason = "ends before its " + std::to_string(file.getSampleCount()) + " samples";
      return -1;
    }
    // The buffer stops the voice while it takes the new samples.
    if (!sound_buffer.loadFromMemory(bytes.data(), bytes.size())) {
      reason = "decoded differently the second time";
      return -1;
    }
  } catch (const std::bad_alloc &) {
    reason = "out of memory";
    return -1;
  }
  sound.setBuffer(sound_buffer);
  return 0;
}

void SfmlSound::play(bool loop) {
  sound.play();
  sound.setLoop(loop);
}

void SfmlSound::stop() { sound.stop(); }

bool SfmlSound::isPlaying() const { return sound.getStatus() == sf::SoundSource::Playing; }
bool SfmlSound::isLooping() const { return sound.getLoop(); }
unsigned long SfmlSound::getSampleCount() const { return static_cast<unsigned long>(sound_buffer.getSampleCount()); }

}  // namespace cv
