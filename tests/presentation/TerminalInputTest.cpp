// Terminal input: the decoder's bytes-to-inputs table, sequences split over
// reads, junk, and the events the input makes of them (held keys).

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Corvane.h"
#include "presentation/terminal/TerminalInput.h"
#include "presentation/terminal/TerminalInputDecoder.h"

namespace {

using cv::KeyPhase;
using cv::TerminalInputItem;
namespace Keyboard = cv::Keyboard;
namespace Mouse = cv::Mouse;

// An input as a short text, for readable comparisons.
std::string describe(const TerminalInputItem &item) {
  std::ostringstream text;
  switch (item.kind) {
    case TerminalInputItem::KEY:
      text << "key " << item.key
           << (item.phase == KeyPhase::PRESS ? "" : item.phase == KeyPhase::REPEAT ? " repeat" : " release");
      break;
    case TerminalInputItem::MOUSE_MOVED:
      text << "moved " << item.column << "," << item.row;
      break;
    case TerminalInputItem::MOUSE_DOWN:
      text << "down " << item.button << " " << item.column << "," << item.row;
      break;
    case TerminalInputItem::MOUSE_UP:
      text << "up " << item.button << " " << item.column << "," << item.row;
      break;
    case TerminalInputItem::RELEASES_OFFERED:
      text << "releases offered";
      break;
  }
  return text.str();
}

std::vector<std::string> describeAll(const std::vector<TerminalInputItem> &items) {
  std::vector<std::string> result;
  for (const TerminalInputItem &item : items) result.push_back(describe(item));
  return result;
}

// Decodes `bytes` as one read followed by an empty one.
std::vector<std::string> decode(const std::string &bytes) {
  cv::TerminalInputDecoder decoder;
  std::vector<TerminalInputItem> items;
  decoder.feed(bytes.data(), static_cast<int>(bytes.size()), items);
  decoder.flush(items);
  return describeAll(items);
}

std::string key(int k) { return "key " + std::to_string(k); }

TEST(TerminalInputDecoder, TableOfSequences) {
  struct Case {
    std::string bytes;
    std::vector<std::string> inputs;
  };
  const Case cases[] = {
      {"a", {key(Keyboard::A)}},
      {"D", {key(Keyboard::D)}},
      {"p0 9", {key(Keyboard::P), key(Keyboard::NUM0), key(Keyboard::SPACE), key(Keyboard::NUM9)}},
      {"\r\t\x7f", {key(Keyboard::RETURN), key(Keyboard::TAB), key(Keyboard::BACKSPACE)}},
      {"-+.,/=*;'\\~", {key(Keyboard::MINUS), key(Keyboard::PLUS), key(Keyboard::PERIOD), key(Keyboard::COMMA),
                        key(Keyboard::SLASH), key(Keyboard::EQUAL), key(Keyboard::MULTIPLY), key(Keyboard::SEMICOLON),
                        key(Keyboard::QUOTE), key(Keyboard::BACKSLASH), key(Keyboard::TILDE)}},
      {"\x1b", {key(Keyboard::ESCAPE)}},
      {"\x1b\x1b", {key(Keyboard::ESCAPE), key(Keyboard::ESCAPE)}},
      {"\x1b[A\x1b[B\x1b[C\x1b[D", {key(Keyboard::UP), key(Keyboard::DOWN), key(Keyboard::RIGHT), key(Keyboard::LEFT)}},
      {"\x1bOA\x1b[1;5D", {key(Keyboard::UP), key(Keyboard::LEFT)}},
      {"\x1bOP\x1bOQ\x1bOR\x1bOS", {key(Keyboard::F1), key(Keyboard::F2), key(Keyboard::F3), key(Keyboard::F4)}},
      {"\x1b[15~\x1b[17~\x1b[18~\x1b[19~\x1b[20~",
       {key(Keyboard::F5), key(Keyboard::F6), key(Keyboard::F7), key(Keyboard::F8), key(Keyboard::F9)}},
      {"\x1b[21~\x1b[23~\x1b[24~", {key(Keyboard::F10), key(Keyboard::F11), key(Keyboard::F12)}},
      {"\x1b[11~\x1b[1;2P", {key(Keyboard::F1), key(Keyboard::F1)}},
      {"\x1b[H\x1b[5~", {key(64 + cv::UNNAMED_KEY_OFFSET), key(61 + cv::UNNAMED_KEY_OFFSET)}},  // Home, PageUp
      // Alt with a key gives the key.
      {"\x1bq", {key(Keyboard::Q)}},
      // The kitty keyboard protocol: press, repeat, release; special keys.
      {"\x1b[100u\x1b[100;1:2u\x1b[100;1:3u", {key(Keyboard::D), key(Keyboard::D) + " repeat", key(Keyboard::D) + " release"}},
      {"\x1b[13u\x1b[27u\x1b[57441u", {key(Keyboard::RETURN), key(Keyboard::ESCAPE), key(Keyboard::LEFT_SHIFT)}},
      {"\x1b[1;1:3A\x1b[21;1:3~", {key(Keyboard::UP) + " release", key(Keyboard::F10) + " release"}},
      {"\x1b[?11u", {"releases offered"}},
      // SGR mouse: move, left press and release, right press, middle, in cells from 0.
      {"\x1b[<35;11;23M", {"moved 10,22"}},
      {"\x1b[<0;11;23M\x1b[<0;11;23m", {"down 0 10,22", "up 0 10,22"}},
      {"\x1b[<2;1;1M\x1b[<1;80;24M", {"down 1 0,0", "down 2 79,23"}},
      {"\x1b[<32;5;6M", {"moved 4,5"}},  // dragging with the left button
  };
  for (const Case &c : cases)
    EXPECT_EQ(decode(c.bytes), c.inputs) << testing::PrintToString(c.bytes);
}

TEST(TerminalInputDecoder, SequencesSplitAcrossReadsAreJoined) {
  const std::string stream = "a\x1b[21~\x1b[<0;11;23M\x1b[100;1:3u\x1bOQ\x1b[A";
  const std::vector<std::string> whole = decode(stream);
  ASSERT_EQ(whole.size(), 6u);
  // Every place to cut the stream in two, and byte by byte.
  for (size_t cut = 1; cut < stream.size(); cut++) {
    cv::TerminalInputDecoder decoder;
    std::vector<TerminalInputItem> items;
    decoder.feed(stream.data(), static_cast<int>(cut), items);
    decoder.feed(stream.data() + cut, static_cast<int>(stream.size() - cut), items);
    EXPECT_EQ(describeAll(items), whole) << "cut at " << cut;
  }
  cv::TerminalInputDecoder decoder;
  std::vector<TerminalInputItem> items;
  for (char byte : stream) decoder.feed(&byte, 1, items);
  EXPECT_EQ(describeAll(items), whole);
  EXPECT_FALSE(decoder.hasPending());
}

TEST(TerminalInputDecoder, JunkIsIgnored) {
  struct Case {
    std::string bytes;
    std::vector<std::string> inputs;
  };
  const Case cases[] = {
      {"\x1b[?62;22c", {}},                        // device attributes answer
      {"\x1b[I\x1b[O", {}},                         // focus in and out
      {"\x1b[12;40R", {}},                          // cursor position report, not F3
      {"\x1b[99~\x1b[0;1u", {}},                    // numbers that are no key
      {"\x1b[<0;0;5M\x1b[<0;5M\x1b[<64;3;3M", {}},  // mouse at column 0, short, the wheel
      {std::string("\xc3\xa9", 2), {}},             // a character of another alphabet
      {std::string("\x00\x1c\x1d", 3), {}},          // control bytes that are no key
      {"\x1b[12\x1bOQ", {key(Keyboard::F2)}},      // a sequence broken off: dropped, what follows stays
      {"\x1b[<0;99999999999999999999;3M", {}},      // huge numbers
  };
  for (const Case &c : cases)
    EXPECT_EQ(decode(c.bytes), c.inputs) << testing::PrintToString(c.bytes);

  // An overlong unfinished sequence is dropped without waiting for its end.
  {
    cv::TerminalInputDecoder decoder;
    std::vector<TerminalInputItem> items;
    const std::string overlong = "\x1b[" + std::string(100, '1');
    decoder.feed(overlong.data(), static_cast<int>(overlong.size()), items);
    EXPECT_FALSE(decoder.hasPending());
    decoder.feed("y", 1, items);
    EXPECT_EQ(describeAll(items), std::vector<std::string>{key(Keyboard::Y)});
  }

  // Random bytes never crash nor grow the kept tail beyond one sequence.
  std::mt19937 random(7);
  cv::TerminalInputDecoder decoder;
  std::vector<TerminalInputItem> items;
  for (int i = 0; i < 2000; i++) {
    char bytes[37];
    for (char &byte : bytes) byte = static_cast<char>(random() % 4 == 0 ? "\x1b[<;:~uMm0123456789"[random() % 19] : random());
    decoder.feed(bytes, sizeof bytes, items);
    items.clear();
  }
  decoder.flush(items);
  EXPECT_FALSE(decoder.hasPending());
}

// The events a TerminalInput dispatches, as short texts.
struct Recorder {
  std::vector<std::string> events;
  cv::TerminalInput input{[this](const char *control) { sent += control; }};
  std::string sent;

