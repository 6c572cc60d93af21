#include "quillet/app/thread_hooks.h"

#include <mutex>

#include "quillet/app/globals.h"
#include "quillet/tables/dictionary.h"
#include "runtime/threads.h"

namespace quillet {
namespace {

std::mutex listener_mu;
ThreadHookListener& listener() {
  static ThreadHookListener l;
  return l;
}

void report(ThreadHookRecord::Kind kind) {
  ThreadHookListener l;
  {
    std::lock_guard<std::mutex> lk(listener_mu);
    l = listener();
  }
  if (!l) return;
  ThreadHookRecord r;
  r.kind = kind;
  r.thread = rt::threadNumber();
  r.has_error_status = GlobalErrorStatus.has_value();
  r.has_dictionary = Dictionary.has_value();
  r.relate_articulo = Relate_ARTICULO;
  r.relate_items = Relate_ITEMS;
  r.relate_cabecera = Relate_CABECERA;
  l(r);
}

}  // namespace

void ThreadStart() {
  GlobalErrorStatus.emplace();
  GlobalErrors.AttachThreadStatus(*GlobalErrorStatus);
  GlobalRequest = 0;
  GlobalResponse = 0;
  VCRRequest = 0;
  Dictionary.emplace();
  report(ThreadHookRecord::Kind::Started);
}

void ThreadEnd() {
  Dictionary.reset();
  GlobalErrorStatus.reset();
  ReleaseThreadTables();
  report(ThreadHookRecord::Kind::Ended);
}

void setThreadHookListener(ThreadHookListener l) {
  std::lock_guard<std::mutex> lk(listener_mu);
  listener() = std::move(l);
}

}  // namespace quillet
