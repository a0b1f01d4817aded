#include "ChatClient.h"

#include <cstdio>

#include "message.h"

ChatClient::ChatClient(int new_sock_index, std::vector<std::string> new_lines)
    : sock_index(new_sock_index), lines(std::move(new_lines)) {
  setType("ChatClient");
  setSolidness(cv::SPECTRAL);
  registerInterest(cv::NETWORK_EVENT);
  sendNext();
}

int ChatClient::eventHandler(const cv::Event *event) {
  if (event->getType() != cv::NETWORK_EVENT)
    return 0;
  const auto *network = static_cast<const cv::EventNetwork *>(event);
  if (network->getLabel() == cv::NETWORK_DATA) {
    const std::string text = receiveMessage(network->getSocketIndex(), network->getBytes());
    answers++;
    std::printf("server: %s\n", text.c_str());
    std::fflush(stdout);
    sendNext();
  } else if (network->getLabel() == cv::NETWORK_CLOSE) {
    cv::GameManager::getInstance().setGameOver();
  }
  return 1;
}

void ChatClient::sendNext() {
  if (next_line < lines.size() && sendMessage(sock_index, lines[next_line]) == 0) {
    next_line++;
    return;
  }
  // Nothing left to say, or the connection failed: leave.
  cv::NetworkManager::getInstance().close(sock_index);
  cv::GameManager::getInstance().setGameOver();
}

int ChatClient::getAnswers() const {
  return answers;
}
