#include "framework/browse_eip_manager.h"

#include <algorithm>
#include <cstring>

#include "framework/browse_class.h"
#include "framework/error_class.h"
#include "framework/file_manager.h"
#include "framework/relation_manager.h"
#include "framework/request_codes.h"
#include "framework/window_manager.h"
#include "runtime/event.h"
#include "runtime/post.h"
#include "runtime/vocabulary.h"

namespace fw {

namespace {

// Reaches the browse's field pairs and highlighted row, which the browse keeps for its
// subclasses: the editor binds each column's queue field and keeps the highlight on its row.
struct BrowseAccess : BrowseClass {
  static rt::Binding* queueField(BrowseClass& b, int column) {
    auto& fields = b.*(&BrowseAccess::fields_);
    if (column < 1 || column > static_cast<int>(fields.size())) return nullptr;
    return &fields[column - 1].to;
  }
  static void setChoice(BrowseClass& b, int row) { b.*(&BrowseAccess::choice_) = row; }
};

}  // namespace

BrowseEIPManager::~BrowseEIPManager() = default;

// Posted to the list after a click on another row completed the edited one.
constexpr int kReselectEvent = rt::EVENT_User + 0x1E1;

void BrowseEIPManager::Init(BrowseClass& browse) {
  browse_ = &browse;
  if (browse.Window()) browse.Window()->AddItem(*this);
}

int BrowseEIPManager::TakeEvent() {
  if (!browse_ || rt::event() != kReselectEvent || rt::field() != browse_->ListControl()) return Level_Benign;
  const std::string wanted = std::move(reselect_);
  reselect_.clear();
  BrowseQueue* q = browse_->ListQueue();
  if (q && !wanted.empty())
    for (int i = 1; i <= q->Records(); ++i)
      if (q->Row(i).position == wanted) {
        browse_->SetCurrentChoice(i);
        browse_->UpdateButtons();
        break;
      }
  return Level_Handled;
}

bool BrowseEIPManager::AddEditControl(EditClass* editor, int column) {
  if (!browse_ || column < 1) return false;
  if (static_cast<int>(editors_.size()) < column) editors_.resize(static_cast<std::size_t>(column), nullptr);
  editors_[column - 1] = editor;
  return true;
}

bool BrowseEIPManager::AddEditControl(std::unique_ptr<EditClass> editor, int column) {
  if (!AddEditControl(editor.get(), column)) return false;
  if (editor) owned_.push_back(std::move(editor));
  return true;
}

EditClass* BrowseEIPManager::editorOf(int column) const {
  if (column < 1 || column > static_cast<int>(editors_.size())) return nullptr;
  // A column is editable only when the browse shows a queue field in it.
  if (!browse_ || !BrowseAccess::queueField(*browse_, column)) return nullptr;
  return editors_[column - 1];
}

std::vector<bool> BrowseEIPManager::editableColumns() const {
  std::vector<bool> out;
  for (int c = 1; c <= static_cast<int>(editors_.size()); ++c) out.push_back(editorOf(c) != nullptr);
  return out;
}

int BrowseEIPManager::NextColumn(int wanted, int direction, const std::vector<bool>& editable) {
  const int n = static_cast<int>(editable.size());
  if (n == 0) return 0;
  const int dir = direction < 0 ? -1 : 1;
  wanted = std::clamp(wanted, 1, n);
  for (int c = wanted; c >= 1 && c <= n; c += dir)
    if (editable[c - 1]) return c;
  for (int c = wanted - dir; c >= 1 && c <= n; c -= dir)
    if (editable[c - 1]) return c;
  return 0;
}

// ----- Requests ---------------------------------------------------------------------------------

int BrowseEIPManager::AskRecord(int request) {
  if (!browse_ || !browse_->Window() || !browse_->ListQueue() || !browse_->View()) return RequestCancelled;
  rt::Window& w = browse_->Window()->Window();
  if (!w.isOpen()) return RequestCancelled;

  // Going on after a row completed by a key: the thread's current event is still that key's.
  const bool carrying = end_field_ != 0 && rt::event() == end_event_ && rt::field() == end_field_ &&
                        rt::keyCode() == end_key_;
  const int keep = carrying ? keep_column_ : 0;
  end_event_ = end_field_ = end_key_ = 0;
  keep_column_ = 0;

  if (request == DeleteRecord) return deleteRow();
  if (request != InsertRecord && request != ChangeRecord) return RequestCancelled;
  const std::vector<bool> editable = editableColumns();
  const int first = NextColumn(1, 1, editable);
  if (first == 0) return RequestCancelled;

  int column = first;
  if (keep) {
    column = NextColumn(keep, 1, editable);
  } else if (!carrying && request == ChangeRecord && rt::event() == rt::EVENT_Accepted &&
             rt::field() == browse_->ListControl() && rt::keyCode() == rt::MouseLeft2 && rt::mouseCol() > 0) {
    column = NextColumn(rt::mouseCol(), 1, editable);
  }

  BrowseQueue& q = *browse_->ListQueue();
  ViewManager& view = *browse_->View();
  dropped_at_ = 0;
  if (request == InsertRecord) {
    const std::string before = view.FileOf(0).position();
    if (browse_->PrimeRecord() != 0) return RequestCancelled;
    const ViewRow primed = view.Current();
    // Priming added the record when it numbered it; otherwise saving adds it.
    const bool reserved = !primed.position.empty() && primed.position != before;
    browse_->SetQueueRecord(primed);
    int at = browse_->CurrentChoice() + 1;
    q.Insert(at, primed);
    const int page = browse_->PageSize();
    if (q.Records() > page) {
      // Kept aside, so that discarding the new row shows the page as it was.
      dropped_at_ = at > page ? 1 : q.Records();
      dropped_entry_ = q.Entry(dropped_at_);
      dropped_row_ = q.Row(dropped_at_);
      q.Delete(dropped_at_);
      if (dropped_at_ == 1) --at;
    }
    row_ = at;
    new_row_ = true;
    position_ = reserved ? primed.position : std::string();
    q.SetRow(row_, reserved ? primed : ViewRow{});
  } else {
    row_ = browse_->CurrentChoice();
    if (row_ < 1) return RequestCancelled;
    // The browse has re-read the row's record: show what is stored now.
    const ViewRow current = view.Current();
    browse_->SetQueueRecord(current);
    q.Put(row_);
    q.SetRow(row_, current);
    new_row_ = false;
    position_ = current.position;
  }
  BrowseAccess::setChoice(*browse_, row_);
  browse_->UpdateWindow();
  q.Get(row_);
  original_ = q.Entry(row_);
  response_ = RequestCancelled;
  startRow(column);
  while (editing_ && w.accept()) handleEvent();
  if (editing_) {
    // The window went away under the editor: nothing more can be shown.
    closeEditor();
    editing_ = false;
  }
  return response_;
}

int BrowseEIPManager::deleteRow() {
  const std::uint8_t action = browse_->DeleteAction;
  if (action == 2) return RequestCancelled;
  if (browse_->CurrentChoice() < 1) return RequestCancelled;
  const bool ask = action != 1;
  if (RelationManager* rm = browse_->PrimaryRelation()) return rm->Delete(ask) == Level_Benign ? RequestCompleted : RequestCancelled;
  // A browse without relation manager deletes through its view's table.
  if (ask) {
    ErrorClass* errors = browse_->Window()->Errors;
    if (!errors || errors->AskMessage(Msg_ConfirmDelete, rt::BUTTON_YES | rt::BUTTON_NO, rt::BUTTON_NO) != rt::BUTTON_YES)
      return RequestCancelled;
  }
  return browse_->View()->FileOf(0).erase().ok() ? RequestCompleted : RequestCancelled;
}

// ----- Editing a row ----------------------------------------------------------------------------

void BrowseEIPManager::startRow(int column) {
  rt::Window& w = browse_->Window()->Window();
  const int list = browse_->ListControl();
  editing_ = true;
  refused_feq_ = 0;
  mouse_alerts_ = w.flag(list, rt::ControlFlag::MouseAlerts);
  w.setMouseAlerts(list, false);
  greyed_.clear();
  const int columns = w.columnCount(list);
  for (int c = 1; c <= columns; ++c)
    if (!editorOf(c)) {
      w.setColumnGrey(list, c, true);
      greyed_.push_back(c);
    }
  openEditor(column);
}

void BrowseEIPManager::endEditing() {
  closeEditor();
  editing_ = false;
  rt::Window& w = browse_->Window()->Window();
  const int list = browse_->ListControl();
  for (int c : greyed_) w.setColumnGrey(list, c, false);
  greyed_.clear();
  w.setMouseAlerts(list, mouse_alerts_);
}

void BrowseEIPManager::openEditor(int column) {
  EditClass* e = editorOf(column);
  rt::Binding* use = BrowseAccess::queueField(*browse_, column);
  column_ = column;
  if (!e || !use) return;
  e->Place(browse_->Window()->Window(), row_);
  e->Init(column, browse_->ListControl(), *use);
  focusEditor();
}

void BrowseEIPManager::focusEditor() {
  EditClass* e = editorOf(column_);
  if (e && e->Feq) browse_->Window()->Window().select(e->Feq);
}

void BrowseEIPManager::closeEditor() {
  if (EditClass* e = editorOf(column_)) e->Kill();
}

void BrowseEIPManager::storeRow() {
  BrowseQueue& q = *browse_->ListQueue();
  q.Put(row_);
  browse_->UpdateWindow();
  q.Get(row_);
}

void BrowseEIPManager::moveTo(int column) {
  if (EditClass* e = editorOf(column_); e && e->Feq) browse_->Window()->Window().update(e->Feq);
  closeEditor();
  storeRow();
  openEditor(column);
}

void BrowseEIPManager::handleEvent() {
  rt::Window& w = browse_->Window()->Window();
  const int ev = rt::event();
  const int f = rt::field();
  const int list = browse_->ListControl();
  EditClass* e = editorOf(column_);

  if (f != 0 && e && f == e->Feq) {
    if (ev == rt::EVENT_Selected || ev == rt::EVENT_Accepted) return;
    perform(e->TakeEvent(ev));
    return;
  }
  if (f != 0 && f == list) {
    const bool click = ev == rt::EVENT_NewSelection || (ev == rt::EVENT_Accepted && rt::keyCode() == rt::MouseLeft2);
    if (click) {
      const int row = rt::mouseRow() ? rt::mouseRow() : w.selectedRow(list);
      if (row == row_) {
        w.setSelectedRow(list, row_);
        const int c = rt::mouseCol() ? NextColumn(rt::mouseCol(), 1, editableColumns()) : column_;
        if (c != 0 && c != column_) moveTo(c);
        else focusEditor();
        return;
      }
      const std::string clicked = row >= 1 && row <= browse_->ListQueue()->Records()
                                      ? browse_->ListQueue()->Row(row).position
                                      : std::string();
      if (completeBy(browse_->FocusLossAction, Trigger::FocusLoss, 0)) {
        if (!clicked.empty()) {
          reselect_ = clicked;
          rt::post(kReselectEvent, list);
        }
      } else {
        w.setSelectedRow(list, row_);
      }
      return;
    }
    switch (ev) {
      case rt::EVENT_ScrollUp: case rt::EVENT_ScrollDown: case rt::EVENT_PageUp: case rt::EVENT_PageDown:
      case rt::EVENT_ScrollTop: case rt::EVENT_ScrollBottom: case rt::EVENT_ScrollDrag:
        completeBy(browse_->FocusLossAction, Trigger::FocusLoss, 0);
        return;
      default: return;
    }
  }
  if (f != 0) {
    // Another control: the row is left.
    if (ev != rt::EVENT_Selected && ev != rt::EVENT_Accepted) return;
    if (ev == rt::EVENT_Accepted && f == refused_feq_) {
      // Its focus already tried to complete the row and the row stayed open.
      refused_feq_ = 0;
      return;
    }
    const bool button = ev == rt::EVENT_Accepted;
    if (completeBy(browse_->FocusLossAction, Trigger::FocusLoss, 0)) {
      if (button) rt::post(rt::EVENT_Accepted, f);
    } else if (!button) {
      refused_feq_ = f;
    }
    return;
  }
  switch (ev) {
    case rt::EVENT_CloseWindow:
    case rt::EVENT_CloseDown:
      if (completeBy(browse_->FocusLossAction, Trigger::FocusLoss, 0)) rt::post(ev);
      return;
    default:
      // Size, maximize, minimize and the rest wait until the row is done.
      return;
  }
}

void BrowseEIPManager::perform(int action) {
  EditClass* e = editorOf(column_);
  if (action == 4) {
    if (discard()) endEditing();
    return;
  }
  if (action < 1 || action > 6) return;  // 0, 7 and refusals: the cell stays open
  action = e ? e->TakeAccepted(action) : action;
  const std::vector<bool> editable = editableColumns();
  switch (action) {
    case 1: {
      int next = 0;
      for (int c = column_ + 1; c <= static_cast<int>(editable.size()); ++c)
        if (editable[c - 1]) {
          next = c;
          break;
        }
      if (next) moveTo(next);
      else completeBy(browse_->TabAction, Trigger::Tab, 1);
      return;
    }
    case 2:
      for (int c = column_ - 1; c >= 1; --c)
        if (editable[c - 1]) {
          moveTo(c);
          return;
        }
      return;
    case 3: completeBy(browse_->EnterAction, Trigger::Enter, 1); return;
    case 5: completeBy(browse_->ArrowAction, Trigger::Arrow, 1); return;
    case 6: completeBy(browse_->ArrowAction, Trigger::Arrow, -1); return;
    default: return;  // a refused value (4 from TakeAccepted) or nothing
  }
}

bool BrowseEIPManager::completeBy(std::uint8_t action_byte, Trigger trigger, int direction) {
  int mode = action_byte & 7;
  if (mode == 0) mode = trigger == Trigger::Tab ? 4 : 1;
  const int column = column_;
  const bool was_new = new_row_;
  const Outcome outcome = complete(mode);
  if (outcome == Outcome::Kept) return false;
  endEditing();
  const bool carry = (action_byte & 8) && trigger != Trigger::FocusLoss && direction != 0 &&
                     !(outcome == Outcome::Discarded && was_new);
  std::int32_t* vcr = browse_->Window()->VCRRequest;
  if (carry && vcr) {
    *vcr = direction > 0 ? VCRForward : VCRBackward;
    end_event_ = rt::event();
    end_field_ = rt::field();
    end_key_ = rt::keyCode();
    keep_column_ = trigger == Trigger::Arrow && (action_byte & 16) ? column : 0;
  }
  return true;
}

BrowseEIPManager::Outcome BrowseEIPManager::complete(int mode) {
  if (mode == 2) return discard() ? Outcome::Discarded : Outcome::Kept;
  rt::Window& w = browse_->Window()->Window();
  // Validation: every editable column in turn.
  if (EditClass* cur = editorOf(column_); cur && cur->Feq && !w.update(cur->Feq).ok) {
    focusEditor();
    return Outcome::Kept;
  }
  for (int c = 1; c <= static_cast<int>(editors_.size()); ++c) {
    EditClass* e = editorOf(c);
    if (!e) continue;
    if (e->TakeAccepted(1) == 4 || (e->Req && e->Empty())) {
      if (c != column_) moveTo(c);
      else focusEditor();
      return Outcome::Kept;
    }
  }
  storeRow();
  BrowseQueue& q = *browse_->ListQueue();
  const bool changed = new_row_ || q.Entry(row_) != original_;
  if (!changed) return Outcome::Unchanged;
  if (mode == 4) {
    ErrorClass* errors = browse_->Window()->Errors;
    const int answer = errors ? errors->AskMessage(38, rt::BUTTON_YES | rt::BUTTON_NO | rt::BUTTON_CANCEL, rt::BUTTON_YES)
                              : rt::BUTTON_YES;
    if (answer == rt::BUTTON_NO) return discard() ? Outcome::Discarded : Outcome::Kept;
    if (answer != rt::BUTTON_YES) {
      focusEditor();
      return Outcome::Kept;
    }
  }
  if (!save()) {
    focusEditor();
    return Outcome::Kept;
  }
  return Outcome::Saved;
}

bool BrowseEIPManager::save() {
  ViewManager& view = *browse_->View();
  BrowseQueue& q = *browse_->ListQueue();
  q.Get(row_);
  browse_->UpdateBuffer();
  bool ok;
  RelationManager* rm = browse_->PrimaryRelation();
  if (new_row_ && position_.empty()) {
    // A new record that priming did not add.
    ok = rm && rm->Me() ? rm->Me()->Insert() == Level_Benign : view.FileOf(0).add().ok();
  } else if (rm && rm->Me()) {
    FileManager& fm = *rm->Me();
    if (!position_.empty() && fm.Position() != position_) {
      // Something else was read from the table meanwhile: make the row's record current again
      // without losing the values to be written.
      const std::string values = fm.SaveBuffer();
      const int found = fm.TryReget(position_);
      if (found != Level_Benign) fm.Report(Msg_RetrievalError, fm.LastStatus());
      fm.RestoreBuffer(values);
      ok = found == Level_Benign && rm->Update() == Level_Benign;
    } else {
      ok = rm->Update() == Level_Benign;
    }
  } else {
    store::File& file = view.FileOf(0);
    if (!position_.empty() && file.position() != position_) {
      const std::string values(reinterpret_cast<const char*>(view.BufferOf(0)), static_cast<std::size_t>(view.DefOf(0).record_size));
      const bool found = file.reget(position_).ok();
      std::memcpy(view.BufferOf(0), values.data(), values.size());
      ok = found && file.put().ok();
    } else {
      ok = file.put().ok();
    }
  }
  if (!ok) return false;
  const ViewRow saved = view.Current();
  q.SetRow(row_, saved);
  position_ = saved.position;
  new_row_ = false;
  response_ = RequestCompleted;
  return true;
}

bool BrowseEIPManager::discard() {
  BrowseQueue& q = *browse_->ListQueue();
  if (new_row_) {
    int level = Level_Benign;
    RelationManager* rm = browse_->PrimaryRelation();
    if (position_.empty()) {
      // Nothing was added for it.
    } else if (rm && rm->Me() && rm->Me()->HasReservation()) {
      level = rm->CancelAutoInc();
    } else {
      store::File& file = browse_->View()->FileOf(0);
      level = file.reget(position_).ok() && file.erase().ok() ? Level_Benign : Level_Notify;
    }
    if (level != Level_Benign) {
      focusEditor();
      return false;
    }
    closeEditor();
    q.Delete(row_);
    new_row_ = false;
    int back = row_ - 1;
    if (dropped_at_ != 0) {
      std::memcpy(q.Buffer(), dropped_entry_.data(), std::min(dropped_entry_.size(), q.Size()));
      if (dropped_at_ == 1) {
        q.Insert(1, dropped_row_);
        back = row_;
      } else {
        q.Add(dropped_row_);
      }
      dropped_at_ = 0;
    }
    back = std::min(std::max(back, 1), q.Records());
    row_ = back;
    BrowseAccess::setChoice(*browse_, back);
    browse_->UpdateWindow();
    return true;
  }
  if (!original_.empty()) std::memcpy(q.Buffer(), original_.data(), std::min(original_.size(), q.Size()));
  closeEditor();
  storeRow();
  return true;
}

}  // namespace fw
