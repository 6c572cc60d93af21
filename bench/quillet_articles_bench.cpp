// Quillet's article browse driven through the scripted front end, as a user drives it, over an
// ARTICULO table of 1,000 and of 65,000 articles (the article code is a USHORT, so 65,535 is the
// most the table can hold). The table is loaded through the record store directly, in one
// transaction, before the browse opens. Each figure covers the whole round trip of one user
// action: the input handed to the runtime, the browse's event handling and page read on its own
// thread, and the list shown again (the driver waits until the program is idle).
//
//   OpenAndClose      open the browse at its first page (request 0), then "&Cerrar"
//   PageDown          one page down (the first page again, untimed, at the end of the table)
//   FirstOrLastPage   the last page and the first page, alternately
//   LocateByCode      a digit typed in the list, code order
//   LocateByDesc      a letter typed in the list, description order
//   PickerAtCode      open the picker (request 4) positioned at a code in the middle of the
//                     table, then "&Cerrar"
//
// Counters: list_rows, the rows the open browse holds (one page, whatever the table's size), and
// rss_growth_kb, what the process's resident memory grew by while the browse opened.
// Times: wall clock ("Time") and the whole process's CPU ("CPU").
//
// Run: quillet_articles_bench [--benchmark_filter=...].
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "quillet/app/globals.h"
#include "quillet/app/startup.h"
#include "quillet/tables/articulo.h"
#include "quillet/windows/browse_articulos.h"
#include "runtime/event.h"
#include "runtime/threads.h"
#include "runtime/vocabulary.h"
#include "runtime/window.h"
#include "store/file.h"
#include "store/transaction.h"
#include "ui/scripted/program_driver.h"

namespace {

namespace ba = quillet::browse_articulos;
using quillet::ARTICULO;

constexpr const char* kFrame = "Marco de medida";
constexpr const char* kBrowse = "Recorrer la tabla Articulos";
constexpr int kCall = -2;

// ----- A caller: Browse_Articulos with a request and a buffer, on a thread of its own -----

std::mutex g_mu;
std::uint8_t g_request = 0;
ARTICULO g_in{};
bool g_done = false;

void Caller() {
  {
    std::lock_guard<std::mutex> lk(g_mu);
    quillet::ART = g_in;
    quillet::GlobalRequest = g_request;
  }
  quillet::Browse_Articulos();
  std::lock_guard<std::mutex> lk(g_mu);
  g_done = true;
}

class BenchFrame : public fw::WindowManager {
 public:
  BenchFrame(rt::Window& w, fw::ToolbarClass& tb) : fw::WindowManager(w), tb_(tb) {}
  int Init() override {
    if (int r = fw::WindowManager::Init(); r != 0) return r;
    AddItem(tb_);
    rt::WindowDecl decl(kFrame);
    decl.appFrame().size(600, 400).menu(rt::MenuDecl::menu(-1, "&Medir", {rt::MenuDecl::item(kCall, "Llamar")}));
    return Open(decl) == rt::OpenResult::Ok ? fw::Level_Benign : fw::Level_Fatal;
  }
  int TakeAccepted() override {
    if (rt::field() == kCall) rt::start(Caller, 50000);
    return fw::WindowManager::TakeAccepted();
  }

