#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <sstream>

#include "Corvane.h"
#include "support/TestEngine.h"

// Counts the bytes requested from the global allocator while `counting` is
// on, to show how much a parse allocates. Every form of new and delete is
// replaced so that allocation and release always pair up.
namespace {
bool counting = false;            ///< count allocations now
std::size_t counted_bytes = 0;    ///< bytes requested while counting

void *allocate(std::size_t size) {
  if (counting)
    counted_bytes += size;
  if (void *memory = std::malloc(size ? size : 1))
    return memory;
  throw std::bad_alloc();
}
}  // namespace

void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}
void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept { return operator new(size, tag); }
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete[](void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void *memory, const std::nothrow_t &) noexcept { std::free(memory); }
void operator delete[](void *memory, const std::nothrow_t &) noexcept { std::free(memory); }

namespace {

struct Traced {
  std::string result;                 ///< what match returned
  std::vector<std::string> messages;  ///< what it logged, without prefixes
};

// Calls match with every trace line on; before the log starts they go to
// standard error, where they are captured.
Traced tracedMatch(const std::string &text, const std::string &key) {
  cv::LogManager::getInstance().setLogLevel(28);
  testing::internal::CaptureStderr();
  Traced traced;
  traced.result = cv::match(text, key);
  std::istringstream err(testing::internal::GetCapturedStderr());
  for (std::string line; std::getline(err, line);)
    traced.messages.push_back(cvtest::messageOf(line));
  return traced;
}

bool has(const std::vector<std::string> &messages, const std::string &message) {
  return std::find(messages.begin(), messages.end(), message) != messages.end();
}

// Messages with every pointer "(0x...)" (or Windows' "(00...)") written as "(P)".
std::vector<std::string> withoutPointers(const std::vector<std::string> &messages) {
  std::vector<std::string> result;
  for (std::string message : messages) {
    // "%p" is "0x21f390" with glibc, "000000000021F390" on Windows.
    for (size_t at = message.find('('); at != std::string::npos; at = message.find('(', at + 1)) {
      const size_t digits = message.compare(at + 1, 2, "0x") == 0 ? at + 3 : at + 1;
      const size_t end = message.find_first_not_of("0123456789abcdefABCDEF", digits);
      if (end != std::string::npos && end > digits && message[end] == ')')
        message.replace(at, end + 1 - at, "(P)");
    }
    result.push_back(message);
  }
  return result;
}

}  // namespace

TEST(Match, CallsShareOneTableAndOnlyNonEmptyTextParses) {
  struct Call {
    std::string text, key, result;
    int items;      // entries the look-up runs over
    int allocated;  // elements counted by a parse, -1 when the call must not parse
  };
  const Call calls[] = {
      {"", "a", "", 0, -1},            // look-up before any parse
      {"a:1,b:2,", "b", "2", 2, 3},    //
      {"", "a", "1", 2, -1},           // no new parse
      {"a:1,a:2", "a", "1", 2, 2},     // first entry wins
      {"flag,", "flag", "", 1, 2},     // a key without value
      {"", "flag", "", 1, -1},         //
      {"", "a", "", 1, -1},            // the earlier table is gone
      {"a:1,::,b:2", "b", "", 1, 3},   // parsing stops at the element of colons
      {"a:1,,b:2", "b", "2", 2, 3},    // the empty element is skipped
  };
  for (const Call &call : calls) {
    SCOPED_TRACE("match(\"" + call.text + "\", \"" + call.key + "\")");
    const Traced traced = tracedMatch(call.text, call.key);
    EXPECT_EQ(traced.result, call.result);
    EXPECT_TRUE(has(traced.messages, "match(): Looking for match '" + call.key + "' among " +
                                         std::to_string(call.items) + " items."));
    const bool parsed = has(traced.messages, "match(): parsed.");
    EXPECT_EQ(parsed, call.allocated >= 0);
    if (call.allocated >= 0) {
      EXPECT_TRUE(has(traced.messages, "match(): number of elements allocated is " + std::to_string(call.allocated)));
    }
  }
}

