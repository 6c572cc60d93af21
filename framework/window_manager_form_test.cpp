// The window manager as a form, driven through the scripted front end: a small item table (an
// auto-numbered code, a unique description, a price) and a form over it with a required
// description and price, OK and Cancel buttons and Ctrl+H history on both fields. Each test runs
// one or more calls of the form on the program's thread and looks at the responses, the
// questions asked, the window and what the table holds afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/error_class.h"
#include "framework/file_manager.h"
#include "framework/manager_test_support.h"
#include "framework/relation_manager.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "runtime/fixed_string.h"
#include "runtime/vocabulary.h"
#include "runtime/window.h"
#include "runtime/window_decl.h"
#include "store/file.h"
#include "store/table_def.h"
#include "ui/scripted/program_driver.h"

namespace {

#pragma pack(push, 1)
struct Item {
  std::uint16_t ID;
  char DESC[10];
  std::int32_t PRICE;
};
#pragma pack(pop)
static_assert(sizeof(Item) == 16);

enum { ITM_BY_ID = 0, ITM_BY_DESC = 1 };

const store::TableDef& itemDef() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "ITEMS";
    d.prefix = "ITM";
    d.record_size = sizeof(Item);
    d.fields = {{"ID", store::FieldType::UShort, 0, 2, 0},
                {"DESC", store::FieldType::String, 2, 10, 0},
                {"PRICE", store::FieldType::Long, 12, 4, 0}};
    d.keys = {store::KeyDef{"BY_ID", {0}, true, false, false, false},
              store::KeyDef{"BY_DESC", {1}, false, false, true, true}};
    return d;
  }();
  return def;
}

constexpr int kId = 1, kDesc = 2, kPrice = 3, kOk = 4, kCancel = 5;
constexpr const char* kTitle = "Item";

// One call of the form: the request and the record it is opened on (0 = a new, primed record).
struct Call {
  int request = fw::ChangeRecord;
  std::uint16_t id = 1;
};

struct Config {
  std::vector<Call> calls{Call{}};
  std::uint8_t cancel_action = fw::Cancel_Confirm;
  std::uint8_t delete_action = fw::Action_Close;
  bool toolbar = true;
  std::int32_t vcr = 0;  // a row-navigation request pending while the form is open
};

// What the program saw; read by the test after the program has ended.
struct Result {
  std::vector<int> responses;
  std::vector<int> init_results;
  std::vector<bool> opened;
  int inserts = 0, updates = 0, deletes = 0;  // writes that reached the file manager
  std::vector<std::string> stored;            // "ID:DESC:PRICE" in code order, after the calls
};

Config g_config;
Result g_result;
std::mutex g_mu;
std::shared_ptr<fw_test::RecordingPresenter> g_presenter;
std::unique_ptr<fw::ErrorClass> g_errors;
thread_local std::int32_t t_vcr = 0;

class CountingFileManager : public fw::FileManager {
 public:
  int TryInsert() override {
    std::lock_guard lk(g_mu);
    ++g_result.inserts;
    return fw::FileManager::TryInsert();
  }
  int TryUpdate() override {
    std::lock_guard lk(g_mu);
    ++g_result.updates;
    return fw::FileManager::TryUpdate();
  }
  int TryDelete() override {
    std::lock_guard lk(g_mu);
    ++g_result.deletes;
    return fw::FileManager::TryDelete();
  }
};

rt::WindowDecl formDecl(Item& rec) {
  rt::WindowDecl decl(kTitle);
  decl.size(160, 80)
      .control(rt::ControlDecl::entry(kId, "@n_5").at(50, 4, 30, 10).use(rt::Binding::ushort(rec.ID)).readOnly().skip())
      .control(rt::ControlDecl::entry(kDesc, "@s10").at(50, 18, 60, 10).use(rt::Binding::string(rec.DESC)).required())
      .control(rt::ControlDecl::entry(kPrice, "@n-7").at(50, 32, 40, 10).use(rt::Binding::long_(rec.PRICE)).required())
      .control(rt::ControlDecl::button(kOk, "&OK").at(50, 56, 40, 14))
      .control(rt::ControlDecl::button(kCancel, "&Cancel").at(100, 56, 40, 14));
  return decl;
}

