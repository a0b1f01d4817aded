#pragma once

#include "core/Manager.h"

namespace cv {

/// Server side of TCP connections: accepts connections and reports complete
/// messages as network events. Runs only when the configuration's
/// networking is on.
class NetworkManager : public Manager {
 public:
  static NetworkManager &getInstance();

  int startUp() override;
  void shutDown() override;

  /// Accepts exactly the four network event types.
  bool isValid(std::string event_type) const override;

  /// Whether the manager listens for connections.
  bool isServer() const;

  /// Accepts one waiting connection. Returns its index, or -1 for none.
  int accept();

  /// Number of open connections.
  int getNumSockets() const;

  /// Reports the complete messages waiting on connection `sock_index`.
  /// Returns the number of events sent.
  int genDataEvents(int sock_index);

 private:
  NetworkManager();
  NetworkManager(const NetworkManager &) = delete;
  NetworkManager &operator=(const NetworkManager &) = delete;
};

}  // namespace cv
