#pragma once
// Attribute strings: "key:value," elements, whitespace carrying no meaning.

#include <string>
#include <string_view>

namespace cv {

/// Parses `text` into the process-wide table of keys and values when it is
/// not empty, then returns the value of the first entry whose key is `key`,
/// or "" when there is none. With an empty `text` only the look-up is made,
/// on the table of the last parse. Not thread-safe: one table for the process.
std::string match(std::string text, std::string key);

/// Removes every whitespace character from `text` (blank, tab, line feed,
/// vertical tab, form feed, carriage return), as match does before it splits.
void removeAttributeWhitespace(std::string &text);

/// Cuts the next token out of `rest` at `separator` as match does: runs of
/// separators are skipped, so no token is empty. False when none is left.
bool nextAttributeToken(std::string_view &rest, char separator, std::string_view &token);

}  // namespace cv
