#include "hud/match.h"

#include <algorithm>
#include <climits>
#include <new>
#include <string_view>
#include <vector>

#include "foundation/LogManager.h"

namespace cv {

namespace {

/// The kept table: keys and values of the last parse, in element order.
struct AttributeTable {
  std::vector<std::string> keys;    ///< the keys, in the order of the elements
  std::vector<std::string> values;  ///< the value of each key ("" when none)
};

AttributeTable &keptTable() {
  static AttributeTable table;
  return table;
}

bool isWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/// Length of `text` as a printf precision ("%.*s"), for texts not ending in a null.
int printLength(std::string_view text) { return static_cast<int>(std::min<size_t>(text.size(), INT_MAX)); }

/// Number of non-empty ","-separated elements of `text`: the most entries a
/// parse can keep. Empty elements take no room, so a text of commas only
/// reserves nothing.
size_t countElements(std::string_view text) {
  size_t count = 0;
  std::string_view token;
  while (nextAttributeToken(text, ',', token))
    count++;
  return count;
}

/// Empties the kept table, releasing both arrays, and logs `message`.
void dropTable(const char *message) {
  keptTable() = AttributeTable();
  LogManager::getInstance().writeLog("%s", message);
}

/// Makes room for `count` entries; on failure logs which array could not be
/// made and leaves the table empty. 0 on success, -1 on failure.
int reserveTable(size_t count) {
  AttributeTable &table = keptTable();
  try {
    table.keys.reserve(count);
  } catch (const std::bad_alloc &) {
    dropTable("match(): unable to allocate key array!");
    return -1;
  }
  try {
    table.values.reserve(count);
  } catch (const std::bad_alloc &) {
    dropTable("match(): unable to allocate val array!");
    return -1;
  }
  return 0;
}

/// Adds one entry for `element` (a key, optionally ":" and a value, further
/// ":" tokens dropped). False when the element is made of colons only, which
/// ends the parse.
bool addEntry(std::string_view element, int item) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "\titem number %d", item);
  log_manager.writeLog(28, "\tp_element is '%.*s' (%p)", printLength(element), element.data(),
                       static_cast<const void *>(element.data()));
  std::string_view key;
  if (!nextAttributeToken(element, ':', key))
    return false;
  log_manager.writeLog(28, "\ttoken is '%.*s' (%p)", printLength(key), key.data(),
                       static_cast<const void *>(key.data()));
  std::string_view value;
  if (!nextAttributeToken(element, ':', value))
    value = std::string_view();

  AttributeTable &table = keptTable();
  table.keys.emplace_back(key);  // room was reserved for every element
  log_manager.writeLog(25, "\tkey %s", table.keys.back().c_str());
  table.values.emplace_back(value);
  log_manager.writeLog(25, "\tval %s", table.values.back().c_str());
  return true;
}

/// Replaces the kept table with the elements of `text` (changed in place:
/// its whitespace is removed). 0 on success, -1 if memory ran out.
int parse(std::string &text) {
  const LogManager &log_manager = LogManager::getInstance();
  removeAttributeWhitespace(text);
  keptTable() = AttributeTable();

  const long elements = std::count(text.begin(), text.end(), ',') + 1L;
  log_manager.writeLog(25, "match(): number of elements allocated is %ld", elements);
  if (reserveTable(countElements(text)) == -1)
    return -1;

  std::string_view rest(text);
  std::string_view element;
  int item = 0;
  while (nextAttributeToken(rest, ',', element) && addEntry(element, item))
    item++;

  const AttributeTable &table = keptTable();
  log_manager.writeLog(25, "match(): parsed.");
  for (size_t i = 0; i < table.keys.size(); i++)
    log_manager.writeLog(28, "\t%zu  %s : %s", i, table.keys[i].c_str(), table.values[i].c_str());
  return 0;
}

}  // namespace

void removeAttributeWhitespace(std::string &text) {
  text.erase(std::remove_if(text.begin(), text.end(), isWhitespace), text.end());
}

bool nextAttributeToken(std::string_view &rest, char separator, std::string_view &token) {
  const size_t start = rest.find_first_not_of(separator);
  if (start == std::string_view::npos) {
    rest = std::string_view();
    return false;
  }
  const size_t end = rest.find(separator, start);
  token = rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return true;
}

std::string match(std::string text, std::string key) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
  if (!text.empty()) {
    try {
      if (parse(text) == -1)
        return "";
    } catch (const std::bad_alloc &) {
      // A key or value could not be copied into the table.
      dropTable("match(): unable to allocate key array!");
      return "";
    }
  }

  const AttributeTable &table = keptTable();
  log_manager.writeLog(25, "match(): Looking for match '%s' among %zu items.", key.c_str(), table.keys.size());
  for (size_t i = 0; i < table.keys.size(); i++) {
    log_manager.writeLog(28, "match(): %zu: %s == %s?", i, table.keys[i].c_str(), key.c_str());
    if (table.keys[i] == key)
      return table.values[i];
  }
  return "";
}

}  // namespace cv
