// The record store's reads in key order, fetches and numbered adds on tables with the article
// layout, at 1,000, 100,000 and 1,000,000 records, beside a plain SQLite query reading the same
// 20 records through the same index.
//
// Tables: "ushort" is the article table exactly (USHORT IDARTICULO @0, STRING(30) DESCRIPCION @2,
// DECIMAL(4,2) IMPORTE @32; keys POR_IDARTICULO primary opt nocase, POR_DESCRIPCION dup opt
// nocase). A USHORT holds only 65,535 article numbers, so the larger tables use "long": the same
// fields and keys with a LONG IDARTICULO (@0, DESCRIPCION @4, IMPORTE @34). Every description
// occurs twice (a DUP key with ties) in mixed case; the "ties" tables (LONG layout) have one
// description for all their records. The files are built once and kept in
// $STORE_BENCH_CACHE (default /tmp/store_bench_cache); a file with another record count is
// rebuilt.
//
// Run: store_bench [--benchmark_filter=...]. Reading benchmarks report ns per page of 20.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/decimal.h"
#include "store/file.h"
#include "store/table_def.h"

namespace {

using store::FieldDef;
using store::FieldType;
using store::File;
using store::KeyDef;
using store::PageRow;
using store::Status;
using store::TableDef;

constexpr int kPage = 20;
constexpr int kDescription = 30;

TableDef articleDef(bool wide_code) {
  const int code = wide_code ? 4 : 2;
  TableDef d;
  d.label = "ARTICULO";
  d.prefix = "ART";
  d.record_size = code + kDescription + 4;
  d.fields = {FieldDef{"IDARTICULO", wide_code ? FieldType::Long : FieldType::UShort, 0, code, 0},
              FieldDef{"DESCRIPCION", FieldType::String, code, kDescription, 0},
              FieldDef{"IMPORTE", FieldType::Decimal, code + kDescription, 4, 2}};
  d.keys = {KeyDef{"POR_IDARTICULO", {0}, true, false, true, true},
            KeyDef{"POR_DESCRIPCION", {1}, false, true, true, true}};
  return d;
}

// The description of article i of n: a word whose order is a fixed permutation of i, shared by
// pairs of articles, with letters in mixed case (the NOCASE key folds them).
std::string description(long long i, long long n) {
  const long long a = 1000003;  // prime, so i -> (a*i + 7) mod n is a permutation for these n
  const long long rank = ((a % n) * (i % n) + 7) % n / 2;
  std::string word = "ARTICULO ";
  char letters[8];
  long long v = rank;
  for (int k = 7; k >= 0; --k) {
    letters[k] = static_cast<char>('A' + v % 26);
    v /= 26;
  }
  for (int k = 0; k < 8; ++k) word += ((i + k) % 3 == 0) ? static_cast<char>(letters[k] + 32) : letters[k];
  return word;
}

// The description at the middle of the description order (rank n/4 of n/2 distinct words).
std::string middleDescription(long long n) {
  std::string word = "ARTICULO ";
  char letters[8];
  long long v = n / 4;
  for (int k = 7; k >= 0; --k) {
    letters[k] = static_cast<char>('A' + v % 26);
    v /= 26;
  }
  return word + std::string(letters, 8);
}

bool g_ties = false;  // set while a "ties" table is built: every description the same

void fillRecord(const TableDef& def, long long id, long long n, unsigned char* rec) {
  std::memset(rec, 0, def.record_size);
  const FieldDef& code = def.fields[0];
  for (int b = 0; b < code.size; ++b) rec[b] = static_cast<unsigned char>((id >> (8 * b)) & 0xFF);
  const FieldDef& text = def.fields[1];
  std::memset(rec + text.offset, ' ', text.size);
  const std::string d = g_ties ? std::string("MISMA DESCRIPCION") : description(id, n);
  std::memcpy(rec + text.offset, d.data(), d.size());
  const FieldDef& price = def.fields[2];
  (void)rt::packDecimal(rt::Decimal::fromUnscaled(id % 9999999, 2), rec + price.offset, price.size, price.places);
}

// One table of n records, opened through the store and through a plain SQLite connection.
struct Dataset {
  TableDef def;
  long long n = 0;
  std::string path;
  std::vector<unsigned char> buffer, seek, out;
  std::unique_ptr<File> file;
  sqlite3* plain = nullptr;
  sqlite3_stmt* plain_first[2] = {nullptr, nullptr};
  sqlite3_stmt* plain_from[2] = {nullptr, nullptr};
  sqlite3_stmt* plain_last[2] = {nullptr, nullptr};
  std::string error;

