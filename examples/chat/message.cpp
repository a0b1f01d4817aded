#include "message.h"

#include <vector>

#include "Corvane.h"

std::string frameMessage(const std::string &text) {
  const unsigned long length = text.size() + 4;
  std::string framed;
  for (int i = 0; i < 4; i++)
    framed.push_back(static_cast<char>((length >> (8 * i)) & 0xff));
  return framed + text;
}

std::string receiveMessage(int sock_index, int bytes) {
  std::vector<char> buffer(static_cast<std::size_t>(bytes));
  const int got = cv::NetworkManager::getInstance().receive(sock_index, buffer.data(), bytes);
  if (got < 4)
    return "";
  return std::string(buffer.data() + 4, static_cast<std::size_t>(got - 4));
}

int sendMessage(int sock_index, const std::string &text) {
  const std::string framed = frameMessage(text);
  const int size = static_cast<int>(framed.size());
  return cv::NetworkManager::getInstance().send(sock_index, framed.data(), size) == size ? 0 : -1;
}
