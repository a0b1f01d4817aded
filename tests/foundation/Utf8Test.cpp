// UTF-8 decoding and which characters fill one cell.

#include <gtest/gtest.h>

#include <string>

#include "Corvane.h"

namespace {

// The characters of `bytes`, with the bytes each one took.
std::vector<std::pair<char32_t, std::size_t>> decodeEach(const std::string &bytes) {
  std::vector<std::pair<char32_t, std::size_t>> characters;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t before = at;
    const char32_t ch = cv::decodeUtf8(bytes, at);
    characters.emplace_back(ch, at - before);
  }
  return characters;
}

using Decoded = std::vector<std::pair<char32_t, std::size_t>>;
const char32_t BAD = cv::NOT_UTF8;

}  // namespace

TEST(Utf8, DecodesEveryLengthAndRefusesEachBadByteAlone) {
  struct Case {
    const char *name;
    std::string bytes;
    Decoded expected;
  };
  const Case cases[] = {
      {"ASCII", "a~", {{U'a', 1}, {U'~', 1}}},
      {"two bytes", "\xc3\xa9", {{0xE9, 2}}},
      {"three bytes", "\xe2\x95\x90", {{0x2550, 3}}},
      {"four bytes", "\xf0\x9f\x99\x82", {{0x1F642, 4}}},
      {"largest", "\xf4\x8f\xbf\xbf", {{0x10FFFF, 4}}},
      {"stray continuation", "\x80" "a", {{BAD, 1}, {U'a', 1}}},
      {"overlong slash", "\xc0\xaf", {{BAD, 1}, {BAD, 1}}},
      {"overlong three bytes", "\xe0\x80\xaf", {{BAD, 1}, {BAD, 1}, {BAD, 1}}},
      {"surrogate", "\xed\xa0\x80", {{BAD, 1}, {BAD, 1}, {BAD, 1}}},
      {"past U+10FFFF", "\xf4\x90\x80\x80", {{BAD, 1}, {BAD, 1}, {BAD, 1}, {BAD, 1}}},
      {"no such lead byte", "\xff", {{BAD, 1}}},
      {"cut short at the end", "a\xe2\x95", {{U'a', 1}, {BAD, 1}, {BAD, 1}}},
      {"cut short by ASCII", "\xe2\x95" "b", {{BAD, 1}, {BAD, 1}, {U'b', 1}}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(decodeEach(c.bytes), c.expected) << c.name;
  EXPECT_EQ(cv::countCharacters("\xe2\x95\x94\xe2\x95\x90\xe2\x95\x97"), 3u);
  EXPECT_EQ(cv::countCharacters("x\xff"), 2u);
}

TEST(Utf8, EncodingRoundTripsEveryKindOfCodePoint) {
  for (char32_t ch : {U'a', char32_t{0x7F}, char32_t{0x80}, char32_t{0x7FF}, char32_t{0x800}, char32_t{0xFFFD},
                      char32_t{0x10000}, char32_t{0x10FFFF}}) {
    const std::string bytes = cv::utf8Of(ch);
    std::size_t at = 0;
    EXPECT_EQ(cv::decodeUtf8(bytes, at), ch);
    EXPECT_EQ(at, bytes.size());
  }
  EXPECT_EQ(cv::utf8Of(0xD800), "?");
  EXPECT_EQ(cv::utf8Of(0x110000), "?");
}

TEST(Utf8, OnlyCharactersOfOneColumnFillACell) {
  // Box drawing, blocks, shades, arrows, Latin, Greek, Cyrillic: one column.
  for (char32_t ch : {U' ', U'~', U'é', U'═', U'╔', U'█', U'▓', U'░', U'▀', U'←', U'↑', U'●', U'♥', U'Ω', U'Ж'})
    EXPECT_TRUE(cv::isSingleWidth(ch)) << cv::describeCharacter(ch);
  // Wide in a terminal, combining, zero width, controls, no character.
  for (char32_t ch : {U'漢', U'ア', U'가', U'Ａ', U'🙂', U'🚀', char32_t{0x0301}, char32_t{0x20D7}, char32_t{0x200B},
                      char32_t{0xFE0F}, char32_t{0x0007}, char32_t{0x7F}, char32_t{0x85}, char32_t{0xFFFF},
                      cv::NOT_UTF8})
    EXPECT_FALSE(cv::isSingleWidth(ch)) << cv::describeCharacter(ch);
  EXPECT_EQ(cv::describeCharacter(U'═'), "U+2550 '═'");
  EXPECT_EQ(cv::describeCharacter(0x0007), "U+0007");
}
