// Frame, Sprite and Animation: capacity, frame selection, the draw-then-advance
// cycle, freezing, the modified flag and the bounding box. The engine runs
// headless, so every character drawn reports -1.

#include <gtest/gtest.h>

#include <functional>

#include "Corvane.h"
#include "support/TestEngine.h"

using cvtest::TestEngine;

namespace {

// Adds `count` one-character frames "0", "1", ... to `sprite`.
void addFrames(cv::Sprite &sprite, int count) {
  for (int i = 0; i < count; i++)
    ASSERT_EQ(sprite.pushFrame(cv::Frame(1, 1, std::to_string(i))), 0);
}

}  // namespace

TEST(Sprite, HoldsAtMostItsCapacityAndGivesEmptyFramesOutOfRange) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  cv::Sprite sprite(2);
  EXPECT_EQ(sprite.getLabel(), "[Undefined]");
  EXPECT_EQ(sprite.getColor(), cv::WHITE);
  EXPECT_EQ(sprite.getSlowdown(), 1);
  EXPECT_EQ(sprite.getTransparency(), 0);
  EXPECT_EQ(sprite.pushFrame(cv::Frame(2, 1, "ab")), 0);
  EXPECT_EQ(sprite.pushFrame(cv::Frame(2, 1, "cd")), 0);
  EXPECT_EQ(sprite.pushFrame(cv::Frame(2, 1, "ef")), -1);
  EXPECT_EQ(sprite.getFrameCount(), 2);
  EXPECT_EQ(sprite.getFrame(1).getString(), "cd");
  for (int out_of_range : {-1, 2}) {
    EXPECT_EQ(sprite.getFrame(out_of_range).getString(), "");
    EXPECT_EQ(sprite.getFrame(out_of_range).getWidth(), 0);
    EXPECT_EQ(sprite.draw(out_of_range, cv::Vector(5, 5), 0), 0);
  }
  EXPECT_EQ(sprite.draw(0, cv::Vector(5, 5), 0), -1);

  cv::Sprite refused(-1);
  EXPECT_EQ(engine.messages().back(), "Sprite::Sprite(): Error! Unable to allocate -1 frames.");
  EXPECT_EQ(refused.getMaxFrameCount(), 0);
  EXPECT_EQ(refused.pushFrame(cv::Frame(2, 1, "ab")), -1);
}

TEST(Frame, DrawsNothingForAnEmptyFrameOrOnlyTransparentCells) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  const struct {
    cv::Frame frame;
    char transparency;
    int result;
  } cases[] = {
      {cv::Frame(), 0, 0},
      {cv::Frame(3, 1, "###"), '#', 0},
      {cv::Frame(3, 1, "###"), 0, -1},
      {cv::Frame(3, 1, "a#b"), '#', -1},
      {cv::Frame(1, 1, " "), 0, -1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.frame.getString());
    EXPECT_EQ(c.frame.draw(cv::Vector(10, 5), cv::GREEN, c.transparency), c.result);
  }
}

TEST(Frame, HandsBackItsCharactersAndDrawsEachAsOneCodePoint) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  EXPECT_EQ(cv::Frame(3, 1, "╔═╗").getCharacters(), U"╔═╗");
  EXPECT_EQ(cv::Frame(3, 1, "a\xFF" "b").getCharacters(), (std::u32string{U'a', cv::NOT_UTF8, U'b'}));
  EXPECT_EQ(cv::Frame().getCharacters(), U"");

  // Headless, the display draws nothing, but it names a character that
  // cannot fill a cell before it refuses to draw: the first cell drawn here
  // is the wide one behind two transparent shades.
  EXPECT_EQ(cv::Frame(3, 1, "▓▓中").draw(cv::Vector(10, 5), cv::GREEN, U'▓'), -1);
  EXPECT_EQ(engine.messages().back(),
            "DisplayManager::drawCharacter(): Warning! U+4E2D '中' does not fill one cell; it is drawn as '?'.");

  // A sprite's transparency reaches its frames whole through the animation.
  cv::Sprite sprite(1);
  sprite.setTransparency(U'▓');
  ASSERT_EQ(sprite.pushFrame(cv::Frame(2, 1, "▓▓")), 0);
  cv::Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.draw(cv::Vector(10, 5)), 0);

  // A char past ASCII is no character: as a transparency it still stands
  // for that byte where a frame is not UTF-8.
  EXPECT_EQ(cv::Frame(2, 1, "\xE9\xE9").draw(cv::Vector(10, 5), cv::GREEN, '\xE9'), 0);
  EXPECT_EQ(cv::Frame(2, 1, "\xE9\xE9").draw(cv::Vector(10, 5), cv::GREEN, '\xE8'), -1);
}

