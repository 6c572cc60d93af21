// The browse manager's use of the relation and file managers: the parent field behind a range by
// relation, and new records primed through the file manager's auto-numbering.
#include <gtest/gtest.h>

#include "framework/browse_class.h"
#include "framework/manager_test_tables.h"
#include "framework/relation_manager.h"
#include "framework/view_manager.h"

namespace {

using namespace fw_test;

struct Dictionary {
  TestErrors te;
  TestTable<Parent> parent{parentDef(), te.errors, std::make_unique<fw::FileManager>()};
  TestTable<Child> child{childDef(), te.errors, std::make_unique<fw::FileManager>()};
  fw::RelationManager parentRm, childRm;
  Dictionary() {
    parent.fm->AddKey(PAR_BY_ID, "By id", 1);
    child.fm->AddKey(CHI_BY_PARENT_LINE, "By parent and line", 2);
    parentRm.Init(*parent.fm, true);
    childRm.Init(*child.fm, true);
    parentRm.AddRelation(childRm, fw::RI_None, fw::RI_Cascade, CHI_BY_PARENT_LINE);
    parentRm.AddRelationLink(parent.rec.ID, child.rec.PARENTID);
    childRm.AddRelation(parentRm);
  }
};

TEST(BrowseRelation, ParentFieldIsTheOneTheParentsRelationLinksToTheChildField) {
  TempWorkDir dir;
  Dictionary d;
  EXPECT_EQ(fw::ParentFieldOf(&d.child.rec.PARENTID, d.childRm, d.parentRm), &d.parent.rec.ID);
  EXPECT_EQ(fw::ParentFieldOf(&d.child.rec.LINE, d.childRm, d.parentRm), nullptr);   // not linked
  EXPECT_EQ(fw::ParentFieldOf(&d.parent.rec.ID, d.parentRm, d.childRm), nullptr);    // no such relation
}

TEST(BrowseRelation, PrimingAViewWithARangeByRelationNumbersWithinTheParentAndReserves) {
  TempWorkDir dir;
  Dictionary d;
  ASSERT_EQ(d.childRm.Open(), 0);
  fw::ViewManager view;
  view.Init(d.child.file, &d.child.rec);
  ASSERT_TRUE(view.SetOrder(CHI_BY_PARENT_LINE));
  const void* parentField = fw::ParentFieldOf(&d.child.rec.PARENTID, d.childRm, d.parentRm);
  ASSERT_NE(parentField, nullptr);
  ASSERT_TRUE(view.AddRangeByRelation(0, parentField));
  view.PrimePrimary = fw::PrimeThrough(d.childRm);

  struct Step {
    std::uint16_t parent;
    std::uint16_t line;  // the number the new record gets
  };
  for (const Step& s : {Step{7, 1}, Step{7, 2}, Step{3, 1}, Step{7, 3}}) {
    SCOPED_TRACE(std::to_string(s.parent) + "/" + std::to_string(s.line));
    d.parent.rec.ID = s.parent;
    std::memcpy(d.child.rec.NOTE, "leftover  ", 10);
    ASSERT_EQ(view.PrimeRecord(), 0);
    EXPECT_EQ(d.child.rec.PARENTID, s.parent);
    EXPECT_EQ(d.child.rec.LINE, s.line);
    EXPECT_EQ(text(d.child.rec.NOTE, 10), "");  // cleared before numbering
  }
  // Every primed record is already in the table: the view lists parent 7's three lines.
  d.parent.rec.ID = 7;
  std::vector<fw::ViewRow> rows;
  ASSERT_TRUE(view.ReadFirst(10, rows).ok());
  ASSERT_EQ(rows.size(), 3u);
  // Giving the last one back removes it again.
  EXPECT_EQ(d.childRm.CancelAutoInc(), 0);
  ASSERT_TRUE(view.ReadFirst(10, rows).ok());
  EXPECT_EQ(rows.size(), 2u);
  d.childRm.Close();
}

}  // namespace