 private:
  fw::ToolbarClass& tb_;
};

void benchFrame() {
  rt::Window frame;
  fw::ToolbarClass toolbar;
  {
    BenchFrame ThisWindow(frame, toolbar);
    quillet::GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  frame.close();
}

void benchStartup() { quillet::StartupWith(benchFrame); }

rt::ProgramDecl benchProgram() {
  rt::ProgramDecl decl = quillet::QuilletProgram();
  decl.startup = benchStartup;
  return decl;
}

long rssKb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// ----- The program with its table, one at a time in the process -----

class Env {
 public:
  explicit Env(int n) : n_(n) {
    ok_ = static_cast<bool>(p_.waitIdle()) && load();
  }
  bool ok() const { return ok_; }
  int n() const { return n_; }
  scripted::Program& p() { return p_; }

  // Opens the browse (request 0: first page; 4: the picker at `code`). False when it did not.
  bool open(std::uint8_t request, std::uint16_t code) {
    {
      std::lock_guard<std::mutex> lk(g_mu);
      g_request = request;
      g_in = ARTICULO{};
      g_in.IDARTICULO = code;
      std::memset(g_in.DESCRIPCION, ' ', sizeof g_in.DESCRIPCION);
      g_done = false;
    }
    return p_.chooseMenu(kFrame, kCall) && p_.hasWindow(kBrowse);
  }
  bool close() {
    if (!p_.click(kBrowse, ba::CLOSE)) return false;
    for (int i = 0; i < 2000; ++i) {
      {
        std::lock_guard<std::mutex> lk(g_mu);
        if (g_done) return true;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return false;
  }

 private:
  // Articles 1..n; descriptions start with every letter in turn, so each letter has its rows.
  bool load() {
    ARTICULO r{};
    store::File f(quillet::ARTICULO_Def(), &r);
    if (!f.open().ok()) return false;
    std::unique_ptr<store::Transaction> t;
    if (!store::Transaction::begin({&f}, std::chrono::seconds(30), t).ok()) return false;
    for (int i = 1; i <= n_; ++i) {
      r = ARTICULO{};
      r.IDARTICULO = static_cast<std::uint16_t>(i);
      std::memset(r.DESCRIPCION, ' ', sizeof r.DESCRIPCION);
      char text[31];
      std::snprintf(text, sizeof text, "%crticulo numero %05d", 'A' + (i * 7) % 26, i);
      std::memcpy(r.DESCRIPCION, text, std::strlen(text));
      if (r.IMPORTE.assign(rt::Decimal::fromUnscaled(i % 100000, 2)) != rt::DecimalStatus::Ok) return false;
      if (!f.add().ok()) return false;
    }
    if (!t->commit().ok()) return false;
    f.close();
    return true;
  }

  int n_;
  scripted::Program p_{benchProgram()};
  bool ok_ = false;
};

std::unique_ptr<Env> g_env;

Env* env(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  if (!g_env || g_env->n() != n) {
    g_env.reset();  // one program at a time
    g_env = std::make_unique<Env>(n);
  }
  if (!g_env->ok()) {
    state.SkipWithError("the program or its table could not be set up");
    return nullptr;
  }
  return g_env.get();
}

// Opens the browse for a benchmark and records what an open browse holds.
bool openFor(benchmark::State& state, Env& e) {
  const long before = rssKb();
  if (!e.open(0, 0)) {
    state.SkipWithError("the browse did not open");
    return false;
  }
  state.counters["list_rows"] = static_cast<double>(e.p().listRows(kBrowse, ba::BROWSE_1).size());
  state.counters["rss_growth_kb"] = static_cast<double>(rssKb() - before);
  return true;
}

void BM_OpenAndClose(benchmark::State& state) {
  Env* e = env(state);
  if (!e) return;
  for (auto _ : state) {
    if (!e->open(0, 0) || !e->close()) {
      state.SkipWithError("open or close failed");
      return;
    }
  }
}

void BM_PageDown(benchmark::State& state) {
  Env* e = env(state);
  if (!e || !openFor(state, *e)) return;
  const int pages = e->n() / std::max<int>(1, static_cast<int>(state.counters["list_rows"])) - 1;
  int done = 0;
  for (auto _ : state) {
    if (!e->p().scroll(kBrowse, ba::BROWSE_1, rt::ScrollAction::PageDown)) {
      state.SkipWithError("page down failed");
      break;
    }
    if (++done >= pages) {
      state.PauseTiming();
      (void)e->p().scroll(kBrowse, ba::BROWSE_1, rt::ScrollAction::First);
      done = 0;
      state.ResumeTiming();
    }
  }
  (void)e->close();
}

void BM_FirstOrLastPage(benchmark::State& state) {
  Env* e = env(state);
  if (!e || !openFor(state, *e)) return;
  bool last = true;
  for (auto _ : state) {
    if (!e->p().scroll(kBrowse, ba::BROWSE_1, last ? rt::ScrollAction::Last : rt::ScrollAction::First)) {
      state.SkipWithError("first/last page failed");
      break;
    }
    last = !last;
  }
  (void)e->close();
}

void locate(benchmark::State& state, bool by_description) {
  Env* e = env(state);
  if (!e || !openFor(state, *e)) return;
  if (by_description && !e->p().chooseTab(kBrowse, ba::CURRENTTAB, ba::TAB_3)) {
    state.SkipWithError("no description tab");
    return;
  }
  const std::string keys = by_description ? "kcxdqaemzgtb" : "7391528460";
  std::size_t i = 0;
  for (auto _ : state) {
    if (!e->p().typeChar(kBrowse, ba::BROWSE_1, keys[i++ % keys.size()])) {
      state.SkipWithError("typing failed");
      break;
    }
  }
  (void)e->close();
}

void BM_LocateByCode(benchmark::State& state) { locate(state, false); }
void BM_LocateByDesc(benchmark::State& state) { locate(state, true); }

void BM_PickerAtCode(benchmark::State& state) {
  Env* e = env(state);
  if (!e) return;
  const auto code = static_cast<std::uint16_t>(e->n() / 2 + 1);
  for (auto _ : state) {
    if (!e->open(fw::SelectRecord, code) || !e->close()) {
      state.SkipWithError("picker open or close failed");
      return;
    }
  }
  state.SetLabel("positioned at " + std::to_string(code));
}

// All benchmarks of one table size run together: the table is built once per size.
void registerAll() {
  for (int n : {1000, 65000}) {
    auto reg = [&](const char* name, void (*fn)(benchmark::State&)) {
      benchmark::RegisterBenchmark(name, fn)
          ->Arg(n)
          ->UseRealTime()
          ->MeasureProcessCPUTime()
          ->Unit(benchmark::kMicrosecond);
    };
    reg("BM_OpenAndClose", BM_OpenAndClose);
    reg("BM_PageDown", BM_PageDown);
    reg("BM_FirstOrLastPage", BM_FirstOrLastPage);
    reg("BM_LocateByCode", BM_LocateByCode);
    reg("BM_LocateByDesc", BM_LocateByDesc);
    reg("BM_PickerAtCode", BM_PickerAtCode);
  }
}

}  // namespace

int main(int argc, char** argv) {
  registerAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_env.reset();
  return 0;
}