TEST(Match, ElementShapes) {
  struct Case {
    std::string text, key, result;
  };
  const Case cases[] = {
      {" x : 1 0 ,", "x", "10"},                  // whitespace inside a value goes
      {"   \n", "x", ""},                         // whitespace only: parses to an empty table
      {"\tk\ne y\v:\fv\ra l,", "key", "val"},     // every kind of whitespace, in keys too
      {":a:b,", "a", "b"},                        // leading colons skipped
      {"::a:b,", "a", "b"},                       //
      {"a:b:c,", "a", "b"},                       // tokens after the second dropped
      {"k:,", "k", ""},                           //
      {",,,k:v,,,", "k", "v"},                    // empty elements skipped
      {"K:upper,k:lower,", "k", "lower"},         // keys compare case by case
      {std::string("n\0l:1,m:v\0w,", 12), std::string("n\0l", 3), "1"},  // null bytes are ordinary bytes
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(cv::match(c.text, c.key), c.result);
  }
  EXPECT_EQ(cv::match("", "m"), std::string("v\0w", 3));
}

TEST(Match, TraceLines) {
  const Traced traced = tracedMatch("k: v,x,", "x");
  EXPECT_EQ(traced.result, "");
  EXPECT_EQ(withoutPointers(traced.messages),
            (std::vector<std::string>{"match(\"k: v,x,\", \"x\")",
                                      "match(): number of elements allocated is 3",
                                      "\titem number 0",
                                      "\tp_element is 'k:v' (P)",
                                      "\ttoken is 'k' (P)",
                                      "\tkey k",
                                      "\tval v",
                                      "\titem number 1",
                                      "\tp_element is 'x' (P)",
                                      "\ttoken is 'x' (P)",
                                      "\tkey x",
                                      "\tval ",
                                      "match(): parsed.",
                                      "\t0  k : v",
                                      "\t1  x : ",
                                      "match(): Looking for match 'x' among 2 items.",
                                      "match(): 0: k == x?",
                                      "match(): 1: x == x?"}));

  // The element of colons has no token: the walk ends there.
  const std::vector<std::string> stopped = withoutPointers(tracedMatch("a:1,::,b:2", "b").messages);
  const auto at = std::find(stopped.begin(), stopped.end(), "\tp_element is '::' (P)");
  ASSERT_NE(at, stopped.end());
  ASSERT_NE(at + 1, stopped.end());
  EXPECT_EQ(*(at + 1), "match(): parsed.");

  // At level 25 the level-28 lines are left out.
  cv::LogManager::getInstance().setLogLevel(25);
  testing::internal::CaptureStderr();
  cv::match("", "a");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("match(): Looking for match 'a' among 1 items.\n"), std::string::npos) << err;
  EXPECT_EQ(err.find("=="), std::string::npos) << err;
}

TEST(Match, LargeTextsParseInMemoryProportionalToThem) {
  // A million commas hold no element: the parse must not make room for a
  // million entries.
  const std::string commas = std::string(1000000, ',') + "k:v,";
  counted_bytes = 0;
  counting = true;
  const std::string result = cv::match(commas, "k");  // a copy of the text, and little more
  counting = false;
  EXPECT_EQ(result, "v");
  EXPECT_LT(counted_bytes, 2 * commas.size());

  // A megabyte value and a hundred thousand keys.
  const std::string big(1 << 20, 'b');
  std::string many;
  for (int i = 0; i < 100000; i++)
    many += "key" + std::to_string(i) + ":" + std::to_string(i) + ",";
  EXPECT_EQ(cv::match(many + "big:" + big + ",key7:late,", "key99999"), "99999");
  EXPECT_EQ(cv::match("", "big"), big);
  EXPECT_EQ(cv::match("", "key7"), "7");
}