class ItemForm : public fw::WindowManager {
 public:
  ItemForm(rt::Window& w, Item& rec, Item& history, fw::FileManager& fm, fw::RelationManager& rm, int request)
      : fw::WindowManager(w), rec_(rec), history_(history), fm_(fm), rm_(rm), request_(request) {}

  int Init() override {
    Request = request_;
    if (int r = fw::WindowManager::Init(); r != fw::Level_Benign) return r;
    FirstField = kDesc;
    t_vcr = g_config.vcr;
    VCRRequest = &t_vcr;
    Errors = g_errors.get();
    if (g_config.toolbar) AddItem(toolbar_);
    HistoryKey = rt::CtrlH;
    AddHistoryFile(rec_, history_, itemDef());
    AddHistoryField(kDesc, 2);
    AddHistoryField(kPrice, 3);
    AddUpdateFile(fm_);
    AddItem(kCancel, fw::RequestCancelled);
    Primary = &rm_;
    if (Request == fw::ViewRecord) {
      InsertAction = ChangeAction = DeleteAction = fw::Action_NotOffered;
      CancelAction = 0;
    } else {
      CancelAction = g_config.cancel_action;
      DeleteAction = g_config.delete_action;
      OKControl = kOk;
      if (PrimeUpdate() != fw::Level_Benign) return init_result_ = fw::Level_Handled;
    }
    if (Open(formDecl(rec_)) != rt::OpenResult::Ok) return init_result_ = fw::Level_Fatal;
    if (Request == fw::ViewRecord)
      for (int feq : {kDesc, kPrice}) Window().setReadOnly(feq, true);
    SetAlerts();
    return fw::Level_Benign;
  }

  int init_result_ = fw::Level_Benign;

 private:
  Item& rec_;
  Item& history_;
  fw::FileManager& fm_;
  fw::RelationManager& rm_;
  int request_;
  fw::ToolbarClass toolbar_;
};

void putItem(fw::FileManager& fm, Item& rec, std::uint16_t id, const char* desc, std::int32_t price) {
  rec.ID = id;
  std::memset(rec.DESC, ' ', sizeof rec.DESC);
  std::memcpy(rec.DESC, desc, std::strlen(desc));
  rec.PRICE = price;
  (void)fm.TryInsert();
}

// The program: seeds two items, runs the configured calls of the form, records what is stored.
void program() {
  Item rec{};
  Item history{};
  std::memset(history.DESC, ' ', sizeof history.DESC);
  store::File file(itemDef(), &rec);
  file.setBusyTimeout(std::chrono::milliseconds(100));  // another station's lock fails a write soon
  CountingFileManager fm;
  fm.Buffer = reinterpret_cast<unsigned char*>(&rec);
  fm.RecordSize = sizeof rec;
  fm.Init();
  fm.Init(file, *g_errors);
  fm.Create = true;
  fm.AddKey(ITM_BY_ID, "By code", 1);
  fm.AddKey(ITM_BY_DESC, "By description", 0);
  fw::RelationManager rm;
  rm.Init(fm, false);
  if (rm.Open() != fw::Level_Benign) return;
  putItem(fm, rec, 1, "Apple", 150);
  putItem(fm, rec, 2, "Pear", 90);

  for (const Call& c : g_config.calls) {
    if (c.request == fw::InsertRecord) {
      (void)fm.PrimeRecord();
    } else {
      rec.ID = c.id;
      (void)fm.Fetch(ITM_BY_ID);
    }
    {
      std::lock_guard lk(g_mu);
      g_result.inserts = g_result.updates = g_result.deletes = 0;
    }
    rt::Window window;
    int response = 0, init = 0;
    bool opened = false;
    {
      ItemForm form(window, rec, history, fm, rm, c.request);
      response = form.Run();
      init = form.init_result_;
      opened = form.Opened;
    }
    window.close();
    std::lock_guard lk(g_mu);
    g_result.responses.push_back(response);
    g_result.init_results.push_back(init);
    g_result.opened.push_back(opened);
  }

  std::vector<std::string> stored;
  if (fm.Set(ITM_BY_ID) == fw::Level_Benign)
    while (fm.TryNext() == fw::Level_Benign)
      stored.push_back(std::to_string(rec.ID) + ":" + std::string(rt::clipped(rec.DESC, sizeof rec.DESC)) + ":" +
                       std::to_string(rec.PRICE));
  rm.Close();
  rm.Kill();
  fm.Kill();
  std::lock_guard lk(g_mu);
  g_result.stored = stored;
}

