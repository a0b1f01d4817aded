#pragma once

#include <string>

#include "core/ObjectList.h"

namespace cv {

class Event;
class Object;

/// Most event types one manager keeps interest lists for.
const int MAX_EVENTS = 100;

/// Base of every engine service. A manager is started and stopped by the
/// game manager and delivers events to the objects that registered interest.
/// Results: 0 success, -1 failure.
class Manager {
 public:
  Manager();
  virtual ~Manager();

  /// The manager's name ("WorldManager", ...), used in messages.
  std::string getType() const;

  /// Whether startUp succeeded and shutDown has not been called since.
  bool isStarted() const;

  /// Whether this manager keeps interest in `event_type`. The base accepts none.
  virtual bool isValid(std::string event_type) const;

  /// Marks the manager started. Derived managers do their own work first.
  virtual int startUp();

  /// Marks the manager stopped. Derived managers call this first.
  virtual void shutDown();

  /// Adds `object` to the listeners of `event_type`. -1 if the type is not
  /// valid here or the table of types is full.
  int registerInterest(Object *object, std::string event_type);

  /// Removes `object` from the listeners of `event_type`. -1 if not listening.
  int unregisterInterest(Object *object, std::string event_type);

  /// Hands `event` to every active listener of its type.
  /// Returns the number of objects it was handed to.
  int onEvent(const Event *event) const;

  /// Names the manager; each derived manager calls it in its constructor.
  void setType(std::string new_type);

 protected:
  /// Writes "<type> not started!" when the manager is not started: the
  /// refusal of operations that need a started manager. True when refused.
  bool refuseUnlessStarted() const;

 private:
  Manager(const Manager &) = delete;
  Manager &operator=(const Manager &) = delete;

  std::string type;                    ///< the manager's name, used in messages
  int event_count;                     ///< number of event types in the table
  std::string event_name[MAX_EVENTS];  ///< event types some object listens to
  ObjectList obj_list[MAX_EVENTS];     ///< listeners of each entry of event_name
  bool is_started;                     ///< set by startUp, cleared by shutDown
};

}  // namespace cv
