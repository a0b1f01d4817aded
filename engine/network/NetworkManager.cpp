#include "network/NetworkManager.h"

#include "foundation/LogManager.h"

namespace cv {

// Connections are not implemented yet: the manager starts and stops, and
// finds no connections and no data.

NetworkManager::NetworkManager() { setType("NetworkManager"); }

NetworkManager &NetworkManager::getInstance() {
  static NetworkManager network_manager;
  return network_manager;
}

int NetworkManager::startUp() { return Manager::startUp(); }

void NetworkManager::shutDown() { Manager::shutDown(); }

bool NetworkManager::isValid(std::string event_type) const {
  return event_type == "cv-network" || event_type == "cv-keyboard-network" ||
         event_type == "cv-mouse-network" || event_type == "cv-custom-network";
}

bool NetworkManager::isServer() const { return false; }

int NetworkManager::accept() { return -1; }

int NetworkManager::getNumSockets() const { return 0; }

int NetworkManager::genDataEvents(int) { return 0; }

}  // namespace cv
