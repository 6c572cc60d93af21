#pragma once
// EventLog: what test window procedures saw, for scenario tests to check afterwards.
//
// A test window's loop calls log.record("form") for each event; the test then looks at the
// entries ("form Accepted 4", "form Selected 6", "frame CloseDown 0" ...). Entries are kept in
// the order they were recorded, across threads. Safe to use from any thread.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace scripted {

class EventLog {
 public:
  // Records the calling thread's current event: "<who> <event name> <field>", plus " key <code>"
  // when the event came with a key code.
  void record(std::string_view who);
  void add(std::string entry);
  void clear();
  std::vector<std::string> entries() const;
  // Entries that start with `prefix` (e.g. "form Accepted").
  std::vector<std::string> matching(std::string_view prefix) const;
  bool contains(std::string_view entry) const;
  std::string joined() const;  // one entry per line, for failure messages

 private:
  mutable std::mutex mu_;
  std::vector<std::string> entries_;
};

// The event's name without its "EVENT_" prefix ("Accepted"), or its number.
std::string eventName(int event);

}  // namespace scripted
