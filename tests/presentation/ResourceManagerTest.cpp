// ResourceManager: limits, look-up by label, shut-down, and sounds and music
// loaded through it.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Corvane.h"
#include "support/TestEngine.h"
#include "support/WavFile.h"

using cvtest::TestEngine;

namespace {

std::string sprite(const std::string &name) { return std::string(CORVANE_TEST_FIXTURES) + "/sprites/" + name; }

// A tone of `milliseconds` written into the engine's directory; returns its path.
std::string tone(const TestEngine &engine, int milliseconds = 100) {
  const std::string path = engine.directory() + "/tone" + std::to_string(milliseconds) + ".wav";
  cvtest::writeToneWav(path, milliseconds);
  return path;
}

}  // namespace

TEST(ResourceManager, RefusesTheSpriteSoundAndMusicPastEachLimit) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  const std::string wav = tone(engine);
  for (int i = 0; i < cv::MAX_SPRITES; i++)
    ASSERT_EQ(resources.loadSprite(sprite("defaults.txt"), "s" + std::to_string(i)), 0);
  for (int i = 0; i < cv::MAX_SOUNDS; i++)
    ASSERT_EQ(resources.loadSound(wav, "n" + std::to_string(i)), 0);
  for (int i = 0; i < cv::MAX_MUSICS; i++)
    ASSERT_EQ(resources.loadMusic(wav, "m" + std::to_string(i)), 0);

  EXPECT_EQ(resources.loadSprite(sprite("defaults.txt"), "one more"), -1);
  EXPECT_EQ(resources.loadSound(wav, "one more"), -1);
  EXPECT_EQ(resources.loadMusic(wav, "one more"), -1);
  EXPECT_EQ(engine.messagesFrom("ResourceManager::loadSprite(): Error! Cannot add more Sprites (max is 1000)."),
            (std::vector<std::string>{
                "ResourceManager::loadSprite(): Error! Cannot add more Sprites (max is 1000).",
                "ResourceManager::loadSprite(): Sprite 'one more' not loaded.",
                "ResourceManager::loadSound(): Error! Unable to add more sounds (max is 100).",
                "ResourceManager::loadMusic(): Error! Unable to add more musics (max is 50).",
            }));
  EXPECT_NE(resources.getSprite("s999"), nullptr);
  EXPECT_NE(resources.getSound("n99"), nullptr);
  EXPECT_NE(resources.getMusic("m49"), nullptr);
  EXPECT_EQ(resources.getSprite("one more"), nullptr);
}

TEST(ResourceManager, FindsTheFirstOfEqualLabelsAndWarnsWhenNoneMatches) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(sprite("example.txt"), "hero"), 0);
  ASSERT_EQ(resources.loadSprite(sprite("defaults.txt"), "hero"), 0);
  const cv::Sprite *hero = resources.getSprite("hero");
  ASSERT_NE(hero, nullptr);
  EXPECT_EQ(hero->getColor(), cv::GREEN);
  EXPECT_EQ(hero->getFrameCount(), 2);

  // Tones of 8000 samples a second: the first "fire" has 800, the second 1600.
  ASSERT_EQ(resources.loadSound(tone(engine, 100), "fire"), 0);
  ASSERT_EQ(resources.loadSound(tone(engine, 200), "fire"), 0);
  ASSERT_EQ(resources.getSound("fire")->getSampleCount(), 800u);
  EXPECT_EQ(resources.getSound("fire")->getLabel(), "fire");

  EXPECT_EQ(resources.getSprite("villain"), nullptr);
  EXPECT_EQ(resources.getSound("boom"), nullptr);
  EXPECT_EQ(resources.getMusic("jingle"), nullptr);
  EXPECT_EQ(engine.messagesFrom("ResourceManager::getSprite(): Looking for sprite 'villain'."),
            (std::vector<std::string>{
                "ResourceManager::getSprite(): Looking for sprite 'villain'.",
                "ResourceManager::getSprite(): Warning! Sprite 'villain' not found.",
                "ResourceManager::getSound(): Looking for sound 'boom'.",
                "ResourceManager::getSound(): Warning! Sound 'boom' not found.",
                "ResourceManager::getMusic(): Looking for music 'jingle'.",
                "ResourceManager::getMusic(): Warning! Music 'jingle' not found.",
            }));
}

