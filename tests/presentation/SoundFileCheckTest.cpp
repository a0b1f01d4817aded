// Sound and music files checked before the audio library decodes them:
// malformed WAV files, channel layouts the device cannot play, and decoded
// sizes past the limits are refused, quickly and without decoding.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <SFML/Audio/OutputSoundFile.hpp>
#include <filesystem>
#include <vector>

#include "Corvane.h"
#include "presentation/window/SoundFileCheck.h"
#include "support/TestEngine.h"
#include "support/WavFile.h"

using cvtest::TestEngine;

namespace {

// `value` as `size` little-endian bytes.
std::string le(uint32_t value, int size) {
  std::vector<char> bytes;
  cvtest::putLittleEndian(bytes, value, size);
  return std::string(bytes.begin(), bytes.end());
}

std::string chunk(const std::string &id, const std::string &payload) {
  return id + le(static_cast<uint32_t>(payload.size()), 4) + payload;
}

// A format chunk's payload.
std::string format(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t block_align, uint32_t bits) {
  return le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * block_align, 4) + le(block_align, 2) + le(bits, 2);
}

std::string riff(const std::string &form, const std::string &chunks) {
  return "RIFF" + le(static_cast<uint32_t>(4 + chunks.size()), 4) + form + chunks;
}

const std::string MONO_16 = chunk("fmt ", format(1, 1, 8000, 2, 16));
const std::string FOUR_SAMPLES = chunk("data", std::string(8, '\0'));

// Peak memory of this process so far, in kilobytes; -1 in the Windows build
// of the tests, which cannot ask without a Windows header (there only the
// refusals are checked, not the memory they took).
long peakKilobytes() {
#ifndef _WIN32
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#else
  return -1;
#endif
}

// Loads `path` as a sound and as a music; both must be refused with `reason`.
void expectRefused(const TestEngine &engine, const std::string &path, const std::string &reason) {
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  EXPECT_EQ(resources.loadSound(path, "sound"), -1);
  EXPECT_EQ(resources.loadMusic(path, "music"), -1);
  EXPECT_EQ(engine.messagesFrom("Sound::loadSound(): Error! '" + path + "' not decoded: " + reason + "."),
            (std::vector<std::string>{
                "Sound::loadSound(): Error! '" + path + "' not decoded: " + reason + ".",
                "ResourceManager::loadSound(): Error! Cannot load sound from file '" + path + "'.",
                "Music::loadMusic(): Error! '" + path + "' not opened: " + reason + ".",
                "ResourceManager::loadmusic(): Error! Cannot load music from file '" + path + "'.",
            }));
}

}  // namespace

TEST(SoundFileCheck, RefusesMalformedWaveFilesAsSoundsAndMusics) {
  struct Case {
    const char *name;
    std::string bytes;
    std::string reason;
  };
  const std::vector<Case> cases = {
      // 20 bytes: "RIFF", 12, "WAVE", an empty data chunk and no format at all.
      {"data-first", std::string("RIFF\x0c\0\0\0WAVEdata\0\0\0\0", 20), "data chunk before format chunk"},
      {"data-before-fmt", riff("WAVE", FOUR_SAMPLES + MONO_16), "data chunk before format chunk"},
      {"no-data", riff("WAVE", MONO_16), "no data chunk"},
      {"not-wave", riff("AVI ", MONO_16 + FOUR_SAMPLES), "RIFF file that is not WAVE"},
      {"short-fmt", riff("WAVE", chunk("fmt ", le(1, 2) + le(1, 2)) + FOUR_SAMPLES), "format chunk too short"},
      {"float", riff("WAVE", chunk("fmt ", format(3, 1, 8000, 4, 32)) + FOUR_SAMPLES), "not integer PCM (format 3)"},
      {"no-channels", riff("WAVE", chunk("fmt ", format(1, 0, 8000, 0, 16)) + FOUR_SAMPLES), "no channels"},
      {"rate-0", riff("WAVE", chunk("fmt ", format(1, 1, 0, 2, 16)) + FOUR_SAMPLES), "sample rate 0 Hz"},
      {"12-bits", riff("WAVE", chunk("fmt ", format(1, 1, 8000, 2, 12)) + FOUR_SAMPLES), "12 bits per sample"},
      {"block", riff("WAVE", chunk("fmt ", format(1, 2, 8000, 2, 16)) + FOUR_SAMPLES),
       "block size 2 does not match 2 channels of 16 bits"},
      {"two-fmt", riff("WAVE", MONO_16 + MONO_16 + FOUR_SAMPLES), "two format chunks"},
      {"data-past-end", riff("WAVE", MONO_16 + "data" + le(1000, 4) + std::string(8, '\0')),
       "chunk 'data' of 1000 bytes runs past the end of the file"},
      {"three-channels", riff("WAVE", chunk("fmt ", format(1, 3, 8000, 6, 16)) + chunk("data", std::string(12, '\0'))),
       "3 channels (the audio device plays 1, 2, 4, 6, 7 or 8)"},
  };
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = engine.directory() + "/" + c.name + ".wav";
    cvtest::writeFile(path, c.bytes);
    expectRefused(engine, path, c.reason);
  }
  // A well-formed file with a list chunk between format and data still loads.
  const std::string good = engine.directory() + "/good.wav";
  cvtest::writeFile(good, riff("WAVE", MONO_16 + chunk("LIST", "abcd") + FOUR_SAMPLES));
  EXPECT_EQ(cv::ResourceManager::getInstance().loadSound(good, "good"), 0);
  EXPECT_EQ(cv::ResourceManager::getInstance().loadMusic(good, "good"), 0);
}