std::string trimmed(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

const std::vector<std::string> kSeeded{"1:Apple:150", "2:Pear:90"};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { drop(); }
  // A fresh configuration, result and error manager (each case of a table starts with one).
  void reset() {
    drop();
    g_config = Config{};
    g_result = Result{};
    g_presenter = std::make_shared<fw_test::RecordingPresenter>();
    g_errors = std::make_unique<fw::ErrorClass>(g_presenter);
    g_errors->Init(status_);
  }
  void drop() {
    if (!g_errors) return;
    g_errors->Kill();
    g_errors.reset();
  }
  // Message captions shown so far.
  std::vector<std::string> captions() { return g_presenter->captions(); }
  bool asked(const std::string& caption) {
    for (const auto& c : captions())
      if (c == caption) return true;
    return false;
  }
  Result finish(scripted::Program& p) {
    EXPECT_EQ(p.end(), 0);
    std::lock_guard lk(g_mu);
    return g_result;
  }
  std::string caption(int id) {
    // The captions of the framework's own catalogue, looked up once through a silent presenter.
    auto probe = std::make_shared<fw_test::RecordingPresenter>();
    fw::ErrorClass e(probe);
    fw::ErrorStatusClass st;
    e.Init(st);
    (void)e.AskMessage(static_cast<std::uint16_t>(id), rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_NO);
    e.Kill();
    auto shown = probe->shown();
    return shown.empty() ? std::string() : shown.front().caption;
  }

  fw::ErrorStatusClass status_;
};

