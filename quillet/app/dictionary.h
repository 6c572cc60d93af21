#pragma once
// DictionaryClass: the per-thread object that builds and removes the thread's table managers.
// Constructing it builds them (DctInit) on every thread but the first, whose start-up procedure
// does that itself once the INI manager exists; destroying it removes them (DctKill) on every
// thread. It has no fields. Only its own thread constructs and destroys it.

namespace quillet {

class DictionaryClass {
 public:
  DictionaryClass();
  ~DictionaryClass();
  DictionaryClass(const DictionaryClass&) = delete;
  DictionaryClass& operator=(const DictionaryClass&) = delete;
};

}  // namespace quillet