TEST(ResourceManager, ShutDownDropsTheSpritesAndStopsButKeepsSoundsAndMusic) {
  TestEngine engine("headless:true,log_level:5,");
  ASSERT_EQ(engine.start(), 0);
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite(sprite("example.txt"), "hero"), 0);
  const std::string wav = tone(engine);
  ASSERT_EQ(resources.loadSound(wav, "fire"), 0);
  ASSERT_EQ(resources.loadMusic(wav, "title"), 0);
  resources.getSound("fire")->play(true);
  resources.getMusic("title")->play(true);

  resources.shutDown();
  EXPECT_FALSE(resources.isStarted());
  EXPECT_EQ(engine.messagesFrom("Music::stop(): Stopping music."),
            (std::vector<std::string>{"Music::stop(): Stopping music.",
                                      "ResourceManager::shutDown(): successfully stopped."}));
  EXPECT_EQ(resources.getSprite("hero"), nullptr);
  cv::Sound *fire = resources.getSound("fire");
  cv::Music *title = resources.getMusic("title");
  ASSERT_NE(fire, nullptr);
  ASSERT_NE(title, nullptr);
  EXPECT_FALSE(fire->isPlaying());
  EXPECT_FALSE(title->isPlaying());
  EXPECT_EQ(resources.loadSprite(sprite("example.txt"), "hero"), -1);

  // A new start empties every list.
  EXPECT_EQ(resources.startUp(), 0);
  EXPECT_EQ(engine.messages().back(), "ResourceManager::startUp(): successfully started.");
  EXPECT_EQ(resources.getSound("fire"), nullptr);
  EXPECT_EQ(resources.getMusic("title"), nullptr);
}

TEST(ResourceManager, RefusesBadSoundAndMusicFilesAndAnUnlabelledMusic) {
  TestEngine engine("headless:true,log_level:1,");
  ASSERT_EQ(engine.start(), 0);
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  const std::string wav = tone(engine);
  const std::string missing = engine.directory() + "/missing.wav";
  const std::string text = sprite("example.txt");
  const std::string truncated = engine.directory() + "/truncated.wav";
  cvtest::writeTruncatedWav(truncated);

  EXPECT_EQ(resources.loadSound(text, "a"), -1);
  EXPECT_EQ(resources.loadSound(truncated, "b"), -1);
  EXPECT_EQ(resources.loadSound(engine.directory(), "c"), -1);
  EXPECT_EQ(resources.loadMusic(missing, "d"), -1);
  EXPECT_EQ(resources.loadMusic(wav, ""), -1);
  EXPECT_EQ(resources.loadSound(wav, ""), 0);
  EXPECT_EQ(resources.loadMusic(wav, "e"), 0);
  // The audio library's own complaint (it reads the file through the
  // engine's handle, so it cannot name it) and the engine's reason come
  // before each failure message.
  EXPECT_EQ(engine.messagesFrom("SFML: Failed to open sound file from stream (format not supported)"),
            (std::vector<std::string>{
                "SFML: Failed to open sound file from stream (format not supported)",
                "Sound::loadSound(): Error! '" + text + "' not decoded: not a sound file the audio library reads.",
                "ResourceManager::loadSound(): Error! Cannot load sound from file '" + text + "'.",
                "Sound::loadSound(): Error! '" + truncated +
                    "' not decoded: chunk 'data' of 4294967040 bytes runs past the end of the file.",
                "ResourceManager::loadSound(): Error! Cannot load sound from file '" + truncated + "'.",
                "Sound::loadSound(): Error! '" + engine.directory() + "' not decoded: missing or not a plain file.",
                "ResourceManager::loadSound(): Error! Cannot load sound from file '" + engine.directory() + "'.",
                "Music::loadMusic(): Error! '" + missing + "' not opened: missing or not a plain file.",
                "ResourceManager::loadmusic(): Error! Cannot load music from file '" + missing + "'.",
                "ResourceManager::loadMusic(): Error! Must provide label for music.",
                "ResourceManager::loadSound(): Sound '' successfully loaded.",
                "ResourceManager::loadMusic(): Music 'e' successfully loaded.",
            }));
  // The failures took no slot: the empty label is the first sound.
  EXPECT_NE(resources.getSound(""), nullptr);
  EXPECT_EQ(resources.getSound("a"), nullptr);
}

