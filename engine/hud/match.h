#pragma once
// Attribute strings: "key:value," elements, whitespace carrying no meaning.

#include <string>

namespace cv {

/// Parses `text` into the process-wide table of keys and values when it is
/// not empty, then returns the value of the first entry whose key is `key`,
/// or "" when there is none. With an empty `text` only the look-up is made,
/// on the table of the last parse. Not thread-safe: one table for the process.
std::string match(std::string text, std::string key);

}  // namespace cv
