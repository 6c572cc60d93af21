#include "framework/file_manager.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "framework/manager_test_tables.h"

namespace {

using namespace fw_test;
using fw::FileManager;

std::unique_ptr<FileManager> parentManager() { return std::make_unique<FileManager>(); }

struct ParentTable : TestTable<Parent> {
  explicit ParentTable(fw::ErrorClass& errors, const store::TableDef& def = parentDef())
      : TestTable<Parent>(def, errors, parentManager()) {
    fm->AddKey(PAR_BY_ID, "Parent by id", 1);
    fm->AddKey(PAR_BY_NAME, "Parent by name", 0);
  }
  // Primes a new parent named `name`; returns the manager's result.
  int prime(std::string_view name) {
    fm->ClearBuffer();
    rt::setFixed(rec.NAME, name);
    return fm->PrimeRecord(true);
  }
};

struct ChildTable : TestTable<Child> {
  explicit ChildTable(fw::ErrorClass& errors) : TestTable<Child>(childDef(), errors, std::make_unique<FileManager>()) {
    fm->AddKey(CHI_BY_PARENT_LINE, "Child by parent and line", 2);
  }
};

class FileManagerTest : public ::testing::Test {
 protected:
  TempWorkDir dir;
  TestErrors te;
  RecordingPresenter& shown() { return *te.presenter; }
};

TEST_F(FileManagerTest, KeysAndSettingsAreRegisteredWithoutTouchingTheFile) {
  ParentTable p(te.errors);
  EXPECT_TRUE(p.fm->Initialized);
  EXPECT_EQ(p.fm->FileNameValue, "PARENT.TPS");
  EXPECT_TRUE(p.fm->HasAutoInc);
  EXPECT_EQ(p.fm->PrimaryKey, PAR_BY_ID);
  EXPECT_EQ(p.fm->GetKeyDescription(PAR_BY_NAME), "Parent by name");
  EXPECT_FALSE(p.fm->AddKey(7, "no such key", 0));
  EXPECT_TRUE(p.fm->AddKey(PAR_BY_NAME, std::string(100, 'x'), 0));
  EXPECT_EQ(p.fm->GetKeyDescription(PAR_BY_NAME).size(), FileManager::kMaxKeyDescription);
  EXPECT_EQ(p.fm->UseFile(fw::UseType_Initialize), fw::Level_Benign);
  EXPECT_FALSE(dir.exists("PARENT.TPS"));
}

TEST_F(FileManagerTest, OpenAndCloseAreCounted) {
  ParentTable p(te.errors);
  ASSERT_EQ(p.fm->Open(), fw::Level_Benign);
  EXPECT_TRUE(dir.exists("PARENT.TPS"));
  ASSERT_EQ(p.fm->Open(), fw::Level_Benign);
  p.fm->Close();
  EXPECT_TRUE(p.fm->Opened());
  p.fm->Close();
  EXPECT_FALSE(p.fm->Opened());
  EXPECT_TRUE(shown().shown().empty());
}

TEST_F(FileManagerTest, NumbersAreHighestPlusOne) {
  ParentTable p(te.errors);
  std::vector<int> ids;
  for (const char* name : {"a", "b", "c"}) {
    ASSERT_EQ(p.prime(name), fw::Level_Benign);
    ids.push_back(p.rec.ID);
  }
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(p.fm->Records(), 3);

  // Deleting the highest frees its number; a gap below the highest is not reused.
  p.rec.ID = 3;
  ASSERT_EQ(p.fm->Fetch(PAR_BY_ID), fw::Level_Benign);
  ASSERT_EQ(p.fm->Delete(), fw::Level_Benign);
  ASSERT_EQ(p.prime("d"), fw::Level_Benign);
  EXPECT_EQ(p.rec.ID, 3);
  p.rec.ID = 2;
  ASSERT_EQ(p.fm->Fetch(PAR_BY_ID), fw::Level_Benign);
  ASSERT_EQ(p.fm->Delete(), fw::Level_Benign);
  ASSERT_EQ(p.prime("e"), fw::Level_Benign);
  EXPECT_EQ(p.rec.ID, 4);
  EXPECT_TRUE(shown().shown().empty());
}

TEST_F(FileManagerTest, LinesAreNumberedWithinTheirParent) {
  ChildTable c(te.errors);
  struct Step {
    int parent, expected_line;
  };
  const Step steps[] = {{7, 1}, {7, 2}, {8, 1}, {7, 3}, {8, 2}, {1, 1}};
  for (const Step& s : steps) {
    c.fm->ClearBuffer();
    c.rec.PARENTID = static_cast<std::uint16_t>(s.parent);
    ASSERT_EQ(c.fm->PrimeRecord(true), fw::Level_Benign);
    EXPECT_EQ(c.rec.LINE, s.expected_line) << "parent " << s.parent;
    EXPECT_EQ(c.rec.PARENTID, s.parent);
  }
  EXPECT_EQ(c.fm->Records(), 6);
}

TEST_F(FileManagerTest, InsertAfterPrimingRewritesTheReservedRecord) {
  ParentTable p(te.errors);
  ASSERT_EQ(p.prime("first"), fw::Level_Benign);
  rt::setFixed(p.rec.NAME, "changed");
  ASSERT_EQ(p.fm->Insert(), fw::Level_Benign);
  EXPECT_EQ(p.fm->Records(), 1);
  p.rec = {};
  p.rec.ID = 1;
  ASSERT_EQ(p.fm->Fetch(PAR_BY_ID), fw::Level_Benign);
  EXPECT_EQ(text(p.rec.NAME, 10), "changed");
}

TEST_F(FileManagerTest, CancelAutoIncRemovesTheReservedRecordOnly) {
  ParentTable p(te.errors);
  ASSERT_EQ(p.prime("kept"), fw::Level_Benign);
  ASSERT_EQ(p.fm->Insert(), fw::Level_Benign);
  ASSERT_EQ(p.prime("dropped"), fw::Level_Benign);
  ASSERT_EQ(p.rec.ID, 2);
  // Reading elsewhere in between does not change which record is dropped.
  p.rec.ID = 1;
  ASSERT_EQ(p.fm->Fetch(PAR_BY_ID), fw::Level_Benign);
  ASSERT_EQ(p.fm->CancelAutoInc(), fw::Level_Benign);
  EXPECT_FALSE(p.fm->HasReservation());
  EXPECT_EQ(p.fm->Records(), 1);
  p.rec.ID = 1;
  ASSERT_EQ(p.fm->Fetch(PAR_BY_ID), fw::Level_Benign);
  EXPECT_EQ(text(p.rec.NAME, 10), "kept");
  EXPECT_EQ(p.fm->CancelAutoInc(), fw::Level_Benign);  // nothing reserved any more
  EXPECT_EQ(p.fm->Records(), 1);
}

TEST_F(FileManagerTest, DuplicateKeyNamesTheKeyDescription) {
  struct Case {
    const char* what;
    bool update;
  };
  for (const Case& c : {Case{"insert", false}, Case{"update", true}}) {
    SCOPED_TRACE(c.what);
    TempWorkDir own;
    shown().clear();
    ParentTable p(te.errors);
    ASSERT_EQ(p.prime("same"), fw::Level_Benign);
    ASSERT_EQ(p.fm->Insert(), fw::Level_Benign);
    int result;
    if (c.update) {
      ASSERT_EQ(p.prime("other"), fw::Level_Benign);
      ASSERT_EQ(p.fm->Insert(), fw::Level_Benign);
      rt::setFixed(p.rec.NAME, "SAME");  // the name key ignores case
      result = p.fm->Update();
    } else {
      p.rec.ID = 9;
      rt::setFixed(p.rec.NAME, "Same");
      result = p.fm->Insert();
    }
    EXPECT_EQ(result, fw::Level_Notify);
    auto boxes = shown().shown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Duplicate Key Error");
    EXPECT_NE(boxes[0].text.find("Parent by name"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(p.fm->Records(), c.update ? 2 : 1);
  }
}

TEST_F(FileManagerTest, FailedNumberingAsksAndStopsOnNo) {
  // A new record that clashes with another unique key can never be added, whatever its number.
  struct Case {
    std::vector<int> answers;
    int expected_questions;
  };
  const Case cases[] = {{{fw::Button_No}, 1}, {{fw::Button_Yes, fw::Button_No}, 2}};
  for (const Case& c : cases) {
    TempWorkDir own;
    shown().clear();
    ParentTable p(te.errors);
    ASSERT_EQ(p.prime("taken"), fw::Level_Benign);
    ASSERT_EQ(p.fm->Insert(), fw::Level_Benign);
    for (int a : c.answers) shown().answer(a);
    EXPECT_EQ(p.prime("TAKEN"), fw::Level_User);
    auto boxes = shown().shown();
    ASSERT_EQ(static_cast<int>(boxes.size()), c.expected_questions);
    for (const ShownBox& b : boxes) {
      EXPECT_EQ(b.caption, "Auto-Number Error");
      EXPECT_NE(b.text.find("(40)"), std::string::npos) << b.text;
    }
    EXPECT_EQ(p.fm->Records(), 1);
    EXPECT_FALSE(p.fm->HasReservation());
  }
}

TEST_F(FileManagerTest, UnreadableHighestRaisesRetrievalErrorAndAddsNothing) {
  ParentTable p(te.errors);
  ASSERT_EQ(p.prime("one"), fw::Level_Benign);
  ASSERT_EQ(p.fm->Insert(), fw::Level_Benign);
  p.file.setBusyTimeout(std::chrono::milliseconds(100));
  {
    StationLock lock("PARENT.TPS", "BEGIN EXCLUSIVE");
    ASSERT_TRUE(lock.ok());
    EXPECT_EQ(p.prime("two"), fw::Level_Notify);
  }
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Record Retrieval Error");
  EXPECT_NE(boxes[0].text.find("PARENT.TPS"), std::string::npos) << boxes[0].text;
  EXPECT_EQ(p.fm->Records(), 1);
}

TEST_F(FileManagerTest, MissingFileIsCreatedOnlyWhenAllowed) {
  store::TableDef no_create = parentDef();
  no_create.create = false;
  {
    ParentTable p(te.errors, no_create);
    p.fm->Create = false;
    EXPECT_EQ(p.fm->Open(), fw::Level_Fatal);
    EXPECT_FALSE(dir.exists("PARENT.TPS"));
    ASSERT_EQ(shown().captions(), std::vector<std::string>{"Access Error"});
  }
  shown().clear();
  {
    ParentTable p(te.errors, no_create);
    ASSERT_EQ(p.fm->Open(), fw::Level_Benign);
    EXPECT_TRUE(dir.exists("PARENT.TPS"));
    EXPECT_TRUE(shown().shown().empty());
  }
}

TEST_F(FileManagerTest, CreationFailureRaisesCreateError) {
  ParentTable p(te.errors);
  p.file.setPath((dir.path() / "missing-directory" / "PARENT.TPS").string());
  EXPECT_EQ(p.fm->Open(), fw::Level_Fatal);
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "File Creation Error");
  EXPECT_NE(boxes[0].text.find("creating PARENT.TPS"), std::string::npos) << boxes[0].text;
}

TEST_F(FileManagerTest, NumbersNeverWrapAroundToZero) {
  ParentTable p(te.errors);
  p.fm->ClearBuffer();
  p.rec.ID = 65535;
  rt::setFixed(p.rec.NAME, "top");
  ASSERT_EQ(p.fm->Insert(), fw::Level_Benign);
  shown().answer(fw::Button_No);
  EXPECT_EQ(p.prime("next"), fw::Level_User);
  EXPECT_EQ(shown().captions(), std::vector<std::string>{"Auto-Number Error"});
  EXPECT_EQ(p.fm->Records(), 1);
  p.rec.ID = 0;
  EXPECT_EQ(p.fm->TryFetch(PAR_BY_ID), fw::Level_Notify);
}

TEST_F(FileManagerTest, ReadingInKeyOrderStopsQuietlyAtTheEnds) {
  ParentTable p(te.errors);
  for (const char* name : {"b", "c", "a"}) ASSERT_EQ(p.prime(name), fw::Level_Benign);
  struct Case {
    int key;
    bool forward;
    std::string expected;
  };
  const Case cases[] = {{PAR_BY_ID, true, "bca"}, {PAR_BY_ID, false, "acb"}, {PAR_BY_NAME, true, "abc"},
                        {PAR_BY_NAME, false, "cba"}};
  for (const Case& c : cases) {
    ASSERT_EQ(c.forward ? p.fm->Set(c.key) : p.fm->SetAfter(c.key), fw::Level_Benign);
    std::string seen;
    while ((c.forward ? p.fm->Next() : p.fm->Previous()) == fw::Level_Benign) seen += text(p.rec.NAME, 10);
    EXPECT_EQ(seen, c.expected) << "key " << c.key << (c.forward ? " forward" : " backward");
    EXPECT_EQ(p.fm->LastStatus().code, store::RecordNotAvailable);
  }
  // Positioned by the buffer's key value, and fetched by key.
  rt::setFixed(p.rec.NAME, "B");
  ASSERT_EQ(p.fm->SetFrom(PAR_BY_NAME), fw::Level_Benign);
  ASSERT_EQ(p.fm->Next(), fw::Level_Benign);
  EXPECT_EQ(text(p.rec.NAME, 10), "b");
  p.rec.ID = 9;
  EXPECT_EQ(p.fm->TryFetch(PAR_BY_ID), fw::Level_Notify);
  EXPECT_TRUE(shown().shown().empty());
  EXPECT_EQ(p.fm->Fetch(PAR_BY_ID), fw::Level_Notify);
  EXPECT_EQ(shown().captions(), std::vector<std::string>{"Record Retrieval Error"});
}

TEST_F(FileManagerTest, FileOfAnotherLayoutIsRefusedWithAccessError) {
  {
    ParentTable p(te.errors);
    ASSERT_EQ(p.fm->Open(), fw::Level_Benign);
  }
  store::TableDef other = parentDef();
  other.fields[1].size = 8;
  other.record_size = 10;
  ParentTable p(te.errors, other);
  EXPECT_EQ(p.fm->Open(), fw::Level_Fatal);
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Access Error");
  EXPECT_NE(boxes[0].text.find("(47)"), std::string::npos) << boxes[0].text;
  EXPECT_FALSE(p.fm->Opened());
}

// A file manager whose first adds fail, as adds refused by another station would.
class RefusedAdds : public FileManager {
 public:
  int refuse = 0;
  int calls = 0;
  int TryInsert() override {
    if (++calls <= refuse) return result(store::Status::error(store::RecordHeld, "held for the test"));
    return FileManager::TryInsert();
  }
};

TEST_F(FileManagerTest, NumberingTriesThreeTimesPerRound) {
  struct Case {
    int refused;
    std::vector<int> answers;
    int expected, calls, questions;
  };
  const Case cases[] = {
      {2, {}, fw::Level_Benign, 3, 0},                                  // the third attempt succeeds
      {3, {fw::Button_Yes}, fw::Level_Benign, 4, 1},                    // Yes: a new round succeeds at once
      {6, {fw::Button_Yes, fw::Button_No}, fw::Level_User, 6, 2},       // two rounds of three, then No
      {3, {fw::Button_No}, fw::Level_User, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refused);
    TempWorkDir own;
    shown().clear();
    auto* m = new RefusedAdds;
    m->refuse = c.refused;
    TestTable<Parent> p(parentDef(), te.errors, std::unique_ptr<FileManager>(m));
    p.fm->AddKey(PAR_BY_ID, "Parent by id", 1);
    for (int a : c.answers) shown().answer(a);
    EXPECT_EQ(p.fm->PrimeRecord(), c.expected);
    EXPECT_EQ(m->calls, c.calls);
    EXPECT_EQ(static_cast<int>(shown().shown().size()), c.questions);
    EXPECT_EQ(p.fm->Records(), c.expected == fw::Level_Benign ? 1 : 0);
    EXPECT_EQ(p.fm->HasReservation(), c.expected == fw::Level_Benign);
  }
}

// Primes `n` parents and collects their numbers; false when a prime failed.
bool primeMany(fw::ErrorClass& errors, int n, const std::string& tag, std::vector<int>& ids) {
  ParentTable p(errors);
  for (int i = 0; i < n; ++i) {
    if (p.prime(tag + std::to_string(i)) != fw::Level_Benign) return false;
    ids.push_back(p.rec.ID);
  }
  return true;
}

TEST_F(FileManagerTest, ConcurrentThreadsNeverShareANumber) {
  constexpr int kEach = 40;
  std::vector<int> a, b;
  bool ok_a = false, ok_b = false;
  std::thread t1([&] { ok_a = primeMany(te.errors, kEach, "a", a); });
  std::thread t2([&] { ok_b = primeMany(te.errors, kEach, "b", b); });
  t1.join();
  t2.join();
  ASSERT_TRUE(ok_a && ok_b);
  std::set<int> all(a.begin(), a.end());
  all.insert(b.begin(), b.end());
  EXPECT_EQ(all.size(), 2u * kEach);
  ParentTable p(te.errors);
  EXPECT_EQ(p.fm->Records(), 2 * kEach);
}

TEST_F(FileManagerTest, ConcurrentProcessesNeverShareANumber) {
  constexpr int kEach = 40;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    close(fds[0]);
    std::vector<int> ids;
    TestErrors own;
    const bool ok = primeMany(own.errors, kEach, "child", ids);
    for (int id : ids) (void)!write(fds[1], &id, sizeof id);
    close(fds[1]);
    _exit(ok ? 0 : 1);
  }
  close(fds[1]);
  std::vector<int> mine;
  const bool ok = primeMany(te.errors, kEach, "parent", mine);
  std::vector<int> theirs;
  int id;
  while (read(fds[0], &id, sizeof id) == static_cast<ssize_t>(sizeof id)) theirs.push_back(id);
  close(fds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(ok);
  ASSERT_EQ(theirs.size(), static_cast<std::size_t>(kEach));
  std::set<int> all(mine.begin(), mine.end());
  all.insert(theirs.begin(), theirs.end());
  EXPECT_EQ(all.size(), 2u * kEach);
  ParentTable p(te.errors);
  EXPECT_EQ(p.fm->Records(), 2 * kEach);
}

}  // namespace
