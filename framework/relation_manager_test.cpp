#include "framework/relation_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <vector>

#include "framework/manager_test_tables.h"

namespace {

using namespace fw_test;
using fw::FileManager;
using fw::RelationManager;

// A file manager whose deletes fail on chosen calls (counted from 1), as a record held by another
// station would make them fail.
class FailingDeletes : public FileManager {
 public:
  std::vector<int> fail_on;
  int calls = 0;
  int TryDelete() override {
    ++calls;
    for (int n : fail_on)
      if (n == calls) return result(store::Status::error(store::RecordHeld, "held for the test"));
    return FileManager::TryDelete();
  }
};

class ParentRelations : public RelationManager {
 public:
  RelationManager* child = nullptr;
  int update_mode = fw::RI_None, delete_mode = fw::RI_None;
  Parent* prec = nullptr;
  Child* crec = nullptr;
  int registered = 0;
  bool link_to_line = false;  // link the parent's number with the lines' LINE instead
  void DeferedAddRelations() override {
    ++registered;
    AddRelation(*child, update_mode, delete_mode, CHI_BY_PARENT_LINE);
    if (link_to_line)
      AddRelationLink(prec->ID, crec->LINE);
    else
      AddRelationLink(prec->ID, crec->PARENTID);
    RelationManager::DeferedAddRelations();
  }
};

class ChildRelations : public RelationManager {
 public:
  RelationManager* parent = nullptr;
  void DeferedAddRelations() override { AddRelation(*parent); }
};

class RelationManagerTest : public ::testing::Test {
 protected:
  TempWorkDir dir;
  TestErrors te;
  FailingDeletes* pfail = new FailingDeletes;
  FailingDeletes* cfail = new FailingDeletes;
  TestTable<Parent> p{parentDef(), te.errors, std::unique_ptr<FileManager>(pfail)};
  TestTable<Child> c{childDef(), te.errors, std::unique_ptr<FileManager>(cfail)};
  ParentRelations prm;
  ChildRelations crm;

  RelationManagerTest() {
    p.fm->AddKey(PAR_BY_ID, "Parent by id", 1);
    p.fm->AddKey(PAR_BY_NAME, "Parent by name", 0);
    c.fm->AddKey(CHI_BY_PARENT_LINE, "Child by parent and line", 2);
    prm.Init(*p.fm, true);
    crm.Init(*c.fm, true);
    prm.child = &crm;
    prm.prec = &p.rec;
    prm.crec = &c.rec;
    crm.parent = &prm;
  }
  ~RelationManagerTest() override {
    prm.Kill();
    crm.Kill();
  }
  void setModes(int update_mode, int delete_mode) {
    prm.update_mode = update_mode;
    prm.delete_mode = delete_mode;
  }
  RecordingPresenter& shown() { return *te.presenter; }