TEST(Animation, ShowsEachFrameForSlowdownDrawsThenWraps) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  const struct {
    int slowdown;
    int frames;
    std::vector<int> shown;
  } cases[] = {
      {4, 3, {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 0, 0}},
      {1, 3, {0, 1, 2, 0, 1}},
      {0, 2, {0, 1, 0, 1}},
      {2, 1, {0, 0, 0, 0}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE("slowdown " + std::to_string(c.slowdown) + ", frames " + std::to_string(c.frames));
    cv::Sprite sprite(c.frames);
    sprite.setSlowdown(c.slowdown);
    addFrames(sprite, c.frames);
    cv::Animation animation;
    animation.setSprite(&sprite);
    std::vector<int> shown;
    for (size_t i = 0; i < c.shown.size(); i++) {
      shown.push_back(animation.getIndex());
      // Headless drawing fails, and the animation keeps its pace all the same.
      EXPECT_EQ(animation.draw(cv::Vector(3, 3)), -1);
    }
    EXPECT_EQ(shown, c.shown);
  }
}

TEST(Animation, FrozenAnimationStaysOnItsFrameUntilCountingResumes) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  cv::Sprite sprite(3);
  sprite.setSlowdown(1);
  addFrames(sprite, 3);
  cv::Animation animation;
  animation.setSprite(&sprite);
  animation.draw(cv::Vector());
  ASSERT_EQ(animation.getIndex(), 1);
  animation.setSlowdownCount(-1);
  animation.setModified(false);
  for (int i = 0; i < 5; i++)
    animation.draw(cv::Vector());
  EXPECT_EQ(animation.getIndex(), 1);
  EXPECT_EQ(animation.getSlowdownCount(), -1);
  EXPECT_FALSE(animation.isModified());

  animation.setSlowdownCount(0);
  animation.draw(cv::Vector());
  EXPECT_EQ(animation.getIndex(), 2);

  cv::Animation empty;
  empty.setModified(false);
  EXPECT_EQ(empty.draw(cv::Vector()), 0);
  EXPECT_EQ(empty.getSlowdownCount(), 0);
  EXPECT_FALSE(empty.isModified());
}

TEST(Animation, SetSpriteRestartsAtFrameZeroKeepingTheSlowdownCount) {
  TestEngine engine("headless:true,");
  ASSERT_EQ(engine.start(), 0);
  cv::Sprite walk(3), jump(2);
  walk.setSlowdown(4);
  walk.setLabel("walk");
  jump.setLabel("jump");
  addFrames(walk, 3);
  addFrames(jump, 2);
  cv::Animation animation;
  animation.setSprite(&walk);
  for (int i = 0; i < 10; i++)
    animation.draw(cv::Vector());
  ASSERT_EQ(animation.getIndex(), 2);
  ASSERT_EQ(animation.getSlowdownCount(), 2);

  animation.setModified(false);
  animation.setSprite(&jump);
  EXPECT_EQ(animation.getSprite(), &jump);
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 2);
  EXPECT_EQ(animation.getName(), "jump");
  EXPECT_TRUE(animation.isModified());

  animation.setSprite(nullptr);
  EXPECT_EQ(animation.getSprite(), nullptr);
  EXPECT_EQ(animation.getName(), "jump");
}

TEST(Animation, SettersMarkModifiedOnlyOnChange) {
  cv::Animation animation;
  EXPECT_TRUE(animation.isModified());
  const struct {
    const char *what;
    std::function<void(cv::Animation &)> same, other;
  } setters[] = {
      {"index", [](cv::Animation &a) { a.setIndex(0); }, [](cv::Animation &a) { a.setIndex(1); }},
      {"slowdown count", [](cv::Animation &a) { a.setSlowdownCount(0); },
       [](cv::Animation &a) { a.setSlowdownCount(-1); }},
      {"name", [](cv::Animation &a) { a.setName(""); }, [](cv::Animation &a) { a.setName("hero"); }},
  };
  for (const auto &setter : setters) {
    SCOPED_TRACE(setter.what);
    cv::Animation fresh;
    fresh.setModified(false);
    setter.same(fresh);
    EXPECT_FALSE(fresh.isModified());
    setter.other(fresh);
    EXPECT_TRUE(fresh.isModified());
  }
  cv::Animation copy = animation;
  EXPECT_TRUE(copy.isModified());
}

TEST(Animation, BoxCoversTheSpriteCentredOnThePosition) {
  cv::Sprite wide(0), even(0);
  wide.setWidth(5);
  wide.setHeight(3);
  even.setWidth(4);
  even.setHeight(2);
  const struct {
    cv::Sprite *sprite;
    cv::Box box;
  } cases[] = {
      {nullptr, cv::Box(cv::Vector(-0.5f, -0.5f), 0.99f, 0.99f)},
      {&wide, cv::Box(cv::Vector(-2.5f, -1.5f), 5, 3)},
      {&even, cv::Box(cv::Vector(-2, -1), 4, 2)},
  };
  for (const auto &c : cases) {
    cv::Animation animation;
    animation.setSprite(c.sprite);
    EXPECT_EQ(animation.getBox(), c.box);
  }
}
