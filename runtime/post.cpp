#include "runtime/post.h"

#include "runtime/runtime_state.h"

namespace rt {

using namespace detail;

bool post(int event, int feq, int thread) {
  Runtime& R = runtime();
  std::lock_guard<std::mutex> lk(R.mu);
  if (thread == 0) thread = tl_thread ? tl_thread->number : 0;
  auto it = R.threads.find(thread);
  if (it == R.threads.end() || R.halting) return false;
  QueueItem item;
  item.kind = QueueItem::Kind::Posted;
  item.event = event;
  item.feq = feq;
  it->second->queue.push_back(std::move(item));
  it->second->cv.notify_all();
  return true;
}

}  // namespace rt