  int addParent(std::string_view name) {
    p.fm->ClearBuffer();
    rt::setFixed(p.rec.NAME, name);
    EXPECT_EQ(p.fm->PrimeRecord(true), fw::Level_Benign);
    EXPECT_EQ(p.fm->Insert(), fw::Level_Benign);
    return p.rec.ID;
  }
  void addChild(int parent, std::string_view note) {
    c.fm->ClearBuffer();
    c.rec.PARENTID = static_cast<std::uint16_t>(parent);
    rt::setFixed(c.rec.NOTE, note);
    EXPECT_EQ(c.fm->PrimeRecord(true), fw::Level_Benign);
    EXPECT_EQ(c.fm->Insert(), fw::Level_Benign);
  }
  bool fetchParent(int id) {
    p.rec.ID = static_cast<std::uint16_t>(id);
    return p.fm->TryFetch(PAR_BY_ID) == fw::Level_Benign;
  }
  // Lines per parent number, read in key order.
  std::map<int, int> childrenByParent() {
    std::map<int, int> out;
    EXPECT_EQ(c.fm->Set(CHI_BY_PARENT_LINE), fw::Level_Benign);
    while (c.fm->TryNext() == fw::Level_Benign) ++out[c.rec.PARENTID];
    return out;
  }
  // Two parents: 1 with three lines, 2 with two.
  void addFamilies() {
    ASSERT_EQ(addParent("one"), 1);
    ASSERT_EQ(addParent("two"), 2);
    for (const char* n : {"a", "b", "c"}) addChild(1, n);
    for (const char* n : {"d", "e"}) addChild(2, n);
  }
};

TEST_F(RelationManagerTest, RelationsAreRegisteredOnFirstNeedOnly) {
  EXPECT_EQ(prm.registered, 0);
  ASSERT_EQ(prm.Open(), fw::Level_Benign);
  EXPECT_EQ(prm.registered, 1);
  ASSERT_EQ(prm.Relations().size(), 1u);
  EXPECT_EQ(prm.Relations()[0].HisKey, CHI_BY_PARENT_LINE);
  EXPECT_EQ(prm.Relations()[0].links.size(), 1u);
  ASSERT_EQ(prm.Open(), fw::Level_Benign);
  EXPECT_EQ(prm.registered, 1);
  prm.Close();
  prm.Close();
}

TEST_F(RelationManagerTest, OpenOpensRelatedTablesAndCloseClosesThem) {
  ASSERT_EQ(prm.Open(), fw::Level_Benign);
  EXPECT_TRUE(p.fm->Opened());
  EXPECT_TRUE(c.fm->Opened());
  ASSERT_EQ(crm.Open(), fw::Level_Benign);  // reaches the parent through its lookup
  prm.Close();
  EXPECT_TRUE(c.fm->Opened());  // still open for the child's own window
  crm.Close();
  EXPECT_FALSE(p.fm->Opened());
  EXPECT_FALSE(c.fm->Opened());
}

TEST_F(RelationManagerTest, LinksOutsideTheBuffersAreRefused) {
  std::uint16_t elsewhere = 0;
  prm.AddRelation(crm, fw::RI_None, fw::RI_Cascade, CHI_BY_PARENT_LINE);
  EXPECT_FALSE(prm.AddRelationLink(elsewhere, c.rec.PARENTID));
  EXPECT_FALSE(prm.AddRelationLink(p.rec.ID, elsewhere));
  EXPECT_FALSE(prm.AddRelationLink(p.rec.NAME, c.rec.PARENTID));  // sizes differ
  EXPECT_TRUE(prm.AddRelationLink(p.rec.ID, c.rec.PARENTID));
}

TEST_F(RelationManagerTest, CascadeDeleteRemovesTheRecordWithItsChildren) {
  setModes(fw::RI_None, fw::RI_Cascade);
  addFamilies();
  ASSERT_TRUE(fetchParent(1));
  ASSERT_EQ(prm.Delete(false), fw::Level_Benign);
  EXPECT_FALSE(fetchParent(1));
  EXPECT_TRUE(fetchParent(2));
  EXPECT_EQ(childrenByParent(), (std::map<int, int>{{2, 2}}));
  EXPECT_TRUE(shown().shown().empty());
}

TEST_F(RelationManagerTest, DeleteAsksFirstAndOnlyYesDeletes) {
  setModes(fw::RI_None, fw::RI_Cascade);
  addFamilies();
  struct Case {
    int answer, expected;
    bool deleted;
  };
  for (const Case& k : {Case{fw::Button_No, fw::Level_User, false}, Case{fw::Button_Yes, fw::Level_Benign, true}}) {
    shown().clear();
    shown().answer(k.answer);
    ASSERT_TRUE(fetchParent(1));
    EXPECT_EQ(prm.Delete(true), k.expected);
    EXPECT_EQ(shown().captions(), std::vector<std::string>{"Confirm Delete"});
    EXPECT_EQ(fetchParent(1), !k.deleted);
    EXPECT_EQ(childrenByParent().count(1), k.deleted ? 0u : 1u);
  }
}

TEST_F(RelationManagerTest, ChildThatCannotBeDeletedLeavesEverything) {
  setModes(fw::RI_None, fw::RI_Cascade);
  addFamilies();
  cfail->fail_on = {2};  // the first line goes, the second is held
  ASSERT_TRUE(fetchParent(1));
  EXPECT_EQ(prm.Delete(false), fw::Level_Notify);
  EXPECT_EQ(shown().captions(), std::vector<std::string>{"Record Not Deleted"});
  EXPECT_TRUE(fetchParent(1));
  EXPECT_EQ(childrenByParent(), (std::map<int, int>{{1, 3}, {2, 2}}));
}

TEST_F(RelationManagerTest, TransactionThatCannotBeginDeletesNothing) {
  setModes(fw::RI_None, fw::RI_Cascade);
  addFamilies();
  prm.LogoutTimeout = std::chrono::milliseconds(150);
  ASSERT_TRUE(fetchParent(1));
  {
    StationLock lock("CHILD.TPS", "BEGIN IMMEDIATE");
    ASSERT_TRUE(lock.ok());
    EXPECT_EQ(prm.Delete(false), fw::Level_Notify);
  }
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Transaction Cancelled");
  EXPECT_NE(boxes[0].text.find("PARENT.TPS"), std::string::npos) << boxes[0].text;
  EXPECT_TRUE(fetchParent(1));
  EXPECT_EQ(childrenByParent(), (std::map<int, int>{{1, 3}, {2, 2}}));
}

TEST_F(RelationManagerTest, OwnDeleteFailureOffersToTryAgain) {
  setModes(fw::RI_None, fw::RI_Cascade);
  struct Case {
    const char* what;
    std::vector<int> answers;
    int expected;
    bool deleted;
  };
  const Case cases[] = {{"Yes tries again", {fw::Button_Yes}, fw::Level_Benign, true},
                        {"No gives up", {fw::Button_No}, fw::Level_Notify, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempWorkDir own;
    p.fm->Kill();
    c.fm->Kill();
    p.fm->Init(p.file, te.errors);
    c.fm->Init(c.file, te.errors);
    p.fm->AddKey(PAR_BY_ID, "Parent by id", 1);
    c.fm->AddKey(CHI_BY_PARENT_LINE, "Child by parent and line", 2);
    shown().clear();
    addFamilies();
    pfail->calls = 0;
    pfail->fail_on = {1};
    for (int a : k.answers) shown().answer(a);
    ASSERT_TRUE(fetchParent(1));
    EXPECT_EQ(prm.Delete(false), k.expected);
    EXPECT_EQ(shown().captions(), std::vector<std::string>{"Delete Error"});
    EXPECT_EQ(fetchParent(1), !k.deleted);
    // The lines deleted before the failure came back with the rollback.
    EXPECT_EQ(childrenByParent().count(1), k.deleted ? 0u : 1u);
    if (!k.deleted) {
      EXPECT_EQ(childrenByParent()[1], 3);
    }
    p.fm->Kill();
    c.fm->Kill();
  }
}

TEST_F(RelationManagerTest, RestrictRefusesToDeleteAParentWithChildren) {
  setModes(fw::RI_None, fw::RI_Restrict);
  addFamilies();
  ASSERT_EQ(addParent("lonely"), 3);
  ASSERT_TRUE(fetchParent(1));
  EXPECT_EQ(prm.Delete(false), fw::Level_Notify);
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Referential Integrity Error (Delete)");
  EXPECT_NE(boxes[0].text.find("CHILD.TPS"), std::string::npos) << boxes[0].text;
  EXPECT_TRUE(fetchParent(1));
  EXPECT_EQ(childrenByParent(), (std::map<int, int>{{1, 3}, {2, 2}}));
  ASSERT_TRUE(fetchParent(3));
  EXPECT_EQ(prm.Delete(false), fw::Level_Benign);
  EXPECT_FALSE(fetchParent(3));
}

TEST_F(RelationManagerTest, ClearDeleteKeepsTheChildrenWithoutTheirLink) {
  setModes(fw::RI_None, fw::RI_Clear);
  addFamilies();
  ASSERT_TRUE(fetchParent(1));
  ASSERT_EQ(prm.Delete(false), fw::Level_Benign);
  EXPECT_FALSE(fetchParent(1));
  EXPECT_EQ(childrenByParent(), (std::map<int, int>{{0, 3}, {2, 2}}));
}

TEST_F(RelationManagerTest, ChangingTheLinkedFieldFollowsTheUpdateMode) {
  struct Case {
    const char* what;
    int mode;
    int expected;
    int stored_id;                     // the parent's number afterwards
    std::map<int, int> children;       // lines per parent afterwards
    std::vector<std::string> captions;
  };
  const Case cases[] = {
      {"none", fw::RI_None, fw::Level_Benign, 5, {{1, 3}, {2, 2}}, {}},
      {"clear", fw::RI_Clear, fw::Level_Benign, 5, {{0, 3}, {2, 2}}, {}},
      {"restrict", fw::RI_Restrict, fw::Level_Notify, 1, {{1, 3}, {2, 2}},
       {"Referential Integrity Error (Change)"}},
      {"cascade", fw::RI_Cascade, fw::Level_Benign, 5, {{2, 2}, {5, 3}}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempWorkDir own;
    p.fm->Kill();
    c.fm->Kill();
    prm.Kill();
    prm.Init(*p.fm, true);
    p.fm->Init(p.file, te.errors);
    c.fm->Init(c.file, te.errors);
    p.fm->AddKey(PAR_BY_ID, "Parent by id", 1);
    c.fm->AddKey(CHI_BY_PARENT_LINE, "Child by parent and line", 2);
    setModes(k.mode, fw::RI_None);
    shown().clear();
    addFamilies();
    ASSERT_TRUE(fetchParent(1));
    p.rec.ID = 5;
    rt::setFixed(p.rec.NAME, "renamed");
    EXPECT_EQ(prm.Update(), k.expected);
    EXPECT_EQ(shown().captions(), k.captions);
    if (k.mode == fw::RI_Restrict) {
      EXPECT_EQ(p.rec.ID, 1);  // the link field is put back
    }
    EXPECT_TRUE(fetchParent(k.stored_id));
    EXPECT_EQ(childrenByParent(), k.children);
    p.fm->Kill();
    c.fm->Kill();
  }
}

TEST_F(RelationManagerTest, UpdateWithoutLinkChangeWritesOnlyTheRecord) {
  setModes(fw::RI_Restrict, fw::RI_None);
  addFamilies();
  ASSERT_TRUE(fetchParent(1));
  rt::setFixed(p.rec.NAME, "renamed");
  EXPECT_EQ(prm.Update(), fw::Level_Benign);
  ASSERT_TRUE(fetchParent(1));
  EXPECT_EQ(text(p.rec.NAME, 10), "renamed");
  EXPECT_TRUE(shown().shown().empty());
}

TEST_F(RelationManagerTest, ChildrenAreFoundWhenTheLinkDoesNotLeadTheKey) {
  setModes(fw::RI_None, fw::RI_Cascade);
  prm.link_to_line = true;
  addFamilies();
  ASSERT_TRUE(fetchParent(2));
  ASSERT_EQ(prm.Delete(false), fw::Level_Benign);
  // The second line of each parent went with parent 2.
  EXPECT_EQ(childrenByParent(), (std::map<int, int>{{1, 2}, {2, 1}}));
  c.rec.PARENTID = 1;
  c.rec.LINE = 2;
  EXPECT_EQ(c.fm->TryFetch(CHI_BY_PARENT_LINE), fw::Level_Notify);
}

TEST_F(RelationManagerTest, CancelAutoIncDeletesTheNewRecordByTheRulesWithoutAsking) {
  setModes(fw::RI_None, fw::RI_Cascade);
  addFamilies();
  p.fm->ClearBuffer();
  rt::setFixed(p.rec.NAME, "new");
  ASSERT_EQ(p.fm->PrimeRecord(true), fw::Level_Benign);
  const int id = p.rec.ID;
  ASSERT_EQ(id, 3);
  addChild(id, "x");
  ASSERT_TRUE(fetchParent(2));  // the browse reads on meanwhile
  EXPECT_EQ(prm.CancelAutoInc(), fw::Level_Benign);
  EXPECT_TRUE(shown().shown().empty());
  EXPECT_FALSE(fetchParent(id));
  EXPECT_TRUE(fetchParent(1));
  EXPECT_EQ(childrenByParent(), (std::map<int, int>{{1, 3}, {2, 2}}));
}

}  // namespace
