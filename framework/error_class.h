#pragma once
// The error manager: every message and question the user sees goes through one ErrorClass
// object for the whole process (`GlobalErrors`).
//
// It holds a message table (loaded from blocks, see error_catalogue.h), looks messages up by
// identifier, fills in their placeholders with the values the caller set, and shows them by
// severity through a MessagePresenter:
//   Silent (0)                    nothing shown, result 0
//   Question (1), Confirm (4)     Yes/No, Yes the default, warning icon; 0 for Yes, else 4
//   Notice (5)                    OK, information icon; result 5
//   Fatal (3), ProgramError (2)   "  Press OK to end this application" appended, shown as a
//   and any other value           notice, then the program ends (on a program thread the
//                                 runtime unwinds it and Throw does not return; with a
//                                 presenter that lets it return, the result is 3)
// An identifier missing from the table is shown as a notice naming the identifier (result 5).
//
// Placeholders, each replaced in one left-to-right pass, longer names before the shorter names
// they begin with (a value put into the text is never searched for placeholders again):
//   %FileErrorCode  store's own error code        %FileError  store's own error text
//   %File           table name                    %Key        key description
//   %ErrorCode      runtime error number          %ErrorText  runtime text + " (number)"; for
//                                                 numbers 90 and 100 the store's text + " (code)"
//   %Error          runtime error text            %Message    the caller's free text
//   %Field          field name                    %Procedure  top of the procedure-name stack
//   %Category       category, "APP" by default    %Previous   text of the previously raised
//                                                              identifier, or nothing
// The substituted text is cut to 2000 characters; each "|" in it becomes a line break.
//
// Threads: every operation may be called from any thread. The message table is shared; the
// placeholder values, the procedure-name stack, the current error and the previous identifier
// belong to the calling thread (its ErrorStatusClass), so threads never see each other's
// values. Messages of different threads are shown one at a time, never interleaved: a thread
// that raises a message while another thread's message is on screen waits until that one is
// answered (it waits inside the error manager, not in a runtime wait); waiting does not stop
// other threads from setting values.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "framework/error_catalogue.h"
#include "framework/message_presenter.h"

namespace fw {

class ErrorClass;

// The error state of one thread: the values its placeholders need, its stack of procedure
// names, the message it raised last and the one before. A program keeps one per thread
// (`GlobalErrorStatus`) and attaches it to the error manager from that thread; destroying it
// detaches it. The ErrorClass it is attached to must outlive it. Only its own thread uses it.
class ErrorStatusClass {
 public:
  ErrorStatusClass() = default;
  // Constructs the state and attaches it to `errors` for the constructing thread.
  explicit ErrorStatusClass(ErrorClass& errors);
  ~ErrorStatusClass();
  ErrorStatusClass(const ErrorStatusClass&) = delete;
  ErrorStatusClass& operator=(const ErrorStatusClass&) = delete;

 private:
  friend class ErrorClass;

  ErrorClass* owner_ = nullptr;

  std::string file_, key_, field_, message_, category_ = "APP";
  int error_code_ = 0;
  std::string error_text_;
  int store_code_ = 0;
  std::string store_text_;
  std::vector<std::string> procedures_;

  bool has_current_ = false;
  ErrorEntry current_;
  bool has_previous_ = false;
  std::uint16_t previous_id_ = 0;
};

class ErrorClass {
 public:
  static constexpr std::size_t kMaxMessageLength = 2000;
  static constexpr const char* kFatalSuffix = "  Press OK to end this application";
  static constexpr int kFatalExitCode = 1;

  // Shows messages with the runtime's message boxes.
  ErrorClass();
  // Shows messages with the given presenter (the runtime's when null).
  explicit ErrorClass(std::shared_ptr<MessagePresenter> presenter);
  ~ErrorClass();
  ErrorClass(const ErrorClass&) = delete;
  ErrorClass& operator=(const ErrorClass&) = delete;

  // Loads the framework's default English messages (replacing the whole table) and attaches
  // `status` as the calling thread's error state.
  void Init(ErrorStatusClass& status);
  // Empties the table, detaches every thread's state and forgets the states it kept for
  // threads that had none attached.
  void Kill();

  // Adds the messages of a block; an identifier already in the table gets the new message.
  // A malformed block adds nothing and returns false.
  [[nodiscard]] bool AddErrors(std::span<const std::uint8_t> block);
  // The message of an identifier, when the table has one.
  [[nodiscard]] bool GetEntry(std::uint16_t id, ErrorEntry& out) const;

  // Makes `status` the calling thread's error state (detaching it from wherever it was).
  // A thread that never attached one gets a state of the manager's own.
  void AttachThreadStatus(ErrorStatusClass& status);

  // With a name: pushes it on the calling thread's procedure stack. Without: pops the top
  // (nothing happens when the stack is empty).
  void SetProcedureName(std::string_view name);
  void SetProcedureName();
  // The top of the calling thread's procedure stack, or "" when it is empty.
  std::string GetProcedureName();

  // Values for the placeholders, kept for the calling thread until changed.
  void SetFile(std::string_view table_name);
  void SetKey(std::string_view key_description);
  void SetField(std::string_view field_name);
  void SetMessage(std::string_view text);
  void SetCategory(std::string_view category);
  // The failed operation's runtime error number and English text, and the record store's own
  // code and text (used for numbers 90 and 100).
  void SetErrors(int code, std::string_view text, int store_code, std::string_view store_text);
  // The same from a result that carries `code`, `text`, `store_code` and `store_text` (the
  // record store's status).
  template <class Status>
  void SetErrors(const Status& status) {
    SetErrors(status.code, status.text, status.store_code, status.store_text);
  }

  // Raises a message and returns the result of its severity (see above).
  int Throw(std::uint16_t id);
  int ThrowMessage(std::uint16_t id, std::string_view message);
  int ThrowFile(std::uint16_t id, std::string_view table_name);

  // Raises a message as a question with the caller's buttons (e.g. Yes, No and Cancel) and
  // returns the button pressed, whatever the message's severity; nothing ends the program.
  int AskMessage(std::uint16_t id, int buttons, int default_button);

  // The calling thread's current error: the message raised last, with its placeholders filled
  // in from the current values (line breaks still written "|"). Empty strings when none.
  std::string SubsString();
  std::string CurrentTitle();
  std::uint16_t CurrentId();

 private:
  struct Prepared {
    std::uint8_t severity = Severity_Notice;
    std::string title;
    std::string text;  // substituted, limited, "|" still in place
  };

  ErrorStatusClass& statusLocked();
  void detach(ErrorStatusClass& status);
  Prepared prepare(std::uint16_t id);
  std::string substitute(const ErrorStatusClass& st, std::string_view text) const;
  int present(std::string_view text, std::string_view caption, MessageIcon icon, int buttons,
              int default_button);

  friend class ErrorStatusClass;

  std::shared_ptr<MessagePresenter> presenter_;
  mutable std::mutex mutex_;       // table and the thread map
  std::mutex show_mutex_;          // one message on screen at a time
  std::unordered_map<std::uint16_t, ErrorEntry> table_;
  std::unordered_map<std::thread::id, ErrorStatusClass*> attached_;
  std::unordered_map<std::thread::id, std::unique_ptr<ErrorStatusClass>> own_;
};

// Replaces every "|" by a line break.
std::string lineBreaks(std::string_view text);

}  // namespace fw