TEST(ResourceManager, LoadFailureIsTheFirstErrorWithTheFileAndEmptyAfterALoadThatWorks) {
  TestEngine engine("headless:true,");
  cv::ResourceManager &resources = cv::ResourceManager::getInstance();
  EXPECT_EQ(resources.getLoadFailure(), "");
  EXPECT_EQ(resources.loadSprite(sprite("example.txt"), "early"), -1);
  EXPECT_EQ(resources.getLoadFailure(), "ResourceManager not started! (file '" + sprite("example.txt") + "')");

  ASSERT_EQ(engine.start(), 0);
  const std::string wav = tone(engine), missing = engine.directory() + "/missing-spr.txt";
  const struct {
    const char *what;
    std::function<int()> load;
    std::string reason;
  } loads[] = {
      {"missing sprite file", [&] { return resources.loadSprite(missing, "a"); },
       "ResourceManager::loadSprite(): Error! Cannot open file '" + missing + "'."},
      {"sprite that loads", [&] { return resources.loadSprite(sprite("example.txt"), "b"); }, ""},
      {"row too long: the reader's line, which does not name the file",
       [&] { return resources.loadSprite(sprite("row-too-long.txt"), "c"); },
       "Error! Line 14: Line length is 4 (frame width is 3). (file '" + sprite("row-too-long.txt") + "')"},
      {"not a sound: the sound's reason, not the library's line before it",
       [&] { return resources.loadSound(sprite("example.txt"), "d"); },
       "Sound::loadSound(): Error! '" + sprite("example.txt") + "' not decoded: not a sound file the audio library "
       "reads."},
      {"sound that loads", [&] { return resources.loadSound(wav, "e"); }, ""},
      {"music without a label", [&] { return resources.loadMusic(wav, ""); },
       "ResourceManager::loadMusic(): Error! Must provide label for music. (file '" + wav + "')"},
      {"music that loads", [&] { return resources.loadMusic(wav, "f"); }, ""},
  };
  for (const auto &load : loads) {
    SCOPED_TRACE(load.what);
    EXPECT_EQ(load.load(), load.reason.empty() ? 0 : -1);
    EXPECT_EQ(resources.getLoadFailure(), load.reason);
  }
}

TEST(ResourceManager, ObjectSetSpriteTakesTheSpriteAndItsBox) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  ASSERT_EQ(cv::ResourceManager::getInstance().loadSprite(sprite("example.txt"), "hero"), 0);
  {
    cv::Object object;
    EXPECT_EQ(object.setSprite("hero"), 0);
    EXPECT_EQ(object.getAnimation().getSprite(), cv::ResourceManager::getInstance().getSprite("hero"));
    EXPECT_EQ(object.getAnimation().getName(), "hero");
    EXPECT_EQ(object.getBox(), cv::Box(cv::Vector(-1.5f, -1.0f), 3.0f, 2.0f));
    EXPECT_EQ(object.setSprite("nobody"), -1);
    EXPECT_EQ(engine.messages().back(), "Object::setSprite(): Warning! Sprite 'nobody' not found");
    EXPECT_EQ(object.getAnimation().getName(), "hero");
  }
  engine.stop();
}
