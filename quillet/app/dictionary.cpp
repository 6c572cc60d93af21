#include "quillet/app/dictionary.h"

#include "quillet/tables/dictionary.h"
#include "runtime/threads.h"

namespace quillet {

DictionaryClass::DictionaryClass() {
  // The first thread's managers are built by the start-up procedure, once the INI manager exists.
  if (rt::threadNumber() != 1) DctInit();
}

DictionaryClass::~DictionaryClass() { DctKill(); }

}  // namespace quillet