  ~Dataset() {
    for (int k = 0; k < 2; ++k) {
      sqlite3_finalize(plain_first[k]);
      sqlite3_finalize(plain_from[k]);
      sqlite3_finalize(plain_last[k]);
    }
    sqlite3_close(plain);
  }
};

std::string cacheDir() {
  const char* env = std::getenv("STORE_BENCH_CACHE");
  return env && *env ? env : "/tmp/store_bench_cache";
}

bool build(Dataset& d) {
  std::filesystem::remove(d.path);
  std::filesystem::remove(d.path + "-journal");
  File f(d.def, d.buffer.data());
  f.setPath(d.path);
  if (!f.open().ok()) return false;
  // A fast bulk load: one transaction per 100,000 records.
  const long long batch = 100000;
  for (long long start = 1; start <= d.n; start += batch) {
    std::unique_ptr<store::Transaction> t;
    if (!store::Transaction::begin({&f}, std::chrono::seconds(30), t).ok()) return false;
    for (long long id = start; id < start + batch && id <= d.n; ++id) {
      fillRecord(d.def, id, d.n, d.buffer.data());
      Status s = f.add();
      if (!s.ok()) {
        d.error = s.text;
        return false;
      }
    }
    if (!t->commit().ok()) return false;
  }
  return true;
}

// The dataset of `kind` ("ushort" or "long") with n records, built on first use.
Dataset* dataset(const std::string& kind, long long n) {
  static std::map<std::string, std::unique_ptr<Dataset>> all;
  const std::string name = kind + "_" + std::to_string(n);
  auto it = all.find(name);
  if (it != all.end()) return it->second.get();
  auto d = std::make_unique<Dataset>();
  d->def = articleDef(kind != "ushort");
  d->n = n;
  const std::string dir = cacheDir() + "/" + name;
  std::filesystem::create_directories(dir);
  d->path = dir + "/" + d->def.fileName();
  d->buffer.resize(d->def.record_size);
  d->seek.resize(d->def.record_size);
  d->out.resize(d->def.record_size * kPage);
  d->file = std::make_unique<File>(d->def, d->buffer.data());
  d->file->setPath(d->path);
  Status s = d->file->open();
  if (!s.ok() || d->file->records() != n) {
    d->file->close();
    g_ties = kind == "ties";
    const bool built = build(*d);
    g_ties = false;
    if (!built) {
      if (d->error.empty()) d->error = "cannot build " + d->path;
    } else if (!(s = d->file->open()).ok()) {
      d->error = s.text;
    }
  }
  if (d->error.empty()) {
    sqlite3_open_v2(d->path.c_str(), &d->plain, SQLITE_OPEN_READONLY, nullptr);
    const char* first[2] = {"SELECT data FROM records WHERE k0 IS NOT NULL ORDER BY k0 LIMIT 20",
                            "SELECT data FROM records WHERE k1 IS NOT NULL ORDER BY k1, seq LIMIT 20"};
    const char* from[2] = {"SELECT data FROM records WHERE k0 >= ?1 ORDER BY k0 LIMIT 20",
                           "SELECT data FROM records WHERE k1 >= ?1 ORDER BY k1, seq LIMIT 20"};
    const char* last[2] = {"SELECT data FROM records WHERE k0 IS NOT NULL ORDER BY k0 DESC LIMIT 20",
                           "SELECT data FROM records WHERE k1 IS NOT NULL ORDER BY k1 DESC, seq DESC LIMIT 20"};
    for (int k = 0; k < 2; ++k) {
      sqlite3_prepare_v2(d->plain, first[k], -1, &d->plain_first[k], nullptr);
      sqlite3_prepare_v2(d->plain, from[k], -1, &d->plain_from[k], nullptr);
      sqlite3_prepare_v2(d->plain, last[k], -1, &d->plain_last[k], nullptr);
    }
  }
  Dataset* raw = d.get();
  all[name] = std::move(d);
  return raw;
}

enum Where { First, Middle, Last };
const char* const kWhere[] = {"first", "middle", "last"};

// The seek record for the middle of a key's order.
void middleRecord(Dataset& d, int key, unsigned char* rec) {
  fillRecord(d.def, d.n / 2, d.n, rec);
  if (key == 1) {
    const FieldDef& text = d.def.fields[1];
    std::memset(rec + text.offset, ' ', text.size);
    const std::string m = middleDescription(d.n);
    std::memcpy(rec + text.offset, m.data(), m.size());
  }
}

// A page of 20 through the store, in one call.
void storePage(benchmark::State& state, const std::string& kind, long long n, int key, Where where) {
  Dataset* d = dataset(kind, n);
  if (!d->error.empty()) return state.SkipWithError(d->error.c_str());
  middleRecord(*d, key, d->seek.data());
  std::vector<PageRow> rows;
  rows.reserve(kPage);
  for (auto _ : state) {
    if (where == First) d->file->set(key);
    if (where == Middle) d->file->set(key, d->seek.data());
    if (where == Last) d->file->setAfter(key);
    Status s = d->file->readPage(kPage, where != Last, rows);
    if (!s.ok() || rows.size() != kPage) return state.SkipWithError("page read failed");
    benchmark::DoNotOptimize(rows.data());
  }
}

// The same page through 20 calls of next() / previous().
void storeNext(benchmark::State& state, const std::string& kind, long long n, int key, Where where) {
  Dataset* d = dataset(kind, n);
  if (!d->error.empty()) return state.SkipWithError(d->error.c_str());
  middleRecord(*d, key, d->seek.data());
  for (auto _ : state) {
    if (where == First) d->file->set(key);
    if (where == Middle) d->file->set(key, d->seek.data());
    if (where == Last) d->file->setAfter(key);
    for (int i = 0; i < kPage; ++i) {
      Status s = where == Last ? d->file->previous() : d->file->next();
      if (!s.ok()) return state.SkipWithError("read failed");
      std::memcpy(d->out.data() + i * d->def.record_size, d->buffer.data(), d->def.record_size);
    }
    benchmark::DoNotOptimize(d->out.data());
  }
}

// The same 20 records through a plain indexed SQLite query on the same file.
void plainPage(benchmark::State& state, const std::string& kind, long long n, int key, Where where) {
  Dataset* d = dataset(kind, n);
  if (!d->error.empty()) return state.SkipWithError(d->error.c_str());
  middleRecord(*d, key, d->seek.data());
  // The middle seek value in the file's key encoding (the store's own, read back from the file).
  std::string mid;
  {
    sqlite3_stmt* st = nullptr;
    const std::string sql = "SELECT k" + std::to_string(key) + " FROM records WHERE id = ?1";
    sqlite3_prepare_v2(d->plain, sql.c_str(), -1, &st, nullptr);
    if (key == 0) {
      sqlite3_bind_int64(st, 1, d->n / 2);
      if (sqlite3_step(st) == SQLITE_ROW)
        mid.assign(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
    } else {
      mid = middleDescription(d->n);
      mid.resize(kDescription, ' ');
    }
    sqlite3_finalize(st);
  }
  sqlite3_stmt* st = where == First ? d->plain_first[key] : where == Middle ? d->plain_from[key] : d->plain_last[key];
  for (auto _ : state) {
    if (where == Middle) sqlite3_bind_blob(st, 1, mid.data(), static_cast<int>(mid.size()), SQLITE_STATIC);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::memcpy(d->out.data() + rows * d->def.record_size, sqlite3_column_blob(st, 0), d->def.record_size);
      ++rows;
    }
    sqlite3_reset(st);
    if (rows != kPage) return state.SkipWithError("plain query read too few rows");
    benchmark::DoNotOptimize(d->out.data());
  }
}

// A page of the description order read from a position in the middle of a run of n equal
// descriptions (the "ties" tables): the seek must land there, not scan the run.
void pageInsideRun(benchmark::State& state, long long n) {
  Dataset* d = dataset("ties", n);
  if (!d->error.empty()) return state.SkipWithError(d->error.c_str());
  std::memset(d->buffer.data(), 0, d->def.record_size);
  const long long mid = n / 2;
  for (int b = 0; b < 4; ++b) d->buffer[b] = static_cast<unsigned char>((mid >> (8 * b)) & 0xFF);
  std::string pos;
  if (d->file->fetch(0).ok()) pos = d->file->position();
  if (pos.empty() || !d->file->reget(pos).ok()) return state.SkipWithError("no middle record");
  pos = d->file->position();
  std::vector<PageRow> rows;
  for (auto _ : state) {
    d->file->resetTo(1, pos);
    Status s = d->file->readPage(kPage, true, rows);
    if (!s.ok() || rows.size() != kPage) return state.SkipWithError("page read failed");
    benchmark::DoNotOptimize(rows.data());
  }
}

void fetchByPrimaryKey(benchmark::State& state, const std::string& kind, long long n) {
  Dataset* d = dataset(kind, n);
  if (!d->error.empty()) return state.SkipWithError(d->error.c_str());
  std::mt19937_64 rng(42);
  for (auto _ : state) {
    const long long id = 1 + static_cast<long long>(rng() % d->n);
    std::memset(d->buffer.data(), 0, d->def.record_size);
    for (int b = 0; b < d->def.fields[0].size; ++b) d->buffer[b] = static_cast<unsigned char>((id >> (8 * b)) & 0xFF);
    if (!d->file->fetch(0).ok()) return state.SkipWithError("fetch failed");
  }
}

// Auto-numbering as the programs do it: highest + 1, then add (each add its own synced
// transaction). The added records are deleted afterwards, so the cached file keeps its size.
void addNumbered(benchmark::State& state, const std::string& kind, long long n) {
  Dataset* d = dataset(kind, n);
  if (!d->error.empty()) return state.SkipWithError(d->error.c_str());
  std::vector<std::string> added;
  std::vector<unsigned char> high(d->def.record_size);
  for (auto _ : state) {
    if (!d->file->highest(0, 0, high.data()).ok()) return state.SkipWithError("highest failed");
    long long id = 0;
    for (int b = d->def.fields[0].size - 1; b >= 0; --b) id = (id << 8) | high[b];
    if (d->def.fields[0].size == 2 && id >= 65535) return state.SkipWithError("no article number left");
    fillRecord(d->def, id + 1, d->n, d->buffer.data());
    if (!d->file->add().ok()) return state.SkipWithError("add failed");
    added.push_back(d->file->position());
  }
  // After the timed loop: not measured.
  std::unique_ptr<store::Transaction> t;
  if (store::Transaction::begin({d->file.get()}, std::chrono::seconds(30), t).ok()) {
    for (const std::string& p : added)
      if (d->file->reget(p).ok()) d->file->erase();
    t->commit();
  }
}

void registerAll() {
  struct Size {
    const char* kind;
    long long n;
  } sizes[] = {{"ushort", 1000}, {"long", 1000}, {"long", 100000}, {"long", 1000000}};
  for (const Size& s : sizes) {
    const std::string kind = s.kind;
    const long long n = s.n;
    const std::string tag = kind + "/" + std::to_string(n);
    for (int key = 0; key < 2; ++key) {
      const std::string order = key == 0 ? "by_code" : "by_description";
      for (Where w : {First, Middle, Last}) {
        const std::string suffix = "/" + order + "/" + kWhere[w] + "/" + tag;
        benchmark::RegisterBenchmark(("page_read" + suffix).c_str(), storePage, kind, n, key, w);
        benchmark::RegisterBenchmark(("next_x20" + suffix).c_str(), storeNext, kind, n, key, w);
        benchmark::RegisterBenchmark(("plain_sqlite" + suffix).c_str(), plainPage, kind, n, key, w);
      }
    }
    benchmark::RegisterBenchmark(("fetch_primary/" + tag).c_str(), fetchByPrimaryKey, kind, n);
    benchmark::RegisterBenchmark(("add_numbered/" + tag).c_str(), addNumbered, kind, n)->Iterations(30);
  }
  for (long long n : {1000LL, 100000LL})
    benchmark::RegisterBenchmark(("page_read/by_description/inside_run_of_equal/ties/" + std::to_string(n)).c_str(),
                                 pageInsideRun, n);
}

}  // namespace

int main(int argc, char** argv) {
  registerAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
