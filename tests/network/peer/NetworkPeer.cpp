// A second engine for the two-process test: connects to the server at
// 127.0.0.1:<port>, sends "ping <n>" for n from 0 to <count> - 1, one a step,
// and expects "pong <n>" back for each, in order.
// Exits 0 when every reply came, 1 on a wrong reply, 2 when it cannot connect
// or the replies stop coming.

#include <cstdlib>
#include <string>

#include "Corvane.h"
#include "network/NetworkSupport.h"
#include "support/TestEngine.h"

namespace {

const int MOST_STEPS = 3000;  // about 15 seconds at 5 ms a step

class Pinger : public cv::Object {
 public:
  Pinger(int connection, int count) : connection(connection), count(count) {
    registerInterest(cv::STEP_EVENT);
    registerInterest(cv::NETWORK_EVENT);
  }

  int result = 2;  ///< the exit status so far

  int eventHandler(const cv::Event *event) override {
    cv::NetworkManager &network = cv::NetworkManager::getInstance();
    if (event->getType() == cv::STEP_EVENT) {
      if (sent < count) {
        const std::string message = cvtest::frame("ping " + std::to_string(sent++));
        network.send(connection, message.data(), static_cast<int>(message.size()));
      }
      if (static_cast<const cv::EventStep *>(event)->getStepCount() >= MOST_STEPS)
        cv::GameManager::getInstance().setGameOver();
      return 1;
    }
    const auto *network_event = static_cast<const cv::EventNetwork *>(event);
    if (network_event->getLabel() == cv::NETWORK_CLOSE) {
      cv::GameManager::getInstance().setGameOver();
      return 1;
    }
    if (network_event->getLabel() != cv::NETWORK_DATA)
      return 0;
    std::string reply(static_cast<size_t>(network_event->getBytes()), '\0');
    network.receive(network_event->getSocketIndex(), &reply[0], network_event->getBytes());
    if (reply != cvtest::frame("pong " + std::to_string(received++))) {
      result = 1;
      cv::GameManager::getInstance().setGameOver();
    } else if (received == count) {
      result = 0;
      cv::GameManager::getInstance().setGameOver();
    }
    return 1;
  }

 private:
  int connection;    ///< index of the connection to the server
  int count;         ///< messages to exchange
  int sent = 0;      ///< pings sent so far
  int received = 0;  ///< pongs received so far
};

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3)
    return 2;
  cvtest::TestEngine engine("headless:true,networking:true,frame_time:5,");
  if (engine.start() != 0)
    return 2;
  const int connection = cv::NetworkManager::getInstance().connect("127.0.0.1", argv[1]);
  int result = 2;
  if (connection != -1) {
    Pinger *pinger = new Pinger(connection, std::atoi(argv[2]));
    cv::GameManager::getInstance().run();
    result = pinger->result;
  }
  engine.stop();
  return result;
}
