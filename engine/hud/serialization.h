#pragma once
// The value forms of serialized objects: how integers, floats, booleans,
// texts and paths are written into an attribute string and read back, and
// which attribute groups a selection picks.

#include <string>
#include <vector>

#include "foundation/Vector.h"

namespace cv {

class Path;

/// Whether a selection picks the group `group_name`: `attr` is "ALL"; or
/// `attr` is empty and `modified` is raised; or `attr` holds the group's
/// name followed by "," anywhere (so "FOLLOW_PATH," also picks PATH).
bool selectsGroup(const std::string &attr, const char *group_name, bool modified);

/// Appends `key`, ":", `value` and "," to `out`.
void appendAttribute(std::string &out, const std::string &key, const std::string &value);

/// Decimal digits, "-" for negatives.
std::string intForm(int value);
/// Six significant digits without trailing zeros (12, -0.5, 1e+06) when
/// that reads back as the same float, otherwise the fewest digits that do.
std::string floatForm(float value);
/// "true" or "false".
std::string boolForm(bool value);
/// The text as stored, except that the characters the attribute format
/// cannot carry (",", ":", whitespace) and "%" itself are written as "%"
/// and two hexadecimal digits, so that every text reads back unchanged.
std::string textForm(const std::string &text);
/// Each node as x, ";", y and "|", first node first: 10;5|11;6| for a
/// path through (10, 5) and (11, 6).
std::string pathForm(const Path &path);

/// Reads a whole decimal integer. False (and `value` untouched) for
/// anything else, including numbers outside the int range.
bool readInt(const std::string &text, int &value);
/// Reads a whole finite float. False (and `value` untouched) for anything
/// else: junk, trailing characters, infinities, NaN, numbers out of range.
bool readFloat(const std::string &text, float &value);
/// Exactly "true" is true; any other text is false.
bool readBool(const std::string &text);
/// Undoes textForm: "%" and two hexadecimal digits become that character.
std::string readText(const std::string &text);

/// Reads path nodes written by pathForm into `nodes`, in order, until no
/// "|" is left. Returns 0, or -1 at the first malformed node (no ";", or a
/// coordinate that is not a float), with `malformed` set to the unread
/// rest; the nodes before it are kept.
int readPath(const std::string &text, std::vector<Vector> &nodes, std::string &malformed);

/// Looks `key` up in the attribute string parsed last (match) and reads it
/// as an integer. False when the key is absent or empty; also false, after
/// a warning naming `reader`, when its value is not an integer.
bool lookUpInt(const char *reader, const char *key, int &value);
/// As lookUpInt, for a finite float.
bool lookUpFloat(const char *reader, const char *key, float &value);

}  // namespace cv
