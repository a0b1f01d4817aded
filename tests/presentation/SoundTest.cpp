// Sound and Music on the audio module, with the null audio driver: loading,
// playing once or looping, pausing and stopping.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Corvane.h"
#include "presentation/window/SoundFileCheck.h"
#include "support/TestEngine.h"
#include "support/WavFile.h"

using cvtest::TestEngine;

namespace {

// Waits up to five seconds for `done`; true if it happened.
template <typename Condition>
bool eventually(Condition done) {
  for (int i = 0; i < 500 && !done(); i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return done();
}

// Peak memory of this process so far, in kilobytes; -1 in the Windows build
// of the tests, which cannot ask without a Windows header (there only the
// loads and refusals are checked, not the memory they took).
long peakKilobytes() {
#ifndef _WIN32
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#else
  return -1;
#endif
}

// Whether the process's peak memory measures what the program itself holds.
// AddressSanitizer keeps freed blocks aside to catch their later use and
// pads every block, so under it a load's peak also counts the blocks of the
// loads before; the normal build checks the bounds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool PEAK_IS_THE_PROGRAMS = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool PEAK_IS_THE_PROGRAMS = false;
#else
constexpr bool PEAK_IS_THE_PROGRAMS = true;
#endif
#else
constexpr bool PEAK_IS_THE_PROGRAMS = true;
#endif

}  // namespace

TEST(Sound, PlaysOnceOrRepeatsUntilStopped) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  const std::string wav = engine.directory() + "/beep.wav";
  cvtest::writeToneWav(wav, 50);
  cv::Sound sound;
  EXPECT_EQ(sound.getLabel(), "[Undefined]");
  ASSERT_EQ(sound.loadSound(wav), 0);
  EXPECT_EQ(sound.getSampleCount(), 400u);

  sound.play(false);
  const std::vector<std::string> messages = engine.messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "Sound::play(): Playing sound.");
  EXPECT_TRUE(sound.isPlaying());
  EXPECT_FALSE(sound.isLooping());
  EXPECT_TRUE(eventually([&] { return !sound.isPlaying(); }));

  sound.play(true);
  EXPECT_TRUE(sound.isLooping());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // six times the tone's length
  EXPECT_TRUE(sound.isPlaying());
  sound.stop();
  EXPECT_FALSE(sound.isPlaying());
}

TEST(Sound, FailedLoadKeepsTheSamplesAlreadyAttachedAndPlaying) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  const std::string wav = engine.directory() + "/beep.wav";
  const std::string truncated = engine.directory() + "/truncated.wav";
  cvtest::writeToneWav(wav, 100);
  cvtest::writeTruncatedWav(truncated);
  // Four samples, then a chunk of 30 MB: the header is sound, the file too
  // large to read. The file is sparse: its zeros take no disk.
  const std::string padded = engine.directory() + "/padded.wav";
  const std::vector<char> header = cvtest::wavHeader(8, 48000);
  const std::string bytes = std::string(header.begin(), header.end()) + std::string(8, '\0') + "junk" +
                            std::string("\x00\x00\xe0\x01", 4);
  const std::uintmax_t padded_size = bytes.size() + 30u * 1024 * 1024;
  cvtest::writeFile(padded, bytes);
  std::filesystem::resize_file(padded, padded_size);
  cv::Sound sound;
  ASSERT_EQ(sound.loadSound(wav), 0);
  sound.play(true);
  const long peak_before = peakKilobytes();
  for (const std::string &bad :
       {truncated, engine.directory() + "/missing.wav", engine.logPath(), engine.directory(), padded}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(sound.loadSound(bad), -1);
    EXPECT_EQ(sound.getSampleCount(), 800u);
    EXPECT_TRUE(sound.isPlaying());
  }
  if (peak_before != -1) {
    EXPECT_LT(peakKilobytes() - peak_before, 10 * 1024);
  }
  EXPECT_TRUE(engine.logged("Sound::loadSound(): Error! '" + padded + "' not decoded: file of " +
                            std::to_string(padded_size) + " bytes, more than the " +
                            std::to_string(cv::MAX_SOUND_FILE_BYTES) + " allowed."));
  sound.stop();
  EXPECT_FALSE(sound.isPlaying());
}

