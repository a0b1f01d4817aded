// Sound and Music on the audio module, with the null audio driver: loading,
// playing once or looping, pausing and stopping.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Corvane.h"
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
  EXPECT_EQ(engine.messages().back(), "Sound::play(): Playing sound.");
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

TEST(Sound, FailedLoadKeepsTheSamplesAlreadyAttached) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  const std::string wav = engine.directory() + "/beep.wav";
  const std::string truncated = engine.directory() + "/truncated.wav";
  cvtest::writeToneWav(wav, 100);
  cvtest::writeTruncatedWav(truncated);
  cv::Sound sound;
  ASSERT_EQ(sound.loadSound(wav), 0);
  for (const std::string &bad :
       {truncated, engine.directory() + "/missing.wav", engine.logPath(), engine.directory()}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(sound.loadSound(bad), -1);
    EXPECT_EQ(sound.getSampleCount(), 800u);
  }
  sound.play(true);
  EXPECT_TRUE(sound.isPlaying());
  sound.stop();
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
