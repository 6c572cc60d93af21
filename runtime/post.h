#pragma once
// Posting an event to a thread's window.
//
// post queues `event` (for control `feq`, 0 = a window event) to program thread `thread` (0 = the
// calling thread). It is delivered, in order with that thread's input, to the window on top of the
// thread when it is taken from the queue. Returns false when there is no such running thread.
// Callable from any thread.

namespace rt {

bool post(int event, int feq = 0, int thread = 0);

}  // namespace rt
