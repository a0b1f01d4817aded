#include "hud/match.h"

#include <algorithm>
#include <new>
#include <vector>

#include "foundation/LogManager.h"

namespace cv {

namespace {

/// The kept table: keys and values of the last parse, in element order.
struct AttributeTable {
  std::vector<std::string> keys;
  std::vector<std::string> values;
};

AttributeTable &keptTable() {
  static AttributeTable table;
  return table;
}

bool isWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/// Splits `text` at `separator`, skipping empty tokens (as strtok does).
std::vector<std::string> tokens(const std::string &text, char separator) {
  std::vector<std::string> result;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos)
      end = text.size();
    if (end > start)
      result.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

/// Replaces the kept table with the elements of `text`.
void parse(std::string text) {
  const LogManager &log_manager = LogManager::getInstance();
  text.erase(std::remove_if(text.begin(), text.end(), isWhitespace), text.end());

  AttributeTable &table = keptTable();
  table.keys.clear();
  table.values.clear();
  table.keys.shrink_to_fit();
  table.values.shrink_to_fit();

  const long elements = std::count(text.begin(), text.end(), ',') + 1;
  log_manager.writeLog(25, "match(): number of elements allocated is %ld", elements);

  int item = 0;
  for (const std::string &element : tokens(text, ',')) {
    log_manager.writeLog(25, "\titem number %d", item);
    log_manager.writeLog(28, "\tp_element is '%s' (%p)", element.c_str(), static_cast<const void *>(&element));
    const std::vector<std::string> parts = tokens(element, ':');
    if (parts.empty())
      break;  // an element of colons only ends the parse
    log_manager.writeLog(28, "\ttoken is '%s' (%p)", parts[0].c_str(), static_cast<const void *>(&parts[0]));
    const std::string value = parts.size() > 1 ? parts[1] : "";
    log_manager.writeLog(25, "\tkey %s", parts[0].c_str());
    log_manager.writeLog(25, "\tval %s", value.c_str());
    table.keys.push_back(parts[0]);
    table.values.push_back(value);
    item++;
  }

  log_manager.writeLog(25, "match(): parsed.");
  for (size_t i = 0; i < table.keys.size(); i++)
    log_manager.writeLog(28, "\t%zu  %s : %s", i, table.keys[i].c_str(), table.values[i].c_str());
}

}  // namespace

std::string match(std::string text, std::string key) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(25, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
  if (!text.empty()) {
    try {
      parse(std::move(text));
    } catch (const std::bad_alloc &) {
      keptTable() = AttributeTable();
      log_manager.writeLog("match(): unable to allocate key array!");
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
