// The window manager as a form: priming the record before the window opens (and carrying out a
// delete there), writing it when the accept-all pass completes, the cancel questions, the give-
// back of a cancelled insert's reserved record, and the history record with its history key.
// Windows without a primary relation manager (browses, frames) complete and cancel as the core
// does.
#include <cstring>

#include "framework/error_class.h"
#include "framework/file_manager.h"
#include "framework/relation_manager.h"
#include "framework/window_manager.h"
#include "runtime/event.h"
#include "runtime/post.h"
#include "runtime/vocabulary.h"
#include "store/status.h"
#include "store/table_def.h"

namespace fw {
namespace {

constexpr std::uint16_t Msg_ConfirmCancel = 10;
constexpr std::uint16_t Msg_RetryUpdate = 37;
constexpr std::uint16_t Msg_SaveRecord = 38;

// Failures that may pass if the write is tried again: another station held the file or kept the
// transaction from beginning.
bool mayRetry(int code) { return code == store::RecordHeld || code == store::TransactionNotBegun; }

}  // namespace

int WindowManager::Run() {
  if (Init() == Level_Benign) Ask();
  Kill();
  // Viewing never reports a change, whatever closed the window.
  if (OriginalRequest == ViewRecord) return RequestCancelled;
  return Response == 0 ? RequestCancelled : Response;
}

ErrorClass* WindowManager::errors() const {
  if (Errors) return Errors;
  return Primary && Primary->Me() ? Primary->Me()->Errors : nullptr;
}

void WindowManager::AddUpdateFile(FileManager& file) {
  for (FileManager* f : update_files_)
    if (f == &file) return;
  update_files_.push_back(&file);
}

bool WindowManager::RecordChanged() const {
  if (Primary && Primary->Me() && !Primary->Me()->EqualBuffer(saved_primary_)) return true;
  for (std::size_t i = 0; i < update_files_.size(); ++i) {
    const std::string& saved = i < saved_updates_.size() ? saved_updates_[i] : std::string();
    if (!update_files_[i]->EqualBuffer(saved)) return true;
  }
  return false;
}

int WindowManager::PrimeFields() { return Level_Benign; }

int WindowManager::PrimeUpdate() {
  cancel_decided_ = false;
  if (Request == InsertRecord) {
    if (int r = PrimeFields(); r != Level_Benign) {
      Response = RequestCancelled;
      return Level_Fatal;
    }
  }
  // The copies are taken after the new record's fields are primed: what priming put there is
  // not a change of the user's.
  FileManager* me = Primary ? Primary->Me() : nullptr;
  saved_primary_ = me ? me->SaveBuffer() : std::string();
  saved_updates_.clear();
  for (FileManager* f : update_files_) saved_updates_.push_back(f->SaveBuffer());
  if (Request != DeleteRecord) return Level_Benign;

  int r = Level_User;
  if (me && (DeleteAction == Action_Close || DeleteAction == Action_Ask)) {
    r = makeCurrent();
    if (r == Level_Benign) r = Primary->Delete(/*ask=*/DeleteAction == Action_Close);
  }
  Response = r == Level_Benign ? RequestCompleted : RequestCancelled;
  return Level_Fatal;
}

int WindowManager::makeCurrent() {
  FileManager* me = Primary->Me();
  if (me->PrimaryKey < 0) return Level_Benign;  // nothing to seek by: the current record stands
  const std::string wanted = me->SaveBuffer();
  me->RestoreBuffer(saved_primary_);
  const int r = me->Fetch(me->PrimaryKey);
  me->RestoreBuffer(wanted);
  return r;
}

int WindowManager::writeRecord() {
  FileManager* me = Primary->Me();
  if (OriginalRequest == InsertRecord) {
    if (InsertAction == Action_NotOffered) return Level_User;
    return me->Insert();
  }
  if (ChangeAction == Action_NotOffered || me->EqualBuffer(saved_primary_)) return Level_User;
  const std::string wanted = me->SaveBuffer();
  if (int r = makeCurrent(); r != Level_Benign) return r;
  if (me->PrimaryKey >= 0 && me->LastRecord() != saved_primary_) {
    // The stored record is no longer the one the form was opened on: writing over it would
    // silently undo another station's change.
    store::Status s;
    s.code = store::RecordChanged;
    s.text = store::errorText(store::RecordChanged);
    me->RestoreBuffer(wanted);
    return me->ReportWriteFailure(s, /*adding=*/false);
  }
  return Primary->Update();
}

int WindowManager::TakeCompleted() {
  const bool editing = OriginalRequest == InsertRecord || OriginalRequest == ChangeRecord;
  if (OriginalRequest == ViewRecord) {
    cancel_decided_ = true;
    SetResponse(RequestCancelled);
    return Level_Benign;
  }
  if (!editing || !Primary || !Primary->Me()) {
    SetResponse(RequestCompleted);
    return Level_Benign;
  }
  Update();
  if (history_record_ && !history_fields_.empty()) std::memcpy(history_copy_, history_record_, history_size_);

  bool written = false;
  for (;;) {
    const int r = writeRecord();
    if (r == Level_Benign) {
      written = true;
      break;
    }
    if (r == Level_User) break;  // nothing to write
    // The write failed and has been reported; the user's values stay in the buffer.
    ErrorClass* e = errors();
    if (e && mayRetry(Primary->Me()->LastStatus().code)) {
      const int a = e->AskMessage(Msg_RetryUpdate, rt::BUTTON_YES + rt::BUTTON_NO + rt::BUTTON_CANCEL,
                                  rt::BUTTON_YES);
      if (a == rt::BUTTON_YES) continue;
      if (a == rt::BUTTON_NO) {
        cancel_decided_ = true;
        SetResponse(RequestCancelled);
        return Level_Benign;
      }
    }
    SelectFirstField();
    return Level_Handled;
  }
  const bool navigating = VCRRequest && *VCRRequest != VCRNone;
  if (written || (HasToolbar() && !navigating)) {
    SetResponse(RequestCompleted);
  } else {
    cancel_decided_ = true;
    SetResponse(RequestCancelled);
  }
  return Level_Benign;
}

int WindowManager::ConfirmCancel() {
  const bool editing = OriginalRequest == InsertRecord || OriginalRequest == ChangeRecord;
  if (!editing || !Primary || !Primary->Me()) return Level_Benign;
  if (!cancel_decided_ && CancelAction != 0) {
    Update();
    ErrorClass* e = errors();
    if (e && RecordChanged()) {
      if (CancelAction & Cancel_OfferSave) {
        const int a = e->AskMessage(Msg_SaveRecord, rt::BUTTON_YES + rt::BUTTON_NO + rt::BUTTON_CANCEL,
                                    rt::BUTTON_YES);
        if (a == rt::BUTTON_YES) {
          // Save: as if OK were pressed; the window stays open for the accept-all pass.
          if (OKControl != 0) rt::post(rt::EVENT_Accepted, OKControl);
          return Level_User;
        }
        if (a != rt::BUTTON_NO) return Level_User;
      } else if (CancelAction & Cancel_Confirm) {
        const int a = e->AskMessage(Msg_ConfirmCancel, rt::BUTTON_YES + rt::BUTTON_NO, rt::BUTTON_NO);
        if (a != rt::BUTTON_YES) return Level_User;
      }
    }
  }
  cancel_decided_ = false;
  // A new record was reserved when it was numbered: it goes again, with its relations' delete
  // rules. If it cannot, the form stays open rather than leave a half-made record behind.
  if (OriginalRequest == InsertRecord && Primary->CancelAutoInc() != Level_Benign) return Level_Notify;
  return Level_Benign;
}

bool WindowManager::AddHistoryFile(void* record, void* history, std::size_t size, const store::TableDef& layout) {
  if (!record || !history || size == 0 || layout.record_size != static_cast<int>(size)) return false;
  history_record_ = static_cast<unsigned char*>(record);
  history_copy_ = static_cast<unsigned char*>(history);
  history_size_ = size;
  history_layout_ = &layout;
  history_fields_.clear();
  return true;
}

bool WindowManager::AddHistoryField(int feq, int field_number) {
  if (feq == 0 || !history_layout_ || field_number < 1 ||
      field_number > static_cast<int>(history_layout_->fields.size()))
    return false;
  const store::FieldDef& f = history_layout_->fields[static_cast<std::size_t>(field_number - 1)];
  if (f.offset < 0 || f.size <= 0 || static_cast<std::size_t>(f.offset + f.size) > history_size_) return false;
  for (HistoryField& h : history_fields_)
    if (h.feq == feq) {
      h = HistoryField{feq, f.offset, f.size};
      return true;
    }
  history_fields_.push_back(HistoryField{feq, f.offset, f.size});
  return true;
}

void WindowManager::SetHistoryAlerts() {
  if (HistoryKey == 0 || !window_.isOpen()) return;
  for (const HistoryField& h : history_fields_) window_.addAlert(h.feq, HistoryKey);
}

int WindowManager::TakeHistoryKey() {
  if (HistoryKey == 0 || rt::keyCode() != HistoryKey || !history_record_) return Level_Benign;
  const int feq = rt::field();
  for (const HistoryField& h : history_fields_) {
    if (h.feq != feq) continue;
    // A form that only views changes nothing.
    if (OriginalRequest == ViewRecord) return Level_Handled;
    std::memcpy(history_record_ + h.offset, history_copy_ + h.offset, static_cast<std::size_t>(h.size));
    window_.display(feq);
    return Level_Handled;
  }
  return Level_Benign;
}

}  // namespace fw