TEST(SoundFileCheck, RefusesAnOddChunkBeforeTheDataWhereReadersDisagreeOnItsPadByte) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  // 78 bytes: a 1-byte "junk" chunk, a pad byte, then "fmt " and "data". The
  // audio library, not skipping the pad, meets a "data" inside the junk
  // first and divided by a zero block size.
  expectRefused(engine, std::string(CORVANE_TEST_FIXTURES) + "/sounds/sound-odd-chunk-padding.wav",
                "chunk 'junk' of odd size 1 before the data");

  // The same layout for every kind of chunk taken before the data, padded
  // and not: refused. With an even size, each loads whole.
  const std::string pad(1, '\0');
  struct Case {
    const char *name;
    std::string odd;       // the layout with one odd chunk, without its pad
    std::string padded;    // with the pad byte after the odd chunk
    std::string even;      // the same layout with an even chunk
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"before-format", chunk("junk", "x") + MONO_16, chunk("junk", "x") + pad + MONO_16,
       chunk("junk", "xy") + MONO_16, "chunk 'junk' of odd size 1 before the data"},
      {"format", chunk("fmt ", format(1, 1, 8000, 2, 16) + "x"), chunk("fmt ", format(1, 1, 8000, 2, 16) + "x") + pad,
       chunk("fmt ", format(1, 1, 8000, 2, 16) + le(0, 2)), "chunk 'fmt ' of odd size 17 before the data"},
      {"after-format", MONO_16 + chunk("LIST", "abc"), MONO_16 + chunk("LIST", "abc") + pad,
       MONO_16 + chunk("LIST", "abcd"), "chunk 'LIST' of odd size 3 before the data"},
  };
  const std::string samples = chunk("data", le(1, 2) + le(2, 2) + le(3, 2) + le(4, 2));
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const std::string base = engine.directory() + "/" + c.name;
    cvtest::writeFile(base + "-odd.wav", riff("WAVE", c.odd + samples));
    expectRefused(engine, base + "-odd.wav", c.reason);
    cvtest::writeFile(base + "-padded.wav", riff("WAVE", c.padded + samples));
    expectRefused(engine, base + "-padded.wav", c.reason);
    cvtest::writeFile(base + "-even.wav", riff("WAVE", c.even + samples));
    cv::Sound sound;
    EXPECT_EQ(sound.loadSound(base + "-even.wav"), 0);
    EXPECT_EQ(sound.getSampleCount(), 4u);
    EXPECT_EQ(resources.loadMusic(base + "-even.wav", c.name), 0);
  }
  // The data chunk itself may be odd: nothing after it is read.
  const std::string odd_data = engine.directory() + "/odd-data.wav";
  cvtest::writeFile(odd_data, riff("WAVE", MONO_16 + chunk("data", std::string(9, '\1'))));
  cv::Sound sound;
  EXPECT_EQ(sound.loadSound(odd_data), 0);
  EXPECT_EQ(sound.getSampleCount(), 4u);
}

TEST(SoundFileCheck, RefusesAnOggOf255ChannelsWithoutDecodingIt) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  // Five seconds of silence on 255 channels: 20 MB once decoded.
  const unsigned int channels = 255, rate = 8000, seconds = 5;
  const std::string path = engine.directory() + "/crowd.ogg";
  {
    sf::OutputSoundFile file;
    ASSERT_TRUE(file.openFromFile(path, rate, channels));
    const std::vector<sf::Int16> silence(channels * rate / 10, 0);
    for (unsigned int i = 0; i < seconds * 10; i++)
      file.write(silence.data(), silence.size());
  }
  // The audio library opens its device with the first audio object and
  // closes it with the last; held open here, its memory is not the refusal's.
  const cv::Sound holds_the_device_open;
  const long peak_before = peakKilobytes();
  expectRefused(engine, path, "255 channels (the audio device plays 1, 2, 4, 6, 7 or 8)");
  if (peak_before != -1) {
    EXPECT_LT(peakKilobytes() - peak_before, 10 * 1024);
  }
}

TEST(SoundFileCheck, RefusesASoundPastItsSizeLimitButStreamsItAsMusic) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  // Stereo at 48 kHz, two samples past the sound limit. The file is sparse:
  // its silence takes no disk.
  const uint64_t samples = cv::MAX_SOUND_SAMPLES + 2;
  const std::string path = engine.directory() + "/long.wav";
  cvtest::writeFile(path, riff("WAVE", chunk("fmt ", format(1, 2, 48000, 4, 16))) + "data" +
                              le(static_cast<uint32_t>(samples * 2), 4));
  std::filesystem::resize_file(path, std::filesystem::file_size(path) + samples * 2);

  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  // The audio library opens its device with the first audio object and
  // closes it with the last; held open here, its memory is not the refusal's.
  const cv::Sound holds_the_device_open;
  const long peak_before = peakKilobytes();
  EXPECT_EQ(resources.loadSound(path, "long"), -1);
  if (peak_before != -1) {
    EXPECT_LT(peakKilobytes() - peak_before, 10 * 1024);
  }
  EXPECT_TRUE(engine.logged("Sound::loadSound(): Error! '" + path + "' not decoded: " + std::to_string(samples) +
                            " samples, more than the " + std::to_string(cv::MAX_SOUND_SAMPLES) + " allowed."));
  EXPECT_EQ(resources.loadMusic(path, "long"), 0);
}