// OK runs the accept-all pass and writes by the request; what the user typed decides what is
// written and whether the pass gets through at all.
TEST_F(FormTest, OkWritesByTheRequestOrStopsAtARequiredField) {
  struct Case {
    const char* name;
    int request;
    const char* desc;   // typed into the description (nullptr = left alone)
    const char* price;  // typed into the price (nullptr = left alone)
    bool closes;
    int focus;          // where the focus is when the form stays open
    int inserts, updates;
    std::vector<std::string> stored;
  };
  const std::vector<Case> cases = {
      {"unchanged change", fw::ChangeRecord, nullptr, nullptr, true, 0, 0, 0, kSeeded},
      {"changed change", fw::ChangeRecord, "Apricot", nullptr, true, 0, 0, 1, {"1:Apricot:150", "2:Pear:90"}},
      {"insert", fw::InsertRecord, "Plum", "30", true, 0, 1, 0, {"1:Apple:150", "2:Pear:90", "3:Plum:30"}},
      {"blank description", fw::InsertRecord, "", "30", false, kDesc, 0, 0, {}},
      {"zero price", fw::InsertRecord, "Plum", "0", false, kPrice, 0, 0, {}},
      {"description emptied", fw::ChangeRecord, "", nullptr, false, kDesc, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    g_config.calls = {Call{c.request, 1}};
    scripted::Program p(program);
    ASSERT_TRUE(p.waitIdle());
    if (c.desc) {
      ASSERT_TRUE(p.typeText(kTitle, kDesc, c.desc));
    }
    if (c.price) {
      ASSERT_TRUE(p.typeText(kTitle, kPrice, c.price));
    }
    ASSERT_TRUE(p.click(kTitle, kOk));
    if (!c.closes) {
      ASSERT_TRUE(p.hasWindow(kTitle));
      EXPECT_EQ(p.focus(kTitle), c.focus);
      // Leave without saving: whatever the cancel asks is answered Yes.
      g_presenter->answer(rt::BUTTON_YES);
      ASSERT_TRUE(p.click(kTitle, kCancel));
    }
    Result r = finish(p);
    ASSERT_EQ(r.responses.size(), 1u);
    EXPECT_EQ(r.responses[0], c.closes ? fw::RequestCompleted : fw::RequestCancelled);
    EXPECT_EQ(r.inserts, c.inserts);
    EXPECT_EQ(r.updates, c.updates);
    EXPECT_EQ(r.stored, c.stored.empty() ? kSeeded : c.stored);
  }
}

TEST_F(FormTest, ADuplicateDescriptionIsReportedNamingTheKeyAndTheFormStaysOpenWithTheValues) {
  g_config.calls = {Call{fw::InsertRecord, 0}};
  scripted::Program p(program);
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.typeText(kTitle, kDesc, "Pear"));
  ASSERT_TRUE(p.typeText(kTitle, kPrice, "45"));
  ASSERT_TRUE(p.click(kTitle, kOk));
  ASSERT_TRUE(p.hasWindow(kTitle));
  auto shown = g_presenter->shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, caption(15));
  EXPECT_NE(shown[0].text.find("By description"), std::string::npos) << shown[0].text;
  EXPECT_EQ(p.text(kTitle, kDesc), "Pear");
  EXPECT_EQ(trimmed(p.text(kTitle, kPrice)), "45");

  // A corrected description then goes in as the reserved code.
  ASSERT_TRUE(p.typeText(kTitle, kDesc, "Quince"));
  ASSERT_TRUE(p.click(kTitle, kOk));
  Result r = finish(p);
  EXPECT_EQ(r.responses, std::vector<int>{fw::RequestCompleted});
  EXPECT_EQ(r.stored, (std::vector<std::string>{"1:Apple:150", "2:Pear:90", "3:Quince:45"}));
}

