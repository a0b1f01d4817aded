// The value forms of serialized objects, on their own: what is written and
// what reads back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Corvane.h"

using cv::Vector;

TEST(ValueForm, FloatsUseSixDigitsUnlessTheyLoseTheValue) {
  struct Case {
    float value;
    const char *text;
  };
  const Case cases[] = {
      {12.0f, "12"},         {-0.5f, "-0.5"},        {1e6f, "1e+06"},   {0.99f, "0.99"},
      {0.1f, "0.1"},         {80.0f * 5 / 6, "66.666664"}, {0.6f, "0.6"}, {16777217.0f, "16777216"},
      {1.0f / 3, "0.33333334"}, {-1234567.0f, "-1234567"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(cv::floatForm(c.value), c.text);
    float read = 0;
    ASSERT_TRUE(cv::readFloat(cv::floatForm(c.value), read));
    EXPECT_EQ(read, c.value);
  }
}

TEST(ValueForm, NumbersThatAreNotWholeNumbersAreRefused) {
  struct Case {
    const char *text;
    bool is_int;
    bool is_float;
  };
  const Case cases[] = {
      {"12", true, true},           {"-7", true, true},        {"1.5", false, true},    {"1e+06", false, true},
      {"abc", false, false},        {"12x", false, false},     {"", false, false},      {"99999999999", false, true},
      {"1e50", false, false},       {"nan", false, false},     {"inf", false, false},   {"--1", false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    int i = 42;
    float f = 42;
    EXPECT_EQ(cv::readInt(c.text, i), c.is_int);
    EXPECT_EQ(cv::readFloat(c.text, f), c.is_float);
    if (!c.is_int) {
      EXPECT_EQ(i, 42);  // untouched on refusal
    }
    if (!c.is_float) {
      EXPECT_EQ(f, 42);
    }
  }
}

TEST(ValueForm, TextsSurviveTheAttributeParser) {
  const std::string texts[] = {"Points", "RFL POWER", "a,b:c", "100%", "%41 stays", "tab\there\nand line"};
  for (const std::string &text : texts) {
    SCOPED_TRACE(text);
    const std::string written = "t:" + cv::textForm(text) + ",";
    EXPECT_EQ(cv::readText(cv::match(written, "t")), text);
  }
  EXPECT_EQ(cv::textForm("Points"), "Points");  // plain texts are written as stored
  EXPECT_EQ(cv::readText("%zz%4"), "%zz%4");    // no valid escape: as it is
  EXPECT_TRUE(cv::readBool("true"));
  EXPECT_FALSE(cv::readBool("TRUE"));
}

TEST(ValueForm, PathNodesSurviveTheParserAndMalformedOnesStopTheReading) {
  const cv::Path path({Vector(10, 5), Vector(11.25f, -6)});
  EXPECT_EQ(cv::pathForm(path), "10;5|11.25;-6|");
  EXPECT_EQ(cv::pathForm(cv::Path()), "");

  std::vector<Vector> nodes;
  std::string malformed;
  ASSERT_EQ(cv::readPath(cv::match("path:" + cv::pathForm(path) + ",", "path"), nodes, malformed), 0);
  EXPECT_EQ(nodes, path.getNodes());

  struct Case {
    const char *text;
    std::vector<Vector> nodes;
    const char *malformed;
  };
  const Case cases[] = {
      {"1;2|junk|3;4|", {Vector(1, 2)}, "junk|3;4|"},
      {"12|", {}, "12|"},  // a blank between x and y is gone after the parser
      {"1;x|", {}, "1;x|"},
      {"1;2|3;4", {Vector(1, 2)}, ""},  // text after the last "|" is no node
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    nodes.clear();
    malformed.clear();
    EXPECT_EQ(cv::readPath(c.text, nodes, malformed), c.malformed[0] ? -1 : 0);
    EXPECT_EQ(nodes, c.nodes);
    EXPECT_EQ(malformed, c.malformed);
  }
}
