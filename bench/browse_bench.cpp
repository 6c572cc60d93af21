// Browse page reads through the view manager: the first page, the page after a row in the middle,
// the last page, the page before it, and a locate in the middle, at 1,000 and 100,000 rows. Each
// is a keyset seek plus one page, so the time per page stays flat as the table grows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/browse_test_tables.h"
#include "framework/view_manager.h"
#include "store/transaction.h"

namespace {

using namespace browse_test;

constexpr int kPage = 20;

// A directory with LINES.TPS of `rows` rows (1000 lines per header), built once per size.
struct Fixture {
  std::string dir;
  Line lin{};
  std::unique_ptr<store::File> file;
  fw::ViewManager view;
};

Fixture& fixture(int rows) {
  static std::map<int, std::unique_ptr<Fixture>> cache;
  auto& f = cache[rows];
  if (f) return *f;
  f = std::make_unique<Fixture>();
  f->dir = (std::filesystem::temp_directory_path() / ("browse_bench_" + std::to_string(rows))).string();
  std::filesystem::create_directories(f->dir);
  std::filesystem::current_path(f->dir);
  f->file = std::make_unique<store::File>(linesDef(), &f->lin);
  if (!f->file->open().ok()) std::abort();
  if (f->file->records() != rows) {
    f->file->close();
    std::filesystem::remove(f->dir + "/" + linesDef().fileName());
    if (!f->file->open().ok()) std::abort();
    std::unique_ptr<store::Transaction> t;
    if (!store::Transaction::begin({f->file.get()}, std::chrono::seconds(30), t).ok()) std::abort();
    for (int i = 0; i < rows; ++i) {
      f->lin = line(1 + i / 1000, 1 + i % 1000, "n" + std::to_string(i % 97), i);
      if (!f->file->add().ok()) std::abort();
    }
    if (!t->commit().ok()) std::abort();
  }
  f->view.Init(*f->file, &f->lin);
  f->view.SetOrder(K_HDRNUM);
  return *f;
}

void BM_FirstPage(benchmark::State& state) {
  Fixture& f = fixture(static_cast<int>(state.range(0)));
  std::vector<fw::ViewRow> rows;
  for (auto _ : state) {
    if (!f.view.ReadFirst(kPage, rows).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(rows.data());
  }
}

void BM_PageAfterMiddleRow(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Fixture& f = fixture(n);
  std::vector<fw::ViewRow> anchor, rows;
  Line k = line(1 + (n / 2) / 1000, 1 + (n / 2) % 1000, "", 0);
  f.view.ReadFrom(&k, 1, anchor);
  for (auto _ : state) {
    if (!f.view.ReadAfter(anchor.front(), kPage, rows).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(rows.data());
  }
}

void BM_LastPage(benchmark::State& state) {
  Fixture& f = fixture(static_cast<int>(state.range(0)));
  std::vector<fw::ViewRow> rows;
  for (auto _ : state) {
    if (!f.view.ReadLast(kPage, rows).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(rows.data());
  }
}

void BM_PageBeforeLastPage(benchmark::State& state) {
  Fixture& f = fixture(static_cast<int>(state.range(0)));
  std::vector<fw::ViewRow> last, rows;
  f.view.ReadLast(kPage, last);
  for (auto _ : state) {
    if (!f.view.ReadBefore(last.front(), kPage, rows).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(rows.data());
  }
}

void BM_LocateMiddle(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Fixture& f = fixture(n);
  std::vector<fw::ViewRow> rows;
  Line k = line(1 + (n / 2) / 1000, 500, "", 0);
  for (auto _ : state) {
    if (!f.view.ReadFrom(&k, kPage, rows).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(rows.data());
  }
}

BENCHMARK(BM_FirstPage)->Arg(1000)->Arg(100000);
BENCHMARK(BM_PageAfterMiddleRow)->Arg(1000)->Arg(100000);
BENCHMARK(BM_LastPage)->Arg(1000)->Arg(100000);
BENCHMARK(BM_PageBeforeLastPage)->Arg(1000)->Arg(100000);
BENCHMARK(BM_LocateMiddle)->Arg(1000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
