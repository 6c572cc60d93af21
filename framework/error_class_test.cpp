#include "framework/error_class.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using fw::ErrorClass;
using fw::ErrorStatusClass;
using fw::MessageIcon;

struct Shown {
  std::string text, caption;
  MessageIcon icon;
  int buttons, default_button;
  std::thread::id thread;
};

// Records every box, answers from a queue (else with the default button) and notes requests to
// end the program. It also notices two boxes open at once.
class RecordingPresenter final : public fw::MessagePresenter {
 public:
  int show(std::string_view text, std::string_view caption, MessageIcon icon, int buttons,
           int default_button) override {
    if (open_.fetch_add(1) != 0) overlapped_ = true;
    if (linger_) std::this_thread::sleep_for(std::chrono::microseconds(200));
    int answer = default_button;
    {
      std::lock_guard lock(mutex_);
      shown_.push_back({std::string(text), std::string(caption), icon, buttons, default_button,
                        std::this_thread::get_id()});
      if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
      }
    }
    open_.fetch_sub(1);
    return answer;
  }
  void endProgram(int exit_code) override {
    std::lock_guard lock(mutex_);
    end_codes_.push_back(exit_code);
  }

  void answer(int button) {
    std::lock_guard lock(mutex_);
    answers_.push_back(button);
  }
  std::vector<Shown> shown() {
    std::lock_guard lock(mutex_);
    return shown_;
  }
  Shown last() {
    std::lock_guard lock(mutex_);
    return shown_.empty() ? Shown{} : shown_.back();
  }
  std::vector<int> endCodes() {
    std::lock_guard lock(mutex_);
    return end_codes_;
  }
  bool overlapped() const { return overlapped_; }
  void linger() { linger_ = true; }

 private:
  std::mutex mutex_;
  std::vector<Shown> shown_;
  std::deque<int> answers_;
  std::vector<int> end_codes_;
  std::atomic<int> open_{0};
  std::atomic<bool> overlapped_{false};
  bool linger_ = false;
};

// An error manager with a recording presenter and a small table of test messages.
struct Fixture {
  std::shared_ptr<RecordingPresenter> presenter = std::make_shared<RecordingPresenter>();
  ErrorClass errors{presenter};
  ErrorStatusClass status;

  Fixture() { errors.Init(status); }

  void define(std::uint16_t id, std::uint8_t severity, std::string title, std::string text) {
    const std::vector<fw::ErrorEntry> entries = {{id, severity, std::move(title), std::move(text)}};
    fw::ErrorBlockResult block = fw::encodeErrorBlock(entries);
    ASSERT_TRUE(block.ok) << block.error;
    ASSERT_TRUE(errors.AddErrors(block.block));
  }
  // The text shown when a notice with this text is raised.
  std::string shownText(const std::string& text) {
    define(900, fw::Severity_Notice, "Test", text);
    errors.Throw(900);
    return presenter->last().text;
  }
};