// A delete is carried out before the window would open; the window never opens.
TEST_F(FormTest, DeleteIsCarriedOutWithoutOpeningTheWindow) {
  struct Case {
    const char* name;
    std::uint8_t action;
    int answer;  // to message 11, when it is asked
    bool asks;
    int response;
    std::vector<std::string> stored;
  };
  const std::vector<Case> cases = {
      {"confirmed", fw::Action_Close, rt::BUTTON_YES, true, fw::RequestCompleted, {"2:Pear:90"}},
      {"refused", fw::Action_Close, rt::BUTTON_NO, true, fw::RequestCancelled, kSeeded},
      {"without a question", fw::Action_Ask, 0, false, fw::RequestCompleted, {"2:Pear:90"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    g_config.calls = {Call{fw::DeleteRecord, 1}};
    g_config.delete_action = c.action;
    if (c.answer) g_presenter->answer(c.answer);
    scripted::Program p(program);
    Result r = finish(p);
    EXPECT_EQ(r.responses, std::vector<int>{c.response});
    EXPECT_EQ(r.init_results, std::vector<int>{fw::Level_Handled});
    EXPECT_EQ(r.opened, std::vector<bool>{false});
    EXPECT_EQ(asked(caption(11)), c.asks);
    EXPECT_EQ(r.stored, c.stored);
  }
}

// Cancel asks only about a record that differs from what the form was opened with, and only as
// CancelAction says.
TEST_F(FormTest, CancelAsksByCancelActionOnlyForAChangedRecord) {
  struct Case {
    const char* name;
    std::uint8_t cancel_action;
    const char* desc;  // typed before cancelling (nullptr = nothing)
    int answer;        // to the question, when one is asked
    int question;      // message expected (0 = none)
    bool closes;
    int then;          // when it stays open: the answer that lets the next cancel close it
    int response;
    std::vector<std::string> stored;
  };
  const std::vector<Case> cases = {
      {"unchanged", fw::Cancel_Confirm, nullptr, 0, 0, true, 0, fw::RequestCancelled, kSeeded},
      {"confirm yes", fw::Cancel_Confirm, "Apricot", rt::BUTTON_YES, 10, true, 0, fw::RequestCancelled, kSeeded},
      {"confirm no", fw::Cancel_Confirm, "Apricot", rt::BUTTON_NO, 10, false, rt::BUTTON_YES, 0, {}},
      {"no question", 0, "Apricot", 0, 0, true, 0, fw::RequestCancelled, kSeeded},
      {"offer save yes", fw::Cancel_OfferSave, "Apricot", rt::BUTTON_YES, 38, true, 0, fw::RequestCompleted,
       {"1:Apricot:150", "2:Pear:90"}},
      {"offer save no", fw::Cancel_OfferSave, "Apricot", rt::BUTTON_NO, 38, true, 0, fw::RequestCancelled, kSeeded},
      {"offer save cancel", fw::Cancel_OfferSave, "Apricot", rt::BUTTON_CANCEL, 38, false, rt::BUTTON_NO, 0, {}},
      {"both flags ask to save", fw::Cancel_OfferSave | fw::Cancel_Confirm, "Apricot", rt::BUTTON_NO, 38, true, 0,
       fw::RequestCancelled, kSeeded},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    g_config.cancel_action = c.cancel_action;
    scripted::Program p(program);
    ASSERT_TRUE(p.waitIdle());
    if (c.desc) {
      ASSERT_TRUE(p.typeText(kTitle, kDesc, c.desc));
    }
    if (c.answer) g_presenter->answer(c.answer);
    ASSERT_TRUE(p.click(kTitle, kCancel));
    if (c.question) {
      EXPECT_EQ(captions(), std::vector<std::string>{caption(c.question)});
    } else {
      EXPECT_TRUE(captions().empty());
    }
    if (!c.closes) {
      ASSERT_TRUE(p.hasWindow(kTitle));
      EXPECT_EQ(p.focus(kTitle), kDesc);
      EXPECT_EQ(p.text(kTitle, kDesc), c.desc);  // the user's value is still there
      g_presenter->answer(c.then);
      ASSERT_TRUE(p.closeWindow(kTitle));
    }
    Result r = finish(p);
    EXPECT_EQ(r.responses, std::vector<int>{c.closes ? c.response : fw::RequestCancelled});
    EXPECT_EQ(r.stored, c.stored.empty() ? kSeeded : c.stored);
  }
}

TEST_F(FormTest, ACancelledInsertGivesItsReservedRecordBack) {
  struct Case {
    const char* name;
    const char* desc;
  };
  for (const Case& c : {Case{"typed into", "Plum"}, Case{"untouched", nullptr}}) {
    SCOPED_TRACE(c.name);
    reset();
    g_config.calls = {Call{fw::InsertRecord, 0}, Call{fw::InsertRecord, 0}};
    scripted::Program p(program);
    ASSERT_TRUE(p.waitIdle());
    EXPECT_EQ(trimmed(p.text(kTitle, kId)), "3");  // the reserved code
    if (c.desc) {
      ASSERT_TRUE(p.typeText(kTitle, kDesc, c.desc));
    }
    g_presenter->answer(rt::BUTTON_YES);
    ASSERT_TRUE(p.click(kTitle, kCancel));
    // The next insert gets the same code again: the reservation was given back.
    ASSERT_TRUE(p.waitIdle());
    EXPECT_EQ(trimmed(p.text(kTitle, kId)), "3");
    ASSERT_TRUE(p.typeText(kTitle, kDesc, "Fig"));
    ASSERT_TRUE(p.typeText(kTitle, kPrice, "12"));
    ASSERT_TRUE(p.click(kTitle, kOk));
    Result r = finish(p);
    EXPECT_EQ(r.responses, (std::vector<int>{fw::RequestCancelled, fw::RequestCompleted}));
    EXPECT_EQ(r.stored, (std::vector<std::string>{"1:Apple:150", "2:Pear:90", "3:Fig:12"}));
  }
}

TEST_F(FormTest, CtrlHPutsBackTheFieldAsTheLastCompletedFormLeftIt) {
  g_config.calls = {Call{fw::ChangeRecord, 1}, Call{fw::ChangeRecord, 2}};
  scripted::Program p(program);
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.typeText(kTitle, kDesc, "Banana"));
  ASSERT_TRUE(p.click(kTitle, kOk));
  ASSERT_TRUE(p.waitIdle());
  ASSERT_EQ(p.text(kTitle, kDesc), "Pear");
  ASSERT_TRUE(p.focus(kTitle, kDesc));
  ASSERT_TRUE(p.pressKey(kTitle, kDesc, rt::CtrlH));
  EXPECT_EQ(p.text(kTitle, kDesc), "Banana");
  EXPECT_EQ(trimmed(p.text(kTitle, kPrice)), "90");  // only the field the key was pressed in
  ASSERT_TRUE(p.pressKey(kTitle, kPrice, rt::CtrlH));
  EXPECT_EQ(trimmed(p.text(kTitle, kPrice)), "150");
  g_presenter->answer(rt::BUTTON_YES);  // the cancel question: the put-back values are changes
  ASSERT_TRUE(p.click(kTitle, kCancel));
  Result r = finish(p);
  EXPECT_EQ(r.responses, (std::vector<int>{fw::RequestCompleted, fw::RequestCancelled}));
  EXPECT_EQ(captions(), std::vector<std::string>{caption(10)});
  EXPECT_EQ(r.stored, (std::vector<std::string>{"1:Banana:150", "2:Pear:90"}));
}

TEST_F(FormTest, ViewWritesNothingAndReportsCancelled) {
  g_config.calls = {Call{fw::ViewRecord, 2}};
  scripted::Program p(program);
  ASSERT_TRUE(p.waitIdle());
  EXPECT_TRUE(p.readOnly(kTitle, kDesc));
  ASSERT_TRUE(p.focus(kTitle, kDesc));
  ASSERT_TRUE(p.pressKey(kTitle, kDesc, rt::CtrlH));
  EXPECT_EQ(p.text(kTitle, kDesc), "Pear");
  ASSERT_TRUE(p.click(kTitle, kOk));  // no OK control when viewing
  ASSERT_TRUE(p.click(kTitle, kCancel));
  Result r = finish(p);
  EXPECT_EQ(r.responses, std::vector<int>{fw::RequestCancelled});
  EXPECT_TRUE(captions().empty());
  EXPECT_EQ(r.inserts + r.updates + r.deletes, 0);
  EXPECT_EQ(r.stored, kSeeded);
}

}  // namespace

