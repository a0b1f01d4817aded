#pragma once

#include <string>

#include "core/Event.h"

namespace cv {

const std::string NETWORK_EVENT = "cv-network";

/// What a network event reports.
enum NetworkEventLabel {
  NETWORK_UNDEFINED = -1,  ///< nothing known
  NETWORK_ACCEPT = 0,      ///< a new connection
  NETWORK_CLOSE = 2,       ///< a connection closed
  NETWORK_DATA = 3,        ///< a complete message waits on a connection
};

/// Sent by the network manager to the objects interested in network events.
/// Labels -1 to 3 are accepted (1 is a label that no operation produces).
class EventNetwork : public Event {
 public:
  /// An event of type "cv-network" with `label`, no connection and no bytes.
  explicit EventNetwork(int label = NETWORK_UNDEFINED);

  /// Sets the label; one outside -1..3 is logged and stored as -1.
  void setLabel(int new_label);
  int getLabel() const;

  void setSocketIndex(int new_socket_index);
  int getSocketIndex() const;

  void setBytes(int new_bytes);
  int getBytes() const;

 private:
  int label;         ///< what happened, a NetworkEventLabel
  int socket_index;  ///< index of the connection concerned, -1 for none
  int bytes;         ///< for NETWORK_DATA, the length of the waiting message
};

}  // namespace cv
