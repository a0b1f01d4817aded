#include "support/TestEngine.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "Corvane.h"

namespace cvtest {

std::string makeTempDirectory() {
  const char *base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/corvane-test-XXXXXX";
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("cannot make a temporary directory");
  return pattern;
}

void writeFile(const std::string &path, const std::string &text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
}

TestEngine::TestEngine(const std::string &config_text) : dir(makeTempDirectory()) {
  writeFile(dir + "/cv-config.txt", config_text);
  setenv("CORVANE_CONFIG", (dir + "/cv-config.txt").c_str(), 1);
  setenv("CORVANE_LOG", logPath().c_str(), 1);
}

int TestEngine::start() {
  cv::LogManager::getInstance().setFlush(true);
  return cv::GameManager::getInstance().startUp();
}

void TestEngine::stop() { cv::GameManager::getInstance().shutDown(); }

const std::string &TestEngine::directory() const { return dir; }

std::string TestEngine::logPath() const { return dir + "/corvane.log"; }

std::vector<std::string> TestEngine::lines() const {
  std::vector<std::string> result;
  std::ifstream file(logPath());
  for (std::string line; std::getline(file, line);)
    result.push_back(line);
  return result;
}

std::string messageOf(const std::string &line) {
  // "HH:MM:SS " then the step count right-aligned in four columns and one blank.
  size_t at = line.find(' ');
  if (at == std::string::npos)
    return line;
  at++;
  while (at < line.size() && line[at] == ' ')
    at++;
  while (at < line.size() && (std::isdigit(static_cast<unsigned char>(line[at])) || line[at] == '-'))
    at++;
  return at < line.size() ? line.substr(at + 1) : "";
}

std::vector<std::string> TestEngine::messages() const {
  std::vector<std::string> result;
  for (const std::string &line : lines())
    result.push_back(messageOf(line));
  return result;
}

bool TestEngine::logged(const std::string &message) const {
  const std::vector<std::string> all = messages();
  return std::find(all.begin(), all.end(), message) != all.end();
}

std::vector<std::string> TestEngine::messagesFrom(const std::string &first) const {
  const std::vector<std::string> all = messages();
  const auto start = std::find(all.begin(), all.end(), first);
  return std::vector<std::string>(start, all.end());
}

}  // namespace cvtest
