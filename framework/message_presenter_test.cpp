// The error manager with the runtime's own message boxes, in a running program driven through
// the scripted front end.
#include "framework/message_presenter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "framework/error_class.h"
#include "runtime/vocabulary.h"
#include "ui/scripted/program_driver.h"

namespace {

// What the program's start-up saw; written by the program thread, read by the test after the
// program ended.
std::atomic<int> g_question_result{-1};
std::atomic<int> g_notice_result{-1};
std::atomic<int> g_ask_result{-1};
std::atomic<bool> g_after_fatal{false};

void startup() {
  fw::ErrorClass errors;  // the runtime's message boxes
  fw::ErrorStatusClass status;
  errors.Init(status);
  errors.SetProcedureName("Main");
  g_question_result = errors.Throw(38);
  errors.SetErrors(2, "File not found", 0, "");
  g_notice_result = errors.ThrowFile(13, "MARCAS");
  g_ask_result = errors.AskMessage(38, rt::BUTTON_YES | rt::BUTTON_NO | rt::BUTTON_CANCEL,
                                   rt::BUTTON_YES);
  errors.ThrowFile(12, "PRODUCTOS");
  g_after_fatal = true;  // never reached: the fatal message ends the program
}

TEST(RuntimeMessagePresenter, MessagesAppearAsRuntimeBoxesAndFatalEndsTheProgram) {
  scripted::Program program(startup);
  ASSERT_TRUE(program.started());
  program.queueAnswer(rt::BUTTON_NO);      // message 38
  program.queueAnswer(rt::BUTTON_OK);      // message 13
  program.queueAnswer(rt::BUTTON_CANCEL);  // message 38 with Cancel offered
  program.queueAnswer(rt::BUTTON_OK);      // message 12
  EXPECT_EQ(program.end(), fw::ErrorClass::kFatalExitCode);

  EXPECT_EQ(g_question_result.load(), 4);
  EXPECT_EQ(g_notice_result.load(), 5);
  EXPECT_EQ(g_ask_result.load(), rt::BUTTON_CANCEL);
  EXPECT_FALSE(g_after_fatal.load());

  const auto boxes = program.messages();
  ASSERT_EQ(boxes.size(), 4u) << program.dump();
  EXPECT_EQ(boxes[0].caption, "Save Record");
  EXPECT_EQ(boxes[0].text, "Do you want to save the changes to this record?");
  EXPECT_EQ(boxes[0].icon, rt::ICON_Exclamation);
  EXPECT_EQ(boxes[0].buttons, rt::BUTTON_YES | rt::BUTTON_NO);
  EXPECT_EQ(boxes[0].default_button, rt::BUTTON_YES);

  EXPECT_EQ(boxes[1].caption, "Record Not Deleted");
  EXPECT_EQ(boxes[1].text,
            "An error (File not found (2)) was experienced deleting a record from the MARCAS "
            "file.");
  EXPECT_EQ(boxes[1].icon, rt::ICON_Asterisk);
  EXPECT_EQ(boxes[1].buttons, rt::BUTTON_OK);

  EXPECT_EQ(boxes[2].buttons, rt::BUTTON_YES | rt::BUTTON_NO | rt::BUTTON_CANCEL);

  EXPECT_EQ(boxes[3].caption, "File Creation Error");
  EXPECT_EQ(boxes[3].text,
            "Error: (File not found (2)) creating PRODUCTOS.  Press OK to end this application");
  EXPECT_EQ(boxes[3].icon, rt::ICON_Asterisk);
  EXPECT_EQ(boxes[3].buttons, rt::BUTTON_OK);
}

}  // namespace
