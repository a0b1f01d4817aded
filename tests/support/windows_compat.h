#pragma once
// The few POSIX calls the tests make, for the Windows build of the tests:
// the build includes this before every test source there. The run-time
// library has the environment calls under other names and no mkdtemp.

#ifdef _WIN32

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

inline int setenv(const char *name, const char *value, int overwrite) {
  if (!overwrite && std::getenv(name))
    return 0;
  return _putenv_s(name, value) == 0 ? 0 : -1;
}

// An empty value removes a variable on Windows.
inline int unsetenv(const char *name) { return _putenv_s(name, "") == 0 ? 0 : -1; }

// Replaces the pattern's trailing "XXXXXX" and makes that directory (and its
// missing parents: "/tmp" is a folder on the current drive there).
inline char *mkdtemp(char *pattern) {
  const std::size_t length = std::strlen(pattern);
  if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0)
    return nullptr;
  static std::mt19937 random{std::random_device{}()};
  const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; attempt++) {
    for (std::size_t i = length - 6; i < length; i++)
      pattern[i] = letters[random() % (sizeof(letters) - 1)];
    const std::filesystem::path path(pattern);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (std::filesystem::create_directory(path, error))
      return pattern;
  }
  return nullptr;
}

#endif