TEST(Sound, LoadingHoldsTheFileOnceAndTheSamplesInTheBufferAndTheDevice) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  // 55 s of 48 kHz stereo silence, just under the sound limit: 10 MB of
  // samples. The file is sparse: its silence takes no disk.
  const std::uint32_t samples = 55 * 48000 * 2;
  const long decoded_kb = samples * 2 / 1024;
  const std::string path = engine.directory() + "/long.wav";
  std::vector<char> header = cvtest::wavHeader(samples * 2, 48000);
  header[22] = 2;   // two channels
  header[28] = 0;   // bytes per second: 48000 * 4
  header[29] = static_cast<char>(0xEE);
  header[30] = 2;
  header[32] = 4;   // bytes per frame
  cvtest::writeFile(path, std::string(header.begin(), header.end()));
  std::filesystem::resize_file(path, header.size() + samples * 2ull);
  const long file_kb = static_cast<long>(std::filesystem::file_size(path) / 1024);

  // The file's bytes, read once, while the buffer's samples and the audio
  // device's copy are made from them, with a little room for the decoder;
  // and no more when loaded again.
  cv::Sound sound;
  const long base = peakKilobytes();
  ASSERT_EQ(sound.loadSound(path), 0);
  EXPECT_EQ(sound.getSampleCount(), samples);
  if (PEAK_IS_THE_PROGRAMS) {
    EXPECT_LT(peakKilobytes() - base, file_kb + decoded_kb * 2 + 4 * 1024);
  }
  ASSERT_EQ(sound.loadSound(path), 0);
  if (PEAK_IS_THE_PROGRAMS) {
    EXPECT_LT(peakKilobytes() - base, file_kb + decoded_kb * 2 + 4 * 1024);
  }
  sound.play();
  EXPECT_TRUE(sound.isPlaying());
  sound.stop();
}

TEST(Sound, RefusesAFiveMinuteFlacWithoutDecodingItButStreamsItAsMusic) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  // 54 KB of FLAC: 299 s of 48 kHz stereo silence, past the one-minute limit.
  const std::string path = std::string(CORVANE_TEST_FIXTURES) + "/sounds/flac-299s-stereo-silence-54KB.flac";
  cv::Sound sound;
  const long base = peakKilobytes();
  EXPECT_EQ(sound.loadSound(path), -1);
  EXPECT_LT(peakKilobytes() - base, 4 * 1024);
  EXPECT_TRUE(engine.logged("Sound::loadSound(): Error! '" + path +
                            "' not decoded: 28704000 samples, more than the 5760000 allowed."));
  cv::Music music;
  EXPECT_EQ(music.loadMusic(path), 0);
}

TEST(Music, PausesResumesAndStops) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  const std::string wav = engine.directory() + "/tune.wav";
  cvtest::writeToneWav(wav, 2000);
  cv::Music music;
  EXPECT_EQ(music.loadMusic(engine.directory() + "/missing.wav"), -1);
  EXPECT_EQ(music.loadMusic(engine.directory()), -1);
  ASSERT_EQ(music.loadMusic(wav), 0);

  music.play(true);
  EXPECT_TRUE(music.isPlaying());
  EXPECT_TRUE(music.isLooping());
  music.pause();
  EXPECT_TRUE(music.isPaused());
  music.play(false);
  EXPECT_TRUE(music.isPlaying());
  EXPECT_FALSE(music.isLooping());
  music.stop();
  EXPECT_FALSE(music.isPlaying());
  EXPECT_FALSE(music.isPaused());
  EXPECT_EQ(engine.messagesFrom("Music::play(): Playing music."),
            (std::vector<std::string>{"Music::play(): Playing music.", "Music::pause(): Pausing music.",
                                      "Music::play(): Playing music.", "Music::stop(): Stopping music."}));
}