  int record(const cv::Event *event) {
    std::ostringstream text;
    if (event->getType() == cv::KEYBOARD_EVENT) {
      const auto *keyboard = static_cast<const cv::EventKeyboard *>(event);
      const char *actions[] = {"pressed", "released", "down"};
      text << actions[keyboard->getKeyboardAction()] << " " << keyboard->getKey();
    } else {
      const auto *mouse = static_cast<const cv::EventMouse *>(event);
      const char *actions[] = {"clicked", "pressed", "moved"};
      text << actions[mouse->getMouseAction()] << " " << mouse->getMouseButton() << " " << mouse->getMousePosition().getX()
           << "," << mouse->getMousePosition().getY();
    }
    events.push_back(text.str());
    return 1;
  }

  // One iteration at `ms` with `bytes` read ("" for none); its events.
  std::vector<std::string> at(int ms, const std::string &bytes = "") {
    events.clear();
    input.handleBytes(bytes.empty() ? nullptr : bytes.data(), static_cast<int>(bytes.size()), ms,
                      [this](const cv::Event *event) { return record(event); });
    return events;
  }
};

std::string pressed(int k) { return "pressed " + std::to_string(k); }
std::string released(int k) { return "released " + std::to_string(k); }
std::string down(int k) { return "down " + std::to_string(k); }

TEST(TerminalInput, TappedKeyIsPressedHeldAndReleasedWhenNoRepeatFollows) {
  Recorder r;
  const int D = Keyboard::D;
  EXPECT_EQ(r.at(0, "d"), (std::vector<std::string>{pressed(D), down(D)}));
  EXPECT_EQ(r.at(33), std::vector<std::string>{down(D)});
  EXPECT_EQ(r.at(cv::TerminalInput::FIRST_REPEAT_WAIT_MS), std::vector<std::string>{down(D)});
  EXPECT_EQ(r.at(cv::TerminalInput::FIRST_REPEAT_WAIT_MS + 1), std::vector<std::string>{released(D)});
  EXPECT_EQ(r.at(1000), std::vector<std::string>{});
}

TEST(TerminalInput, RepeatedKeyStaysHeldUntilItsRepeatsStop) {
  Recorder r;
  const int W = Keyboard::W;
  EXPECT_EQ(r.at(0, "w"), (std::vector<std::string>{pressed(W), down(W)}));
  EXPECT_EQ(r.at(500, "w"), std::vector<std::string>{down(W)});  // the first repeat, after the terminal's delay
  int now = 500;
  for (; now < 1500; now += 33)
    EXPECT_EQ(r.at(now, "w"), std::vector<std::string>{down(W)}) << now;
  EXPECT_EQ(r.at(now + cv::TerminalInput::REPEAT_GAP_MS - 33), std::vector<std::string>{down(W)});
  EXPECT_EQ(r.at(now + cv::TerminalInput::REPEAT_GAP_MS), std::vector<std::string>{released(W)});
  // Pressed again later: a new press.
  EXPECT_EQ(r.at(3000, "w"), (std::vector<std::string>{pressed(W), down(W)}));
}

TEST(TerminalInput, KeysWithoutHeldStateAndSeveralKeys) {
  Recorder r;
  // F11 is pressed and released but, as from the window, never reported held.
  EXPECT_EQ(r.at(0, "\x1b[23~a"), (std::vector<std::string>{pressed(Keyboard::F11), pressed(Keyboard::A), down(Keyboard::A)}));
  EXPECT_EQ(r.at(1000), (std::vector<std::string>{released(Keyboard::F11), released(Keyboard::A)}));
}

TEST(TerminalInput, ReportedReleasesReplaceTheRepeatTimeout) {
  Recorder r;
  const int D = Keyboard::D;
  EXPECT_EQ(r.at(0, "\x1b[?0u\x1b[?62c"), std::vector<std::string>{});
  EXPECT_TRUE(r.input.hasReleases());
  EXPECT_EQ(r.sent, "\x1b[>11u");  // asked for presses, repeats and releases
  EXPECT_EQ(r.at(10, "\x1b[100u"), (std::vector<std::string>{pressed(D), down(D)}));
  EXPECT_EQ(r.at(5000), std::vector<std::string>{down(D)});  // no repeats needed to stay held
  EXPECT_EQ(r.at(5033, "\x1b[100;1:2u"), std::vector<std::string>{down(D)});
  EXPECT_EQ(r.at(5066, "\x1b[100;1:3u"), std::vector<std::string>{released(D)});
}

TEST(TerminalInput, MouseMovesClicksAndHeldButtonsInCells) {
  Recorder r;
  EXPECT_EQ(r.at(0, "\x1b[<35;11;23M"), std::vector<std::string>{"moved -1 10,22"});
  EXPECT_EQ(r.at(33, "\x1b[<0;12;23M"), (std::vector<std::string>{"clicked 0 11,22", "pressed 0 11,22"}));
  EXPECT_EQ(r.at(66, "\x1b[<2;12;23M"), (std::vector<std::string>{"clicked 1 11,22", "pressed 0 11,22", "pressed 1 11,22"}));
  EXPECT_EQ(r.at(99, "\x1b[<0;12;23m\x1b[<2;12;23m"), std::vector<std::string>{});
}

}  // namespace
