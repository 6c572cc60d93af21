// Nothing lost, nothing half done: a child process adds invoice headers with their lines and
// deletes headers with their lines (each in one transaction over both files) in a loop, and is
// killed with SIGKILL at random moments. After every kill both files must be sound, every key
// must agree with the records, and no header may be without its lines or a line without its
// header.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "store/check.h"
#include "store/file.h"
#include "store/test_support.h"

using namespace store;
using namespace store_test;

namespace {

constexpr int kLinesPerHeader = 3;

// The child's endless work. Exits (with a non-zero code) only when an operation fails.
[[noreturn]] void workUntilKilled(unsigned seed) {
  Cabecera c{}, high{};
  Items it{};
  File cab(cabeceraDef(), &c), items(itemsDef(), &it);
  if (!cab.open().ok() || !items.open().ok()) _exit(2);
  std::mt19937 rng(seed);
  for (;;) {
    std::unique_ptr<Transaction> t;
    if (!Transaction::begin({&cab, &items}, std::chrono::seconds(10), t).ok()) _exit(3);
    const bool remove = rng() % 3 == 0 && cab.records() > 0;
    if (remove) {
      // Cascaded delete of the lowest header.
      if (!cab.set(0).ok() || !cab.next().ok()) _exit(4);
      const std::uint16_t id = c.IDCABECERA;
      it = blank<Items>();
      it.IDCABECERA = id;
      if (!items.set(0, &it).ok()) _exit(5);
      while (items.next().ok() && it.IDCABECERA == id)
        if (!items.erase().ok()) _exit(6);
      if (!cab.erase().ok()) _exit(7);
    } else {
      Status s = cab.highest(0, 0, &high);
      if (!s.ok() && s.code != RecordNotFound) _exit(8);
      const std::uint16_t id = static_cast<std::uint16_t>(s.ok() ? high.IDCABECERA + 1 : 1);
      c = blank<Cabecera>();
      c.IDCABECERA = id;
      c.FECHA = static_cast<std::int32_t>(rng() % 1000);
      if (!cab.add().ok()) _exit(9);
      for (int n = 1; n <= kLinesPerHeader; ++n) {
        it = blank<Items>();
        it.IDCABECERA = id;
        it.NORDEN = static_cast<std::uint16_t>(n);
        rt::setFixed(it.DESCRIPCION, "linea");
        if (!items.add().ok()) _exit(10);
      }
    }
    if (!t->commit().ok()) _exit(11);
  }
}

// Checks the files as a later user would find them; returns the number of headers.
int checkFiles(const TempDir& dir) {
  Cabecera c{};
  Items it{};
  std::map<int, int> lines_of;
  int headers = 0;
  {
    // Opening rolls back whatever the killed process left half done.
    File cab(cabeceraDef(), &c), items(itemsDef(), &it);
    Status s = cab.open();
    EXPECT_TRUE(s.ok()) << s.text << " " << s.store_text;
    s = items.open();
    EXPECT_TRUE(s.ok()) << s.text << " " << s.store_text;
    if (!cab.isOpen() || !items.isOpen()) return 0;
    cab.set(0);
    while (cab.next().ok()) {
      ++headers;
      lines_of[c.IDCABECERA] = 0;
    }
    EXPECT_EQ(cab.records(), headers);
    items.set(0);
    int total = 0;
    while (items.next().ok()) {
      ++total;
      auto h = lines_of.find(it.IDCABECERA);
      EXPECT_NE(h, lines_of.end()) << "line " << it.NORDEN << " of missing header " << it.IDCABECERA;
      if (h != lines_of.end()) ++h->second;
    }
    EXPECT_EQ(items.records(), total);
    for (auto [id, n] : lines_of) EXPECT_EQ(n, kLinesPerHeader) << "header " << id;
  }
  for (const char* name : {"CABECERA.TPS", "ITEMS.TPS"}) {
    CheckReport report;
    Status s = checkFile(dir.file(name), report);
    EXPECT_TRUE(s.ok()) << name << ": " << s.text;
    for (const std::string& p : report.problems) ADD_FAILURE() << name << ": " << p;
  }
  return headers;
}

}  // namespace

TEST(StoreCrash, KilledWritersLeaveEveryTransactionWholeOrUndone) {
  TempDir dir;
  {
    // Create both files before the first child, so that no kill lands in their creation.
    Cabecera c{};
    Items it{};
    File cab(cabeceraDef(), &c), items(itemsDef(), &it);
    ASSERT_TRUE(cab.open().ok());
    ASSERT_TRUE(items.open().ok());
  }
  std::mt19937 rng(20261211);
  int most_headers = 0;
  int killed = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(35);
  for (int round = 0; round < 40 && std::chrono::steady_clock::now() < deadline; ++round) {
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) workUntilKilled(rng());
    std::this_thread::sleep_for(std::chrono::milliseconds(30 + rng() % 400));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    // The child must have died by the kill, not by a failed operation.
    ASSERT_TRUE(WIFSIGNALED(status)) << "child exited with " << WEXITSTATUS(status);
    ++killed;
    most_headers = std::max(most_headers, checkFiles(dir));
    if (HasFailure()) break;
  }
  EXPECT_GE(killed, 10);
  EXPECT_GT(most_headers, 0) << "the child never got a transaction through";
}

TEST(StoreCrash, AFileWhoseCreationWasKilledIsCreatedAgainOrFound) {
  std::mt19937 rng(7);
  for (int round = 0; round < 15; ++round) {
    TempDir dir;
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      Articulo a{};
      File f(articuloDef(), &a);
      _exit(f.open().ok() ? 0 : 1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 30000));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    // Whatever moment the creation was cut at, the next open finds or makes a sound, empty table.
    Articulo a{};
    File f(articuloDef(), &a);
    Status s = f.open();
    ASSERT_TRUE(s.ok()) << "round " << round << ": " << s.text << " " << s.store_text;
    EXPECT_EQ(f.records(), 0);
    f.close();
    CheckReport report;
    ASSERT_TRUE(checkFile(dir.file("ARTICULO.TPS"), report).ok());
    EXPECT_TRUE(report.problems.empty()) << "round " << round;
  }
}
