#include "presentation/Sound.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <algorithm>
#include <new>
#include <vector>

#include "foundation/LogManager.h"
#include "presentation/SoundFileCheck.h"

namespace cv {

namespace {

// Samples decoded per read while loading.
const sf::Uint64 SAMPLES_PER_READ = 65536;

// Decodes every sample of `file` into `samples`. The storage grows only with
// the samples actually decoded, so a header that claims more than the file
// holds costs nothing. False when the file ends before its stated count.
bool readAllSamples(sf::InputSoundFile &file, std::vector<sf::Int16> &samples) {
  const sf::Uint64 expected = file.getSampleCount();
  std::vector<sf::Int16> chunk(static_cast<size_t>(SAMPLES_PER_READ));
  sf::Uint64 total = 0;
  while (total < expected) {
    const sf::Uint64 wanted = std::min(SAMPLES_PER_READ, expected - total);
    const sf::Uint64 got = file.read(chunk.data(), wanted);
    if (got == 0)
      return false;
    samples.insert(samples.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    total += got;
  }
  return total > 0;
}

}  // namespace

Sound::Sound() : label("[Undefined]") {}

Sound::~Sound() { sound.resetBuffer(); }

int Sound::loadSound(std::string filename) {
  // Decode first and only then replace the buffer, so a file that fails
  // leaves the voice with the samples it had.
  sf::InputSoundFile file;
  std::string reason;
  if (SoundFileCheck::open(filename, MAX_SOUND_SAMPLES, file, reason) == -1) {
    LogManager::getInstance().writeLog("Sound::loadSound(): Error! '%s' not decoded: %s.", filename.c_str(),
                                       reason.c_str());
    return -1;
  }
  std::vector<sf::Int16> samples;
  try {
    if (!readAllSamples(file, samples))
      return -1;
  } catch (const std::bad_alloc &) {
    return -1;
  }
  // A channel layout the audio device cannot take fails here, still apart
  // from the buffer in use.
  sf::SoundBuffer loaded;
  if (!loaded.loadFromSamples(samples.data(), samples.size(), file.getChannelCount(), file.getSampleRate()))
    return -1;
  sound_buffer = loaded;
  sound.setBuffer(sound_buffer);
  return 0;
}

void Sound::setLabel(std::string new_label) { label = std::move(new_label); }
std::string Sound::getLabel() const { return label; }

void Sound::play(bool loop) {
  LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
  sound.play();
  sound.setLoop(loop);
}

void Sound::stop() { sound.stop(); }

bool Sound::isPlaying() const { return sound.getStatus() == sf::SoundSource::Playing; }
bool Sound::isLooping() const { return sound.getLoop(); }
unsigned long Sound::getSampleCount() const { return static_cast<unsigned long>(sound_buffer.getSampleCount()); }

}  // namespace cv
