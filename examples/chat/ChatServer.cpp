#include "ChatServer.h"

#include <cstdio>

#include "message.h"

ChatServer::ChatServer() {
  setType("ChatServer");
  setSolidness(cv::SPECTRAL);
  registerInterest(cv::NETWORK_EVENT);
}

int ChatServer::eventHandler(const cv::Event *event) {
  if (event->getType() != cv::NETWORK_EVENT)
    return 0;
  const auto *network = static_cast<const cv::EventNetwork *>(event);
  switch (network->getLabel()) {
    case cv::NETWORK_ACCEPT:
      std::printf("client %d connected\n", network->getSocketIndex());
      break;
    case cv::NETWORK_DATA: {
      const std::string text = receiveMessage(network->getSocketIndex(), network->getBytes());
      received++;
      std::printf("client: %s\n", text.c_str());
      sendMessage(network->getSocketIndex(), "got: " + text);
      break;
    }
    case cv::NETWORK_CLOSE:
      std::printf("client %d left\n", network->getSocketIndex());
      cv::GameManager::getInstance().setGameOver();
      break;
    default:
      break;
  }
  std::fflush(stdout);
  return 1;
}

int ChatServer::getReceived() const {
  return received;
}
