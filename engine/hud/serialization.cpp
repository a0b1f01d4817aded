#include "hud/serialization.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "foundation/LogManager.h"
#include "hud/match.h"
#include "path/Path.h"

namespace cv {

namespace {

// Separates x from y inside a path node. It survives the attribute parser
// (which drops whitespace and splits at "," and ":") and is no part of a number.
const char NODE_SEPARATOR = ';';
// Ends each path node.
const char NODE_END = '|';
// Starts an escaped character in a text.
const char ESCAPE = '%';

// Characters a text cannot carry through an attribute string as they are.
bool needsEscape(char c) {
  return c == ',' || c == ':' || c == ESCAPE || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

// Value of one hexadecimal digit, or -1.
int hexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// `value` in general notation with `digits` significant digits, as the
// standard streams write it.
std::string generalForm(float value, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
  return buffer;
}

}  // namespace

bool selectsGroup(const std::string &attr, const char *group_name, bool modified) {
  if (attr == "ALL")
    return true;
  if (attr.empty())
    return modified;
  return attr.find(std::string(group_name) + ",") != std::string::npos;
}

void appendAttribute(std::string &out, const std::string &key, const std::string &value) {
  out += key;
  out += ':';
  out += value;
  out += ',';
}

std::string intForm(int value) { return std::to_string(value); }

std::string floatForm(float value) {
  // Six digits is the form readers expect; more only where six lose the value.
  // Nine significant digits always bring a float back.
  for (int digits = 6; digits < 9; digits++) {
    const std::string text = generalForm(value, digits);
    float read_back = 0;
    if (readFloat(text, read_back) && read_back == value)
      return text;
  }
  return generalForm(value, 9);
}

std::string boolForm(bool value) { return value ? "true" : "false"; }

std::string textForm(const std::string &text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!needsEscape(c)) {
      out += c;
      continue;
    }
    const unsigned char byte = static_cast<unsigned char>(c);
    out += ESCAPE;
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
  }
  return out;
}

std::string pathForm(const Path &path) {
  std::string out;
  for (const Vector &node : path.getNodes()) {
    out += floatForm(node.getX());
    out += NODE_SEPARATOR;
    out += floatForm(node.getY());
    out += NODE_END;
  }
  return out;
}

bool readInt(const std::string &text, int &value) {
  int read = 0;
  const char *end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, read);
  if (result.ec != std::errc() || result.ptr != end)
    return false;
  value = read;
  return true;
}

#if !defined(__cpp_lib_to_chars)
namespace {

// Whether `text` is a decimal number as from_chars reads one: an optional
// minus, digits with at most one point between or around them, and an
// optional exponent. The C library then reads it (with the "C" locale's
// point), where the standard library has no from_chars for floats.
bool isDecimalNumber(const std::string &text) {
  std::size_t at = text[0] == '-' ? 1 : 0;
  std::size_t digits = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
    at++, digits++;
  if (at < text.size() && text[at] == '.')
    for (at++; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); at++)
      digits++;
  if (digits == 0)
    return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    at++;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
      at++;
    const std::size_t exponent_start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
      at++;
    if (at == exponent_start)
      return false;
  }
  return at == text.size();
}

}  // namespace
#endif

bool readFloat(const std::string &text, float &value) {
  float read = 0;
#if defined(__cpp_lib_to_chars)
  const char *end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, read);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(read))
    return false;
#else
  if (text.empty() || !isDecimalNumber(text))
    return false;
  read = std::strtof(text.c_str(), nullptr);
  if (!std::isfinite(read))
    return false;
#endif
  value = read;
  return true;
}

bool readBool(const std::string &text) { return text == "true"; }

std::string readText(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); i++) {
    if (text[i] == ESCAPE && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

int readPath(const std::string &text, std::vector<Vector> &nodes, std::string &malformed) {
  std::size_t start = 0;
  std::size_t end = text.find(NODE_END, start);
  while (end != std::string::npos) {
    const std::string node = text.substr(start, end - start);
    const std::size_t separator = node.find(NODE_SEPARATOR);
    float x = 0;
    float y = 0;
    if (separator == std::string::npos || !readFloat(node.substr(0, separator), x) ||
        !readFloat(node.substr(separator + 1), y)) {
      malformed = text.substr(start);
      return -1;
    }
    nodes.emplace_back(x, y);
    start = end + 1;
    end = text.find(NODE_END, start);
  }
  return 0;
}

bool lookUpInt(const char *reader, const char *key, int &value) {
  const std::string text = match("", key);
  if (text.empty())
    return false;
  if (readInt(text, value))
    return true;
  LogManager::getInstance().writeLog("%s: Warning! %s '%s' is not an integer. Ignored.", reader, key, text.c_str());
  return false;
}

bool lookUpFloat(const char *reader, const char *key, float &value) {
  const std::string text = match("", key);
  if (text.empty())
    return false;
  if (readFloat(text, value))
    return true;
  LogManager::getInstance().writeLog("%s: Warning! %s '%s' is not a finite number. Ignored.", reader, key,
                                     text.c_str());
  return false;
}

}  // namespace cv