namespace {

// Without a write the response is still "completed" for a form with a toolbar and no row
// navigation pending; otherwise the form closes as cancelled, so that a browse does not
// refresh for nothing.
TEST_F(FormTest, OkWithoutAWriteCompletesOnlyWithAToolbarAndNoNavigationPending) {
  struct Case {
    const char* name;
    bool toolbar;
    std::int32_t vcr;
    int response;
  };
  const std::vector<Case> cases = {
      {"toolbar", true, fw::VCRNone, fw::RequestCompleted},
      {"no toolbar", false, fw::VCRNone, fw::RequestCancelled},
      {"navigation pending", true, fw::VCRForward, fw::RequestCancelled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    g_config.toolbar = c.toolbar;
    g_config.vcr = c.vcr;
    scripted::Program p(program);
    ASSERT_TRUE(p.waitIdle());
    ASSERT_TRUE(p.click(kTitle, kOk));
    Result r = finish(p);
    EXPECT_EQ(r.responses, std::vector<int>{c.response});
    EXPECT_EQ(r.updates, 0);
    EXPECT_TRUE(captions().empty());
  }
}

// Another station holds the table while OK writes: the failure is reported and message 37 asks
// whether to try again. No closes as cancelled; Cancel goes back to the form with the values, and
// a later OK writes once the station has let go.
TEST_F(FormTest, AWriteHeldByAnotherStationAsksToRetry) {
  struct Case {
    const char* name;
    int answer;
    bool closes;
  };
  for (const Case& c : {Case{"no", rt::BUTTON_NO, true}, Case{"cancel", rt::BUTTON_CANCEL, false}}) {
    SCOPED_TRACE(c.name);
    reset();
    scripted::Program p(program);
    ASSERT_TRUE(p.waitIdle());
    ASSERT_TRUE(p.typeText(kTitle, kDesc, "Apricot"));
    {
      fw_test::StationLock station("ITEMS.TPS", "BEGIN IMMEDIATE");
      ASSERT_TRUE(station.ok());
      g_presenter->answer(rt::BUTTON_OK);  // the report of the failed write
      g_presenter->answer(c.answer);
      ASSERT_TRUE(p.click(kTitle, kOk));
      const auto shown = captions();
      ASSERT_EQ(shown.size(), 2u);
      EXPECT_EQ(shown[1], caption(37));
      EXPECT_EQ(p.hasWindow(kTitle), !c.closes);
    }
    if (!c.closes) {
      EXPECT_EQ(p.text(kTitle, kDesc), "Apricot");
      EXPECT_EQ(p.focus(kTitle), kDesc);
      ASSERT_TRUE(p.click(kTitle, kOk));
    }
    Result r = finish(p);
    EXPECT_EQ(r.responses, std::vector<int>{c.closes ? fw::RequestCancelled : fw::RequestCompleted});
    EXPECT_EQ(r.stored, (c.closes ? kSeeded : std::vector<std::string>{"1:Apricot:150", "2:Pear:90"}));
  }
}

// A record changed by another station since the form was opened is not overwritten: the change
// is refused and reported, the form stays open, and the other station's values stay stored.
TEST_F(FormTest, AChangeDoesNotOverwriteARecordAnotherStationChangedMeanwhile) {
  scripted::Program p(program);
  ASSERT_TRUE(p.waitIdle());
  {
    Item other{};
    store::File f(itemDef(), &other);
    ASSERT_TRUE(f.open().ok());
    other.ID = 1;
    ASSERT_TRUE(f.fetch(ITM_BY_ID).ok());
    other.PRICE = 999;
    ASSERT_TRUE(f.put().ok());
    f.close();
  }
  ASSERT_TRUE(p.typeText(kTitle, kDesc, "Apricot"));
  ASSERT_TRUE(p.click(kTitle, kOk));
  ASSERT_TRUE(p.hasWindow(kTitle));
  EXPECT_EQ(captions().size(), 1u);
  EXPECT_EQ(p.text(kTitle, kDesc), "Apricot");
  g_presenter->answer(rt::BUTTON_YES);
  ASSERT_TRUE(p.click(kTitle, kCancel));
  Result r = finish(p);
  EXPECT_EQ(r.responses, std::vector<int>{fw::RequestCancelled});
  EXPECT_EQ(r.updates, 0);
  EXPECT_EQ(r.stored, (std::vector<std::string>{"1:Apple:999", "2:Pear:90"}));
}

}  // namespace