TEST(ErrorClass, PlaceholdersAreFilledLongestNameFirst) {
  struct Case {
    const char* text;
    int error_code;
    const char* expected;
  };
  const Case cases[] = {
      {"%FileErrorCode/%FileError/%File", 5, "14/disk I/O error/CABECERA"},
      {"%File%FileError%FileErrorCode", 5, "CABECERAdisk I/O error14"},
      {"[%Key] [%Field] [%Message] [%Category]", 5,
       "[CAB:POR_NUMERO] [CAB:FECHA] [free text] [APP]"},
      {"%ErrorCode|%ErrorText|%Error", 5, "5\nAccess Denied (5)\nAccess Denied"},
      {"%ErrorText", 2, "File Not Found (2)"},
      // Errors of the file system and of the driver show the store's own text and code.
      {"Error: (%ErrorText) creando %File.", 90, "Error: (disk I/O error (14)) creando CABECERA."},
      {"%ErrorText", 100, "disk I/O error (14)"},
      {"%ErrorCode %Error", 90, "90 Access Denied"},
      {"%Errors and %Filename", 5, "Access Denieds and CABECERAname"},
      {"100% sure, %Unknown and %", 5, "100% sure, %Unknown and %"},
      {"no placeholders", 5, "no placeholders"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.errors.SetFile("CABECERA");
    f.errors.SetKey("CAB:POR_NUMERO");
    f.errors.SetField("CAB:FECHA");
    f.errors.SetMessage("free text");
    const char* text = c.error_code == 2 ? "File Not Found" : "Access Denied";
    f.errors.SetErrors(c.error_code, text, 14, "disk I/O error");
    EXPECT_EQ(f.shownText(c.text), c.expected) << c.text;
  }
}

TEST(ErrorClass, ErrorsCanComeFromAStatusResult) {
  struct Status {
    int code;
    std::string text;
    int store_code;
    std::string store_text;
  };
  Fixture f;
  f.errors.SetErrors(Status{90, "File system error", 28, "No space left on device"});
  EXPECT_EQ(f.shownText("%ErrorCode: %ErrorText / %Error / %FileErrorCode %FileError"),
            "90: No space left on device (28) / File system error / 28 No space left on device");
}

TEST(ErrorClass, ValuesAreNeverSearchedForPlaceholders) {
  Fixture f;
  f.errors.SetFile("A%KeyB");
  f.errors.SetKey("KEY");
  f.errors.SetMessage("%File %Procedure");
  f.errors.SetProcedureName("Main");
  EXPECT_EQ(f.shownText("%File / %Key / %Message"), "A%KeyB / KEY / %File %Procedure");
}

TEST(ErrorClass, CategoryCanBeChanged) {
  Fixture f;
  f.errors.SetCategory("FILE");
  EXPECT_EQ(f.shownText("%Category"), "FILE");
}

TEST(ErrorClass, PreviousIsTheTextOfTheMessageRaisedBefore) {
  Fixture f;
  f.define(901, fw::Severity_Notice, "One", "first %File");
  f.define(902, fw::Severity_Notice, "Two", "now [%Previous]");
  f.errors.SetFile("ITEMS");

  f.errors.Throw(902);
  EXPECT_EQ(f.presenter->last().text, "now []") << "nothing was raised before";

  f.errors.Throw(901);
  f.errors.Throw(902);
  // The earlier message's text as catalogued: its own placeholders are not filled in.
  EXPECT_EQ(f.presenter->last().text, "now [first %File]");

  f.errors.Throw(902);
  EXPECT_EQ(f.presenter->last().text, "now [now [%Previous]]");

  f.errors.Throw(777);  // not in the table
  f.errors.Throw(902);
  EXPECT_EQ(f.presenter->last().text, "now []");
}

TEST(ErrorClass, ProcedureIsTheTopOfANestedStack) {
  Fixture f;
  struct Step {
    const char* push;  // nullptr pops
    const char* expected;
  };
  const Step steps[] = {
      {"Main", "Main"},
      {"Browse:Cabecera", "Browse:Cabecera"},
      {"Actualiza:Cabecera", "Actualiza:Cabecera"},
      {nullptr, "Browse:Cabecera"},
      {"Browse:Articulos", "Browse:Articulos"},
      {nullptr, "Browse:Cabecera"},
      {nullptr, "Main"},
      {nullptr, ""},
      {nullptr, ""},  // popping an empty stack changes nothing
      {"Main", "Main"},
  };
  for (const Step& s : steps) {
    if (s.push != nullptr) {
      f.errors.SetProcedureName(s.push);
    } else {
      f.errors.SetProcedureName();
    }
    EXPECT_EQ(f.shownText("in %Procedure"), std::string("in ") + s.expected);
    EXPECT_EQ(f.errors.GetProcedureName(), s.expected);
  }
}

TEST(ErrorClass, SubstitutedTextIsLimitedTo2000Characters) {
  Fixture f;
  f.errors.SetMessage(std::string(3000, 'm'));
  EXPECT_EQ(f.shownText("<%Message>"), "<" + std::string(1999, 'm'));

  f.errors.SetMessage(std::string(1995, 'm'));
  EXPECT_EQ(f.shownText("%Message0123456789"), std::string(1995, 'm') + "01234");

  f.errors.SetMessage(std::string(1990, 'm'));
  EXPECT_EQ(f.shownText("%Message0123456789"), std::string(1990, 'm') + "0123456789");

  f.errors.SetMessage(std::string(1000, 'm'));
  EXPECT_EQ(f.shownText("%Message"), std::string(1000, 'm'));

  // A fatal message gets its closing sentence after the limit.
  f.define(903, fw::Severity_Fatal, "Fatal", "%Message%Message%Message");
  f.errors.Throw(903);
  EXPECT_EQ(f.presenter->last().text, std::string(2000, 'm') + ErrorClass::kFatalSuffix);
}

TEST(ErrorClass, BarsBecomeLineBreaks) {
  Fixture f;
  f.errors.SetFile("ITEMS|X");
  EXPECT_EQ(f.shownText("line one|line two||%File"), "line one\nline two\n\nITEMS\nX");
  EXPECT_EQ(f.errors.SubsString(), "line one|line two||ITEMS|X");
}

TEST(ErrorClass, SeveritiesDecideBoxAndResult) {
  constexpr int none = -1;
  struct Case {
    const char* what;
    std::uint8_t severity;
    int answer;  // none: the presenter answers with the default button
    int result;
    bool shown;
    MessageIcon icon;
    int buttons;
    int default_button;
    bool fatal;
  };
  const Case cases[] = {
      {"question, Yes", fw::Severity_Question, fw::Button_Yes, 0, true, MessageIcon::Warning,
       fw::Button_Yes | fw::Button_No, fw::Button_Yes, false},
      {"question, No", fw::Severity_Question, fw::Button_No, 4, true, MessageIcon::Warning,
       fw::Button_Yes | fw::Button_No, fw::Button_Yes, false},
      {"question, default", fw::Severity_Question, none, 0, true, MessageIcon::Warning,
       fw::Button_Yes | fw::Button_No, fw::Button_Yes, false},
      {"confirm, Yes", fw::Severity_Confirm, fw::Button_Yes, 0, true, MessageIcon::Warning,
       fw::Button_Yes | fw::Button_No, fw::Button_Yes, false},
      {"confirm, No", fw::Severity_Confirm, fw::Button_No, 4, true, MessageIcon::Warning,
       fw::Button_Yes | fw::Button_No, fw::Button_Yes, false},
      {"notice", fw::Severity_Notice, none, 5, true, MessageIcon::Information, fw::Button_OK,
       fw::Button_OK, false},
      {"silent", fw::Severity_Silent, none, 0, false, MessageIcon::Information, 0, 0, false},
      {"fatal", fw::Severity_Fatal, none, 3, true, MessageIcon::Information, fw::Button_OK,
       fw::Button_OK, true},
      {"program error", fw::Severity_ProgramError, none, 3, true, MessageIcon::Information,
       fw::Button_OK, fw::Button_OK, true},
      {"unknown severity", 9, none, 3, true, MessageIcon::Information, fw::Button_OK,
       fw::Button_OK, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fixture f;
    f.define(904, c.severity, "Caption", "Body of %File");
    f.errors.SetFile("ARTICULO");
    if (c.answer != none) f.presenter->answer(c.answer);
    EXPECT_EQ(f.errors.Throw(904), c.result);
    const std::vector<Shown> shown = f.presenter->shown();
    ASSERT_EQ(shown.size(), c.shown ? 1u : 0u);
    if (c.shown) {
      EXPECT_EQ(shown[0].caption, "Caption");
      EXPECT_EQ(shown[0].text, c.fatal ? std::string("Body of ARTICULO") + ErrorClass::kFatalSuffix
                                       : std::string("Body of ARTICULO"));
      EXPECT_EQ(shown[0].icon, c.icon);
      EXPECT_EQ(shown[0].buttons, c.buttons);
      EXPECT_EQ(shown[0].default_button, c.default_button);
    }
    EXPECT_EQ(f.presenter->endCodes(),
              c.fatal ? std::vector<int>{ErrorClass::kFatalExitCode} : std::vector<int>{});
  }
}

TEST(ErrorClass, FatalSentenceIsExact) {
  EXPECT_STREQ(ErrorClass::kFatalSuffix, "  Press OK to end this application");
}

TEST(ErrorClass, AskMessageOffersTheCallersButtons) {
  Fixture f;
  const int yes_no_cancel = fw::Button_Yes | fw::Button_No | fw::Button_Cancel;
  for (int answer : {fw::Button_Yes, fw::Button_No, fw::Button_Cancel}) {
    f.presenter->answer(answer);
    EXPECT_EQ(f.errors.AskMessage(38, yes_no_cancel, fw::Button_Yes), answer);
    const Shown s = f.presenter->last();
    EXPECT_EQ(s.caption, "Save Record");
    EXPECT_EQ(s.text, "Do you want to save the changes to this record?");
    EXPECT_EQ(s.buttons, yes_no_cancel);
    EXPECT_EQ(s.default_button, fw::Button_Yes);
    EXPECT_EQ(s.icon, MessageIcon::Warning);
  }
  // Asking never ends the program, whatever the message's severity.
  f.define(905, fw::Severity_Fatal, "Fatal", "text");
  f.presenter->answer(fw::Button_No);
  EXPECT_EQ(f.errors.AskMessage(905, fw::Button_Yes | fw::Button_No, fw::Button_No),
            fw::Button_No);
  EXPECT_EQ(f.presenter->last().text, "text");
  EXPECT_TRUE(f.presenter->endCodes().empty());
}

TEST(ErrorClass, InitLoadsTheEnglishDefaults) {
  Fixture f;
  f.presenter->answer(fw::Button_No);
  EXPECT_EQ(f.errors.Throw(11), 4);
  EXPECT_EQ(f.presenter->last().caption, "Confirm Delete");
  EXPECT_EQ(f.presenter->last().text, "Are you sure you want to delete the highlighted record?");

  f.errors.SetKey("MAR:MarcaKey");
  EXPECT_EQ(f.errors.ThrowMessage(15, "MAR:MarcaKey"), 5);
  EXPECT_EQ(f.presenter->last().text,
            "Adding this record creates a duplicate entry for the key: MAR:MarcaKey");

  f.errors.SetErrors(2, "File Not Found", 0, "");
  f.errors.ThrowFile(12, "MARCAS");
  EXPECT_EQ(f.presenter->last().text,
            std::string("Error: (File Not Found (2)) creating MARCAS.") + ErrorClass::kFatalSuffix);
  EXPECT_EQ(f.presenter->endCodes().size(), 1u);
}

TEST(ErrorClass, AddedMessagesReplaceByIdentifierAndBadBlocksChangeNothing) {
  Fixture f;
  f.define(38, fw::Severity_Notice, "Replaced", "replaced text");
  EXPECT_EQ(f.errors.Throw(38), 5);
  EXPECT_EQ(f.presenter->last().caption, "Replaced");

  const fw::ErrorBlock truncated = {2, 0, 38, 0, 1, 1, 'X', 1, 'y'};
  EXPECT_FALSE(f.errors.AddErrors(truncated));
  fw::ErrorEntry entry;
  ASSERT_TRUE(f.errors.GetEntry(38, entry));
  EXPECT_EQ(entry.title, "Replaced");
  EXPECT_EQ(entry.text, "replaced text");
}

TEST(ErrorClass, UnknownIdentifierIsReportedAsANotice) {
  Fixture f;
  EXPECT_EQ(f.errors.Throw(4321), 5);
  EXPECT_NE(f.presenter->last().text.find("4321"), std::string::npos);
  EXPECT_EQ(f.presenter->last().buttons, fw::Button_OK);
  EXPECT_TRUE(f.presenter->endCodes().empty());
}

TEST(ErrorClass, KillEmptiesTheTable) {
  Fixture f;
  f.errors.Kill();
  fw::ErrorEntry entry;
  EXPECT_FALSE(f.errors.GetEntry(11, entry));
}

TEST(ErrorClass, ThreadsKeepTheirOwnValuesAndMessagesNeverOverlap) {
  Fixture f;
  f.presenter->linger();
  f.define(906, fw::Severity_Notice, "T", "%Procedure %File %Key %ErrorText [%Previous]");
  f.define(907, fw::Severity_Notice, "T", "before");
  f.errors.SetProcedureName("Main");

  constexpr int kThreads = 6;
  constexpr int kRounds = 40;
  std::vector<std::thread> threads;
  std::atomic<int> wrong_results{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&f, &wrong_results, t] {
      ErrorStatusClass status;
      f.errors.AttachThreadStatus(status);
      const std::string me = std::to_string(t);
      f.errors.SetProcedureName("Browse:" + me);
      for (int r = 0; r < kRounds; ++r) {
        f.errors.SetFile("FILE" + me);
        f.errors.SetKey("KEY" + me);
        f.errors.SetErrors(t + 1, "E" + me, 0, "");
        if (f.errors.Throw(907) != 5) ++wrong_results;
        if (f.errors.Throw(906) != 5) ++wrong_results;
      }
      f.errors.SetProcedureName();
    });
  }
  for (std::thread& th : threads) th.join();

  EXPECT_EQ(wrong_results.load(), 0);
  EXPECT_FALSE(f.presenter->overlapped());
  std::map<std::thread::id, int> index;
  std::map<std::thread::id, int> count;
  for (const Shown& s : f.presenter->shown()) {
    if (s.text == "before") continue;
    // Every thread's message shows that thread's own values and its own previous message.
    const auto dash = s.text.find(' ');
    ASSERT_NE(dash, std::string::npos);
    const std::string me = s.text.substr(std::string("Browse:").size(),
                                         dash - std::string("Browse:").size());
    const int t = std::stoi(me);
    EXPECT_EQ(s.text, "Browse:" + me + " FILE" + me + " KEY" + me + " E" + me + " (" +
                          std::to_string(t + 1) + ") [before]");
    auto [it, inserted] = index.emplace(s.thread, t);
    EXPECT_EQ(it->second, t) << "one thread showed two threads' values";
    ++count[s.thread];
  }
  EXPECT_EQ(count.size(), static_cast<std::size_t>(kThreads));
  for (const auto& [tid, n] : count) EXPECT_EQ(n, kRounds);

  // The first thread's own state was never touched by the others.
  EXPECT_EQ(f.errors.GetProcedureName(), "Main");
  EXPECT_EQ(f.shownText("%File"), "");
}

TEST(ErrorClass, ThreadWithoutAttachedStatusStillHasItsOwnValues) {
  Fixture f;
  f.errors.SetFile("MAIN");
  std::string seen;
  std::thread other([&] {
    f.errors.SetFile("OTHER");
    f.errors.SetProcedureName("SelectMarcas");
    f.define(908, fw::Severity_Notice, "T", "%Procedure %File");
    f.errors.Throw(908);
    seen = f.presenter->last().text;
  });
  other.join();
  EXPECT_EQ(seen, "SelectMarcas OTHER");
  EXPECT_EQ(f.shownText("[%Procedure] %File"), "[] MAIN");
}

TEST(ErrorClass, StatusDestroyedWithItsThreadIsDetached) {
  Fixture f;
  std::thread([&] {
    ErrorStatusClass status(f.errors);
    f.errors.SetFile("GONE");
    EXPECT_EQ(f.shownText("[%File]"), "[GONE]");
  }).join();
  // A new thread does not find the destroyed state.
  std::string seen;
  std::thread([&] {
    f.define(909, fw::Severity_Notice, "T", "[%File]");
    f.errors.Throw(909);
    seen = f.presenter->last().text;
  }).join();
  EXPECT_EQ(seen, "[]");
}

}  // namespace
