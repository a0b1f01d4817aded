#pragma once
// UTF-8 text and the characters a cell can hold: every cell holds one
// Unicode code point that takes exactly one column.

#include <cstddef>
#include <string>

namespace cv {

/// What decodeUtf8 gives for a byte that does not start a valid UTF-8
/// character: a stray continuation byte, an overlong form, a surrogate, a
/// value past U+10FFFF, or a sequence cut short.
const char32_t NOT_UTF8 = 0xFFFFFFFF;

/// The character drawn in place of one that cannot fill a cell.
const char32_t STAND_IN = U'?';

/// Decodes the UTF-8 character that starts at `text[at]` (with `size` bytes
/// in `text`) and moves `at` past it. A malformed character gives NOT_UTF8
/// and moves `at` by one byte only, so that every bad byte counts once and
/// nothing past `size` is read.
char32_t decodeUtf8(const char *text, std::size_t size, std::size_t &at);

/// decodeUtf8 on a string.
char32_t decodeUtf8(const std::string &text, std::size_t &at);

/// The characters of UTF-8 `text`, each malformed byte as NOT_UTF8.
std::u32string decodeUtf8(const std::string &text);

/// The number of characters in UTF-8 `text`, each malformed byte counted as one.
std::size_t countCharacters(const std::string &text);

/// Appends the UTF-8 form of the code point `ch` to `out` (STAND_IN for a
/// value that is no code point).
void appendUtf8(std::string &out, char32_t ch);

/// The UTF-8 form of the code point `ch`.
std::string utf8Of(char32_t ch);

/// Whether `ch` fills exactly one cell: a printable character that is
/// neither wide in a terminal (East Asian wide and fullwidth forms, most
/// emoji) nor a combining or zero-width mark, nor a control. Every
/// printable ASCII character is.
bool isSingleWidth(char32_t ch);

/// `ch` as the log names it: "U+2550 '═'" ("U+0007" alone for a control).
std::string describeCharacter(char32_t ch);

}  // namespace cv
