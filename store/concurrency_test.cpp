// Several threads and processes on the same table files: each File keeps its own state, writers
// wait for each other a bounded time, and transactions are all or nothing.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <thread>

#include "store/file.h"
#include "store/test_support.h"

using namespace store;
using namespace store_test;

namespace {

// Adds `count` articles numbered by auto-numbering (highest + 1), numbering again when another
// station took the number first, as the framework does. Returns false on any other failure.
bool addNumbered(int count, const char* who) {
  Articulo a{}, high{};
  File f(articuloDef(), &a);
  if (!f.open().ok()) return false;
  for (int i = 0; i < count; ++i) {
    for (int attempt = 0;; ++attempt) {
      if (attempt == 50) return false;
      Status s = f.highest(0, 0, &high);
      if (!s.ok() && s.code != RecordNotFound) return false;
      a = blank<Articulo>();
      a.IDARTICULO = static_cast<std::uint16_t>(s.ok() ? high.IDARTICULO + 1 : 1);
      rt::setFixed(a.DESCRIPCION, who);
      s = f.add();
      if (s.ok()) break;
      if (s.code != DuplicateKey && s.code != RecordHeld) return false;
    }
  }
  return true;
}

// The numbers of every article, in number order.
std::vector<int> allNumbers() {
  Articulo a{};
  File f(articuloDef(), &a);
  std::vector<int> ids;
  if (!f.open().ok()) return ids;
  f.set(0);
  while (f.next().ok()) ids.push_back(a.IDARTICULO);
  return ids;
}

std::vector<int> oneTo(int n) {
  std::vector<int> v;
  for (int i = 1; i <= n; ++i) v.push_back(i);
  return v;
}

void addHeaderWithLines(File& cab, Cabecera& c, File& items, Items& it, std::uint16_t id, int lines) {
  c = blank<Cabecera>();
  c.IDCABECERA = id;
  c.FECHA = 80000 + id;
  ASSERT_TRUE(cab.add().ok());
  for (int n = 1; n <= lines; ++n) {
    it = blank<Items>();
    it.IDCABECERA = id;
    it.NORDEN = static_cast<std::uint16_t>(n);
    ASSERT_TRUE(items.add().ok());
  }
}

}  // namespace

TEST(StoreConcurrency, EachThreadKeepsItsOwnPositionAndBuffer) {
  TempDir dir;
  Articulo a{};
  File mine(articuloDef(), &a);
  ASSERT_TRUE(mine.open().ok());
  for (std::uint16_t i = 1; i <= 5; ++i) {
    a = blank<Articulo>();
    a.IDARTICULO = i;
    ASSERT_TRUE(mine.add().ok());
  }
  ASSERT_TRUE(mine.set(0).ok());
  ASSERT_TRUE(mine.next().ok());
  ASSERT_TRUE(mine.next().ok());
  std::vector<int> theirs;
  std::thread other([&] {
    Articulo b{};
    File f(articuloDef(), &b);
    if (!f.open().ok()) return;
    f.setAfter(0);
    while (f.previous().ok()) theirs.push_back(b.IDARTICULO);
  });
  other.join();
  EXPECT_EQ(theirs, (std::vector<int>{5, 4, 3, 2, 1}));
  EXPECT_EQ(a.IDARTICULO, 2);  // the other thread's reads did not touch this thread's buffer
  ASSERT_TRUE(mine.next().ok());
  EXPECT_EQ(a.IDARTICULO, 3);
}

TEST(StoreConcurrency, TwoThreadsNumberTheirRecordsWithoutClashing) {
  TempDir dir;
  const int each = 25;
  std::atomic<bool> ok_a{false}, ok_b{false};
  std::thread a([&] { ok_a = addNumbered(each, "hilo a"); });
  std::thread b([&] { ok_b = addNumbered(each, "hilo b"); });
  a.join();
  b.join();
  EXPECT_TRUE(ok_a);
  EXPECT_TRUE(ok_b);
  EXPECT_EQ(allNumbers(), oneTo(2 * each));
}

