#pragma once
// The hooks that the runtime runs on every program thread, the first included: ThreadStart before
// the thread's procedure and ThreadEnd after it returns (also when the program halts).
//
// ThreadStart: constructs the thread's GlobalErrorStatus and attaches it to GlobalErrors, sets
// GlobalRequest, GlobalResponse and VCRRequest to 0, constructs the thread's Dictionary (which
// builds the table managers, except on the first thread).
// ThreadEnd: destroys the Dictionary (removing the managers), destroys GlobalErrorStatus, releases
// the thread's instances of ARTICULO, ITEMS and CABECERA, in this order.
//
// A process-wide listener may watch the hooks (tests do): it is called on the hook's thread at the
// end of each hook with what the thread then holds.

#include <functional>

namespace quillet {

void ThreadStart();
void ThreadEnd();

struct ThreadHookRecord {
  enum class Kind { Started, Ended };
  Kind kind = Kind::Started;
  int thread = 0;                 // the runtime's thread number
  bool has_error_status = false;  // GlobalErrorStatus exists
  bool has_dictionary = false;    // the Dictionary exists
  // The thread's relation managers (null when it has none).
  const void* relate_articulo = nullptr;
  const void* relate_items = nullptr;
  const void* relate_cabecera = nullptr;
};

using ThreadHookListener = std::function<void(const ThreadHookRecord&)>;
// Sets the listener (an empty one removes it). Callable from any thread.
void setThreadHookListener(ThreadHookListener listener);

}  // namespace quillet
