#include "FuzzEngine.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "Corvane.h"
#include "support/TestEngine.h"

namespace cvfuzz {

void startEngine(const std::string &config_text) {
  static bool started = false;
  if (started)
    return;
  started = true;
  const std::string dir = cvtest::makeTempDirectory();
  cvtest::writeFile(dir + "/cv-config.txt", config_text);
  setenv("CORVANE_CONFIG", (dir + "/cv-config.txt").c_str(), 1);
  const char *log = std::getenv("CORVANE_FUZZ_LOG");
  setenv("CORVANE_LOG", log && *log ? log : "/dev/null", 1);
  setenv("ALSOFT_DRIVERS", "null", 0);
  if (cv::GameManager::getInstance().startUp() != 0) {
    std::fprintf(stderr, "fuzz: the engine did not start\n");
    std::abort();
  }
}

std::string writeInput(const std::uint8_t *data, std::size_t size, const std::string &suffix) {
  static const std::string dir = cvtest::makeTempDirectory();
  const std::string path = dir + "/input" + suffix;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  return path;
}

void fail(const char *what, const std::string &detail) {
  std::fprintf(stderr, "fuzz oracle: %s\n%s\n", what, detail.c_str());
  std::abort();
}

}  // namespace cvfuzz