TEST(StoreConcurrency, TwoProcessesNumberTheirRecordsWithoutClashing) {
  TempDir dir;
  const int each = 20;
  pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) _exit(addNumbered(each, "proceso hijo") ? 0 : 1);
  const bool mine = addNumbered(each, "proceso padre");
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(mine);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(allNumbers(), oneTo(2 * each));
}

TEST(StoreConcurrency, ATransactionThatCannotBeginFailsWithinItsLimit) {
  TempDir dir;
  Cabecera c{};
  Items it{};
  File cab(cabeceraDef(), &c), items(itemsDef(), &it);
  ASSERT_TRUE(cab.open().ok());
  ASSERT_TRUE(items.open().ok());
  addHeaderWithLines(cab, c, items, it, 1, 2);

  // Another station holds the write lock of ITEMS.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("ITEMS.TPS").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

  std::unique_ptr<Transaction> t;
  Status s = Transaction::begin({&cab, &items}, std::chrono::milliseconds(300), t);
  EXPECT_EQ(s.code, TransactionNotBegun);
  EXPECT_EQ(s.text.rfind("Transaction could not begin", 0), 0u) << s.text;
  EXPECT_FALSE(t);
  // A single write waits its busy time, then reports the file held; reading still works.
  items.setBusyTimeout(std::chrono::milliseconds(200));
  it = blank<Items>();
  it.IDCABECERA = 1;
  it.NORDEN = 3;
  EXPECT_EQ(items.add().code, RecordHeld);
  it.NORDEN = 1;
  EXPECT_TRUE(items.fetch(0).ok());
  // Nothing was written to CABECERA either.
  EXPECT_EQ(cab.records(), 1);

  ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  s = Transaction::begin({&cab, &items}, std::chrono::milliseconds(300), t);
  ASSERT_TRUE(s.ok()) << s.text;
  // One transaction at a time per thread.
  std::unique_ptr<Transaction> second;
  EXPECT_EQ(Transaction::begin({&cab}, std::chrono::milliseconds(10), second).code, TransactionActive);
  EXPECT_TRUE(t->commit().ok());
}

TEST(StoreConcurrency, TransactionsAreAllOrNothingAcrossFiles) {
  TempDir dir;
  Cabecera c{};
  Items it{};
  File cab(cabeceraDef(), &c), items(itemsDef(), &it);
  ASSERT_TRUE(cab.open().ok());
  ASSERT_TRUE(items.open().ok());
  std::unique_ptr<Transaction> t;
  const auto limit = std::chrono::seconds(2);

  struct Case {
    const char* what;
    int end;  // 0 commit, 1 rollback, 2 destroyed without commit
    bool kept;
  } cases[] = {{"rolled back", 1, false}, {"abandoned", 2, false}, {"committed", 0, true}};
  std::uint16_t id = 1;
  for (const Case& k : cases) {
    ASSERT_TRUE(Transaction::begin({&cab, &items}, limit, t).ok()) << k.what;
    addHeaderWithLines(cab, c, items, it, id, 3);
    if (k.end == 0) {
      EXPECT_TRUE(t->commit().ok());
    } else if (k.end == 1) {
      EXPECT_TRUE(t->rollback().ok());
    }
    t.reset();
    EXPECT_EQ(cab.records(), k.kept ? 1 : 0) << k.what;
    EXPECT_EQ(items.records(), k.kept ? 3 : 0) << k.what;
    ++id;
  }

  // A cascaded delete whose last step fails leaves the header and all its lines.
  c = blank<Cabecera>();
  c.IDCABECERA = 3;
  ASSERT_TRUE(cab.fetch(0).ok());
  Cabecera theirs{};
  File other(cabeceraDef(), &theirs);  // another station changes the header meanwhile
  ASSERT_TRUE(other.open().ok());
  theirs.IDCABECERA = 3;
  ASSERT_TRUE(other.fetch(0).ok());
  theirs.FECHA = 12345;
  ASSERT_TRUE(other.put().ok());

  ASSERT_TRUE(Transaction::begin({&cab, &items}, limit, t).ok());
  it = blank<Items>();
  it.IDCABECERA = 3;
  ASSERT_TRUE(items.set(0, &it).ok());
  int erased = 0;
  while (items.next().ok() && it.IDCABECERA == 3) {
    ASSERT_TRUE(items.erase().ok());
    ++erased;
  }
  EXPECT_EQ(erased, 3);
  EXPECT_EQ(cab.erase().code, RecordChanged);
  ASSERT_TRUE(t->rollback().ok());
  t.reset();
  EXPECT_EQ(items.records(), 3);
  EXPECT_EQ(cab.records(), 1);

  // After reading the header again the cascade goes through.
  c.IDCABECERA = 3;
  ASSERT_TRUE(cab.fetch(0).ok());
  ASSERT_TRUE(Transaction::begin({&cab, &items}, limit, t).ok());
  it = blank<Items>();
  it.IDCABECERA = 3;
  ASSERT_TRUE(items.set(0, &it).ok());
  while (items.next().ok() && it.IDCABECERA == 3) ASSERT_TRUE(items.erase().ok());
  ASSERT_TRUE(cab.erase().ok());
  ASSERT_TRUE(t->commit().ok());
  EXPECT_EQ(items.records(), 0);
  EXPECT_EQ(cab.records(), 0);
}

