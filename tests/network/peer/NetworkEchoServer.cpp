// A headless echo server on the engine, run as a child process by the
// network tests: it listens on a free port of 127.0.0.1 and sends every
// message back on the connection it came from, with the engine's own game
// loop (33 ms a step).
//
//   network_echo_server <report file> <most connections> <idle timeout ms> <most seconds>
//
// The report file gets "port <n>" and "log <path>" once the server listens,
// and "accepted <n> closed <n> echoed <n> refused <n>" when it ends. It ends
// on SIGTERM (the engine ends its loop in order) or after <most seconds>.
// Exits 0, or 2 when it cannot start.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Corvane.h"
#include "support/TestEngine.h"

namespace {

// Echoes every message. A message whose echo the manager refuses (the
// peer is not reading) is held and offered again before the connection's
// next message is taken, so no echo is lost or reordered.
class Echo : public cv::Object {
 public:
  Echo(int most_steps) : most_steps(most_steps) {
    registerInterest(cv::NETWORK_EVENT);
    registerInterest(cv::STEP_EVENT);
  }

  int accepted = 0;  ///< NETWORK_ACCEPT events
  int closed = 0;    ///< NETWORK_CLOSE events
  int echoed = 0;    ///< messages sent back
  int refused = 0;   ///< echoes the manager refused (then held)

  int eventHandler(const cv::Event *event) override {
    if (event->getType() == cv::STEP_EVENT) {
      if (static_cast<const cv::EventStep *>(event)->getStepCount() >= most_steps)
        cv::GameManager::getInstance().setGameOver();
      return 1;
    }
    const auto *network = static_cast<const cv::EventNetwork *>(event);
    const int index = network->getSocketIndex();
    switch (network->getLabel()) {
      case cv::NETWORK_ACCEPT:
        accepted++;
        held.insert(held.begin() + index, std::string());
        break;
      case cv::NETWORK_CLOSE:
        closed++;
        held.erase(held.begin() + index);
        break;
      case cv::NETWORK_DATA:
        echo(index, network->getBytes());
        break;
      default:
        break;
    }
    return 1;
  }

 private:
  void echo(int index, int bytes) {
    cv::NetworkManager &network = cv::NetworkManager::getInstance();
    std::string &waiting = held[index];
    if (!waiting.empty()) {
      if (network.send(index, waiting.data(), static_cast<int>(waiting.size())) == -1)
        return;  // still refused: leave the new message where it is
      echoed++;
      waiting.clear();
    }
    std::string message(static_cast<size_t>(bytes), '\0');
    if (network.receive(index, &message[0], bytes) != bytes)
      return;
    if (network.send(index, message.data(), bytes) == -1) {
      refused++;
      waiting.swap(message);
      return;
    }
    echoed++;
  }

  int most_steps;                 ///< the loop ends at this step at the latest
  std::vector<std::string> held;  ///< per connection, an echo refused and not yet sent
};

}  // namespace

int main(int argc, char **argv) {
  if (argc != 5)
    return 2;
  const std::string report_path = argv[1];
  cvtest::TestEngine engine("headless:true,networking:true,");
  if (engine.start() != 0)
    return 2;
  cv::NetworkManager &network = cv::NetworkManager::getInstance();
  if (network.setServer("0", true) != 0 || network.setMaxSockets(std::atoi(argv[2])) != 0 ||
      network.setIdleTimeout(std::atoi(argv[3])) != 0) {
    engine.stop();
    return 2;
  }
  Echo *echo = new Echo(std::atoi(argv[4]) * 1000 / 33);
  {
    std::ofstream report(report_path, std::ios::trunc);
    report << "port " << network.getPort() << "\nlog " << engine.logPath() << "\n";
  }
  cv::GameManager::getInstance().run();
  std::ofstream report(report_path, std::ios::app);
  report << "accepted " << echo->accepted << " closed " << echo->closed << " echoed " << echo->echoed << " refused "
         << echo->refused << "\n";
  report.close();
  engine.stop();
  return 0;
}
