#include "presentation/window/SoundFileCheck.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/System/FileInputStream.hpp>
#include <SFML/System/InputStream.hpp>
#include <array>
#include <filesystem>
#include <new>

namespace cv {

namespace {

// Sample rates accepted, in Hz: below any real recording, above any
// hardware; outside them the header is garbage.
const unsigned int MIN_SAMPLE_RATE = 1000;
const unsigned int MAX_SAMPLE_RATE = 384000;

// Chunks read before the data chunk. Real files carry a handful; a file of
// nothing but tiny chunks is refused instead of walked for ever.
const int MAX_WAVE_CHUNKS = 1024;

// Format tags of integer PCM: plain, and the extensible header whose sub-format
// says PCM.
const unsigned int WAVE_FORMAT_PCM = 0x0001;
const unsigned int WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// Little-endian unsigned integer of `size` bytes at `bytes`.
std::uint32_t littleEndian(const unsigned char *bytes, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; i--)
    value = (value << 8) | bytes[i];
  return value;
}

// Reads `count` bytes at `offset`; false if the stream does not hold them.
bool readAt(sf::InputStream &stream, std::uint64_t offset, unsigned char *bytes, std::size_t count) {
  if (stream.seek(static_cast<sf::Int64>(offset)) != static_cast<sf::Int64>(offset))
    return false;
  return stream.read(bytes, static_cast<sf::Int64>(count)) == static_cast<sf::Int64>(count);
}

// The fields of a WAVE format chunk that decide how its data is read.
struct WaveFormat {
  unsigned int tag;              // format tag, 1 for PCM
  unsigned int channels;         // interleaved channels
  unsigned int sample_rate;      // frames per second
  unsigned int block_align;      // bytes per frame
  unsigned int bits_per_sample;  // bits of one sample
};

// Reads and checks a format chunk of `size` bytes at `offset`.
int readWaveFormat(sf::InputStream &stream, std::uint64_t offset, std::uint32_t size, WaveFormat &format,
                   std::string &reason) {
  std::array<unsigned char, 26> bytes{};
  if (size < 16 || !readAt(stream, offset, bytes.data(), size >= 26 ? 26 : 16)) {
    reason = "format chunk too short";
    return -1;
  }
  format.tag = littleEndian(&bytes[0], 2);
  format.channels = littleEndian(&bytes[2], 2);
  format.sample_rate = littleEndian(&bytes[4], 4);
  format.block_align = littleEndian(&bytes[12], 2);
  format.bits_per_sample = littleEndian(&bytes[14], 2);
  const bool extensible_pcm =
      format.tag == WAVE_FORMAT_EXTENSIBLE && size >= 26 && littleEndian(&bytes[24], 2) == WAVE_FORMAT_PCM;
  if (format.tag != WAVE_FORMAT_PCM && !extensible_pcm) {
    reason = "not integer PCM (format " + std::to_string(format.tag) + ")";
    return -1;
  }
  if (format.channels == 0) {
    reason = "no channels";
    return -1;
  }
  // Checked here already: the library's reader divides by it.
  if (format.sample_rate < MIN_SAMPLE_RATE || format.sample_rate > MAX_SAMPLE_RATE) {
    reason = "sample rate " + std::to_string(format.sample_rate) + " Hz";
    return -1;
  }
  const unsigned int bits = format.bits_per_sample;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    reason = std::to_string(bits) + " bits per sample";
    return -1;
  }
  if (format.block_align != format.channels * (bits / 8)) {
    reason = "block size " + std::to_string(format.block_align) + " does not match " +
             std::to_string(format.channels) + " channels of " + std::to_string(bits) + " bits";
    return -1;
  }
  return 0;
}

}  // namespace

bool SoundFileCheck::isPlayableChannelCount(unsigned int channel_count) {
  switch (channel_count) {
    case 1:
    case 2:
    case 4:
    case 6:
    case 7:
    case 8:
      return true;
    default:
      return false;
  }
}

int SoundFileCheck::openFile(const std::string &filename, sf::FileInputStream &stream, std::string &reason) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(filename, error) || !stream.open(filename)) {
    reason = "missing or not a plain file";
    return -1;
  }
  return 0;
}