TEST(StoreConcurrency, ARollbackGivesBackTheRecordReadBeforeIt) {
  TempDir dir;
  Cabecera c{};
  File cab(cabeceraDef(), &c);
  ASSERT_TRUE(cab.open().ok());
  c.IDCABECERA = 1;
  ASSERT_TRUE(cab.add().ok());
  std::unique_ptr<Transaction> t;
  ASSERT_TRUE(Transaction::begin({&cab}, std::chrono::seconds(1), t).ok());
  c.FECHA = 7;
  ASSERT_TRUE(cab.put().ok());
  ASSERT_TRUE(t->rollback().ok());
  // The put that was rolled back does not make this File's own record look changed.
  c.FECHA = 8;
  EXPECT_TRUE(cab.put().ok());
}

TEST(StoreConcurrency, ATransactionTakesOnlyTheCallingThreadsFiles) {
  TempDir dir;
  Cabecera c{};
  File cab(cabeceraDef(), &c);
  ASSERT_TRUE(cab.open().ok());
  Status s;
  std::thread other([&] {
    std::unique_ptr<Transaction> t;
    s = Transaction::begin({&cab}, std::chrono::milliseconds(100), t);
  });
  other.join();
  EXPECT_EQ(s.code, TransactionNotBegun);
  Cabecera d{};
  File closed(cabeceraDef(), &d);
  std::unique_ptr<Transaction> t;
  EXPECT_EQ(Transaction::begin({&cab, &closed}, std::chrono::milliseconds(100), t).code, FileNotOpen);
}

TEST(StoreConcurrency, ARecordChangedInAnotherProcessIsNotOverwritten) {
  TempDir dir;
  Articulo a{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  a = blank<Articulo>();
  a.IDARTICULO = 1;
  rt::setFixed(a.DESCRIPCION, "original");
  ASSERT_TRUE(f.add().ok());
  a.IDARTICULO = 1;
  ASSERT_TRUE(f.fetch(0).ok());

  struct Case {
    const char* what;
    bool erase;
  } cases[] = {{"changed", false}, {"deleted", true}};
  for (const Case& c : cases) {
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      // The other station: its own connection, reading and changing the same record.
      Articulo b{};
      File g(articuloDef(), &b);
      b.IDARTICULO = 1;
      if (!g.open().ok() || !g.fetch(0).ok()) _exit(1);
      rt::setFixed(b.DESCRIPCION, "otra estacion");
      _exit((c.erase ? g.erase() : g.put()).ok() ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.what;
    rt::setFixed(a.DESCRIPCION, "mi cambio");
    EXPECT_EQ(f.put().code, RecordChanged) << c.what;
    a.IDARTICULO = 1;
    if (c.erase) {
      EXPECT_EQ(f.fetch(0).code, RecordNotFound);
    } else {
      ASSERT_TRUE(f.fetch(0).ok());
      EXPECT_EQ(rt::clipped(a.DESCRIPCION), "otra estacion");
    }
  }
}