int SoundFileCheck::readAll(sf::InputStream &stream, std::uint64_t max_bytes, std::vector<char> &bytes,
                            std::string &reason) {
  const sf::Int64 size = stream.getSize();
  if (size < 0 || stream.seek(0) != 0) {
    reason = "size unknown";
    return -1;
  }
  if (static_cast<std::uint64_t>(size) > max_bytes) {
    reason = "file of " + std::to_string(size) + " bytes, more than the " + std::to_string(max_bytes) + " allowed";
    return -1;
  }
  try {
    bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc &) {
    reason = "out of memory";
    return -1;
  }
  if (size > 0 && stream.read(bytes.data(), size) != size) {
    reason = "not read to its end";
    return -1;
  }
  return 0;
}

int SoundFileCheck::open(sf::InputStream &stream, std::uint64_t max_samples, sf::InputSoundFile &file,
                         std::string &reason) {
  // A WAV file is judged from its header before the library reads any of it.
  if (checkWave(stream, max_samples, reason) == -1)
    return -1;
  if (!file.openFromStream(stream)) {
    reason = "not a sound file the audio library reads";
    return -1;
  }
  return checkFacts(file.getChannelCount(), file.getSampleRate(), file.getSampleCount(), max_samples, reason);
}

int SoundFileCheck::checkWave(sf::InputStream &stream, std::uint64_t max_samples, std::string &reason) {
  std::array<unsigned char, 12> riff{};
  if (!readAt(stream, 0, riff.data(), riff.size()) || std::string(riff.begin(), riff.begin() + 4) != "RIFF")
    return 0;  // not a RIFF file: left to the readers of other formats
  if (std::string(riff.begin() + 8, riff.end()) != "WAVE") {
    reason = "RIFF file that is not WAVE";
    return -1;
  }
  if (stream.getSize() < 0) {
    reason = "size unknown";
    return -1;
  }
  const auto file_size = static_cast<std::uint64_t>(stream.getSize());

  bool have_format = false;
  WaveFormat format{};
  std::uint64_t offset = riff.size();
  for (int chunks = 0; chunks < MAX_WAVE_CHUNKS; chunks++) {
    std::array<unsigned char, 8> header{};
    if (offset + header.size() > file_size || !readAt(stream, offset, header.data(), header.size())) {
      reason = "no data chunk";
      return -1;
    }
    const std::string id(header.begin(), header.begin() + 4);
    const std::uint32_t size = littleEndian(&header[4], 4);
    offset += header.size();
    if (size > file_size - offset) {
      reason = "chunk '" + id + "' of " + std::to_string(size) + " bytes runs past the end of the file";
      return -1;
    }
    // RIFF pads an odd chunk to an even size, but the audio library's WAV
    // reader does not skip that pad byte: the two would walk different
    // chunks from here on. Before the data, no odd chunk is taken.
    if (id != "data" && size % 2 != 0) {
      reason = "chunk '" + id + "' of odd size " + std::to_string(size) + " before the data";
      return -1;
    }
    if (id == "fmt ") {
      if (have_format) {
        reason = "two format chunks";
        return -1;
      }
      if (readWaveFormat(stream, offset, size, format, reason) == -1)
        return -1;
      have_format = true;
    } else if (id == "data") {
      if (!have_format) {
        reason = "data chunk before format chunk";
        return -1;
      }
      return checkFacts(format.channels, format.sample_rate, size / (format.bits_per_sample / 8), max_samples,
                        reason);
    }
    offset += size;  // even, so padded or not, every reader goes on here
  }
  reason = "more than " + std::to_string(MAX_WAVE_CHUNKS) + " chunks before the data";
  return -1;
}

int SoundFileCheck::checkFacts(unsigned int channel_count, unsigned int sample_rate, std::uint64_t sample_count,
                               std::uint64_t max_samples, std::string &reason) {
  if (!isPlayableChannelCount(channel_count)) {
    reason = std::to_string(channel_count) + " channels (the audio device plays 1, 2, 4, 6, 7 or 8)";
    return -1;
  }
  if (sample_rate < MIN_SAMPLE_RATE || sample_rate > MAX_SAMPLE_RATE) {
    reason = "sample rate " + std::to_string(sample_rate) + " Hz";
    return -1;
  }
  if (sample_count == 0) {
    reason = "no samples";
    return -1;
  }
  if (sample_count > max_samples) {
    reason = std::to_string(sample_count) + " samples, more than the " + std::to_string(max_samples) + " allowed";
    return -1;
  }
  return 0;
}

}  // namespace cv
