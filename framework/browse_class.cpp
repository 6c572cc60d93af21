#include "framework/browse_class.h"

#include <algorithm>
#include <cstring>

#include "framework/browse_popup_texts.h"
#include "framework/error_class.h"
#include "framework/record_field.h"
#include "framework/request_codes.h"
#include "framework/window_manager.h"
#include "runtime/event.h"
#include "runtime/window.h"

namespace fw {

namespace {

constexpr int kFallbackPageSize = 10;

void copyValue(const rt::Binding& from, const rt::Binding& to) {
  if (to.isNumeric())
    (void)to.storeNumber(from.number());
  else
    (void)to.store(nullptr, from.rawText());
}

}  // namespace

BrowseClass::BrowseClass() = default;
BrowseClass::~BrowseClass() = default;

// ----- Set-up -------------------------------------------------------------------------------

void BrowseClass::Init(int list_control, char* position_field, std::size_t position_size, ViewManager& view,
                       BrowseQueue& queue, RelationManager* relation, WindowManager& window) {
  list_ = list_control;
  position_field_ = position_field;
  position_size_ = position_size;
  view_ = &view;
  queue_ = &queue;
  relation_ = relation;
  window_ = &window;
  UseMRP = true;
  Selecting = window.Request == SelectRecord;
  if (relation && !view.PrimePrimary) view.PrimePrimary = PrimeThrough(*relation);
  if (Selecting && view.Tables() > 0) {
    // The caller's record: put back byte for byte when the selection is cancelled.
    saved_buffer_.assign(reinterpret_cast<const char*>(view.BufferOf(0)),
                         static_cast<std::size_t>(view.DefOf(0).record_size));
    saved_ = true;
  }
  window.AddItem(*this);
}

void BrowseClass::Attached(WindowManager& window) { window_ = &window; }

int BrowseClass::AddSortOrder(StepClass* step, int key) {
  if (!view_ || view_->Tables() == 0 || key < 0 || key >= static_cast<int>(view_->DefOf(0).keys.size())) return 0;
  SortOrder o;
  o.key = key;
  o.step = step;
  orders_.push_back(std::move(o));
  return static_cast<int>(orders_.size());
}

bool BrowseClass::AddLocator(StepLocatorClass& locator) {
  if (orders_.empty()) return false;
  orders_.back().locator = &locator;
  return true;
}

bool BrowseClass::AddRange(const void* field, const void* value) {
  if (orders_.empty() || !view_ || !field || !value) return false;
  const store::TableDef& d = view_->DefOf(0);
  const int fi = fieldIndexAt(d, view_->BufferOf(0), field);
  SortOrder& o = orders_.back();
  const auto& comps = d.keys[o.key].fields;
  if (fi < 0 || o.ranges.size() >= comps.size() || comps[o.ranges.size()] != fi) return false;
  SortOrder::Range r;
  r.field = fi;
  r.fixed.assign(static_cast<const char*>(value), static_cast<std::size_t>(d.fields[fi].size));
  o.ranges.push_back(std::move(r));
  return true;
}

bool BrowseClass::AddRangeByField(const void* field, const void* parent_field) {
  if (orders_.empty() || !view_ || !field || !parent_field) return false;
  const store::TableDef& d = view_->DefOf(0);
  const int fi = fieldIndexAt(d, view_->BufferOf(0), field);
  SortOrder& o = orders_.back();
  const auto& comps = d.keys[o.key].fields;
  if (fi < 0 || o.ranges.size() >= comps.size() || comps[o.ranges.size()] != fi) return false;
  SortOrder::Range r;
  r.field = fi;
  r.source = parent_field;
  o.ranges.push_back(std::move(r));
  return true;
}

void BrowseClass::AddField(rt::Binding table_field, rt::Binding queue_field) {
  fields_.push_back({table_field, queue_field});
}

// ----- Sorting and reloading ------------------------------------------------------------------

void BrowseClass::applySort() {
  SortOrder& o = orders_[current_sort_ - 1];
  view_->SetOrder(o.key);
  for (const SortOrder::Range& r : o.ranges) {
    if (r.source)
      view_->AddRangeByRelation(r.field, r.source);
    else
      view_->AddRangeValue(r.field, r.fixed.data());
  }
  const store::TableDef& d = view_->DefOf(0);
  const store::KeyDef& k = d.keys[o.key];
  if (o.step && o.ranges.size() < k.fields.size()) o.step->SetField(d.fields[k.fields[o.ranges.size()]], k.nocase);
  if (o.locator) {
    const int fi = fieldIndexAt(d, view_->BufferOf(0), o.locator->FieldAddress());
    if (fi >= 0) o.locator->Bind(d.fields[fi]);
  }
}

std::string BrowseClass::rangeValues() const {
  std::string v;
  if (current_sort_ < 1) return v;
  const store::TableDef& d = view_->DefOf(0);
  for (const SortOrder::Range& r : orders_[current_sort_ - 1].ranges) {
    if (r.source)
      v.append(static_cast<const char*>(r.source), static_cast<std::size_t>(d.fields[r.field].size));
    else
      v += r.fixed;
  }
  return v;
}

int BrowseClass::SetSort(int order, bool force) {
  if (!view_ || order < 1 || order > static_cast<int>(orders_.size())) return 0;
  const bool changed = order != current_sort_;
  // The highlighted row's record, to stay on it in the new order.
  std::string keep;
  if (changed && loaded_ && choice_ > 0 && !queue_->Row(choice_).records.empty()) keep = queue_->Row(choice_).records[0];
  if (changed) {
    current_sort_ = order;
    applySort();
  }
  if (!changed && !force && loaded_ && rangeValues() == last_range_) return 0;
  if (!loaded_) {
    firstFill();
  } else if (changed) {
    setThumbLimits();
    if (keep.empty() || !locate(keep.data(), choice_)) {
      loadFirst();
    }
    finishReload(true);
  } else {
    reloadPage(true);
  }
  return changed ? 1 : 0;
}

void BrowseClass::ResetFromView() {
  if (choice_ > 0) queue_->Get(choice_);
}

int BrowseClass::ResetSort(bool force) { return SetSort(current_sort_ > 0 ? current_sort_ : 1, force); }

void BrowseClass::ResetQueue(bool force) {
  if (!loaded_) {
    ResetSort(true);
    return;
  }
  if (force || rangeValues() != last_range_) reloadPage(true);
}

void BrowseClass::firstFill() {
  loaded_ = true;
  setThumbLimits();
  bool placed = false;
  if (Selecting && saved_) {
    placed = locate(saved_buffer_.data(), 1);
    if (!placed) {
      // Nothing at or after the caller's value: the nearest rows, the last page.
      std::vector<ViewRow> rows;
      store::Status s = view_->ReadLast(PageSize(), rows);
      if (!s.ok()) report(s);
      at_last_ = true;
      at_first_ = static_cast<int>(rows.size()) < PageSize();
      fillQueue(rows, static_cast<int>(rows.size()));
      placed = true;
    }
  }
  if (!placed) loadFirst();
  finishReload(true);
}

void BrowseClass::loadFirst() {
  std::vector<ViewRow> rows;
  store::Status s = view_->ReadFirst(PageSize(), rows);
  if (!s.ok()) report(s);
  at_first_ = true;
  at_last_ = static_cast<int>(rows.size()) < PageSize();
  fillQueue(rows, 1);
}

void BrowseClass::reloadPage(bool hook) {
  setThumbLimits();
  // Another range (the parent moved on) starts at its first page; else the same place.
  if (rangeValues() != last_range_) {
    loadFirst();
  } else if (choice_ > 0 && !queue_->Row(choice_).position.empty()) {
    const ViewRow anchor = queue_->Row(choice_);
    loadAround(&anchor, nullptr, choice_);
  } else {
    loadFirst();
  }
  finishReload(hook);
}

void BrowseClass::finishReload(bool hook) {
  last_range_ = rangeValues();
  UpdateWindow();
  if (hook) ResetFromView();
}

bool BrowseClass::locate(const void* record, int choice) {
  std::vector<ViewRow> probe;
  const int n = PageSize();
  store::Status s = view_->ReadFrom(record, n, probe);
  if (!s.ok()) {
    report(s);
    return false;
  }
  if (probe.empty()) return false;
  placePage(std::move(probe), choice);
  return true;
}

void BrowseClass::loadAround(const ViewRow* anchor, const void* key_record, int choice) {
  const int n = PageSize();
  std::vector<ViewRow> fwd;
  store::Status s = anchor ? view_->ReadAt(*anchor, n, fwd) : view_->ReadFrom(key_record, n, fwd);
  if (!s.ok()) {
    report(s);
    return;
  }
  if (fwd.empty()) {
    // Nothing at or after the anchor any more: the last page.
    s = view_->ReadLast(n, fwd);
    if (!s.ok()) report(s);
    at_last_ = true;
    at_first_ = static_cast<int>(fwd.size()) < n;
    fillQueue(fwd, static_cast<int>(fwd.size()));
    return;
  }
  placePage(std::move(fwd), choice);
}

void BrowseClass::placePage(std::vector<ViewRow> fwd, int choice) {
  const int n = PageSize();
  const int before = std::clamp(choice - 1, 0, n - 1);
  const int want = std::max(before, n - static_cast<int>(fwd.size()));
  std::vector<ViewRow> bwd;
  if (want > 0) {
    store::Status s = view_->ReadBefore(fwd.front(), want, bwd);
    if (!s.ok()) report(s);
  }
  at_first_ = want > 0 && static_cast<int>(bwd.size()) < want;
  const int anchor_row = static_cast<int>(bwd.size()) + 1;
  std::vector<ViewRow> rows = std::move(bwd);
  const bool dropped = static_cast<int>(rows.size() + fwd.size()) > n;
  at_last_ = static_cast<int>(fwd.size()) < n && !dropped;
  rows.insert(rows.end(), std::make_move_iterator(fwd.begin()), std::make_move_iterator(fwd.end()));
  if (static_cast<int>(rows.size()) > n) rows.resize(static_cast<std::size_t>(n));
  fillQueue(rows, anchor_row);
}

void BrowseClass::fillQueue(const std::vector<ViewRow>& rows, int choice) {
  queue_->Free();
  for (const ViewRow& row : rows) {
    view_->Load(row);
    SetQueueRecord(row);
    queue_->Add(row);
  }
  choice_ = rows.empty() ? 0 : std::clamp(choice, 1, static_cast<int>(rows.size()));
  if (choice_ > 0) queue_->Get(choice_);
}

void BrowseClass::setThumbLimits() {
  if (current_sort_ < 1) return;
  StepClass* step = orders_[current_sort_ - 1].step;
  if (!step || !step->Bound()) return;
  // The reads must not disturb what the buffers hold.
  const ViewRow held = view_->Current();
  std::vector<ViewRow> first, last;
  store::Status s = view_->ReadFirst(1, first);
  if (s.ok()) s = view_->ReadLast(1, last);
  view_->Load(held);
  if (!s.ok()) {
    report(s);
    return;
  }
  const auto rec = [](const std::vector<ViewRow>& r) {
    return r.empty() ? nullptr : reinterpret_cast<const unsigned char*>(r.front().records[0].data());
  };
  step->SetLimit(rec(first), rec(last));
}

void BrowseClass::updateThumb() {
  if (!window_) return;
  rt::Window& w = window_->Window();
  double f = 0;
  StepClass* step = current_sort_ > 0 ? orders_[current_sort_ - 1].step : nullptr;
  if (choice_ > 0 && step && step->Bound() && !queue_->Row(choice_).records.empty()) {
    f = step->GetPercentile(reinterpret_cast<const unsigned char*>(queue_->Row(choice_).records[0].data()));
  } else if (at_first_ && (choice_ <= 1)) {
    f = 0;
  } else if (at_last_ && choice_ == Records()) {
    f = 1;
  } else {
    f = at_first_ ? 0 : at_last_ ? 1 : 0.5;
  }
  w.setThumb(list_, f);
}

void BrowseClass::report(const store::Status& s) {
  if (!window_ || !window_->Errors || s.ok()) return;
  window_->Errors->SetErrors(s.code, s.text, s.store_code, s.store_text);
  window_->Errors->ThrowFile(1, view_ ? view_->FileOf(0).name() : std::string());
}

// ----- Rows, queue and window ----------------------------------------------------------------

int BrowseClass::Records() const { return queue_ ? queue_->Records() : 0; }
int BrowseClass::CurrentChoice() const { return choice_; }

void BrowseClass::SetCurrentChoice(int row) {
  if (Records() == 0) return;
  choice_ = std::clamp(row, 1, Records());
  queue_->Get(choice_);
  if (window_) window_->Window().setSelectedRow(list_, choice_);
  updateThumb();
}

int BrowseClass::PageSize() const {
  if (window_) {
    const int v = window_->Window().visibleRows(list_);
    if (v > 0) return v;
  }
  return kFallbackPageSize;
}

void BrowseClass::SetQueueRecord(const ViewRow& row) {
  for (const FieldPair& p : fields_) copyValue(p.from, p.to);
  if (position_field_ && position_size_ > 0) {
    std::memset(position_field_, 0, position_size_);
    std::memcpy(position_field_, row.position.data(), std::min(position_size_, row.position.size()));
  }
}

void BrowseClass::UpdateBuffer() {
  for (const FieldPair& p : fields_) copyValue(p.to, p.from);
}

void BrowseClass::UpdateWindow() {
  if (!window_ || !queue_) return;
  rt::Window& w = window_->Window();
  if (!w.isOpen()) return;
  int cols = w.columnCount(list_);
  if (cols <= 0 || cols > static_cast<int>(fields_.size())) cols = static_cast<int>(fields_.size());
  std::vector<std::vector<std::string>> rows;
  for (int i = 1; i <= queue_->Records(); ++i) {
    queue_->Get(i);
    std::vector<std::string> cells;
    for (int c = 0; c < cols; ++c) cells.push_back(fields_[c].to.rawText());
    rows.push_back(std::move(cells));
  }
  if (choice_ > 0) queue_->Get(choice_);
  w.setListRows(list_, rows);
  w.setSelectedRow(list_, choice_);
  updateThumb();
  UpdateButtons();
}

void BrowseClass::UpdateButtons() {
  if (!window_) return;
  rt::Window& w = window_->Window();
  if (!w.isOpen()) return;
  const bool rows = Records() > 0;
  for (int feq : {ChangeControl, DeleteControl, ViewControl})
    if (feq) w.setFlag(feq, rt::ControlFlag::Disabled, !rows);
  if (SelectControl) {
    if (Selecting) {
      w.unhide(SelectControl);
      w.setFlag(SelectControl, rt::ControlFlag::Disabled, !rows);
      w.setDefaultButton(SelectControl, rows);
    } else {
      w.disable(SelectControl);
      if (HideSelect) w.hide(SelectControl);
    }
  }
}

bool BrowseClass::UpdateViewRecord() {
  if (choice_ < 1 || choice_ > Records()) return false;
  const ViewRow& row = queue_->Row(choice_);
  if (row.position.empty()) return false;
  return view_->Reget(row.position).ok();
}

// ----- Moving ---------------------------------------------------------------------------------

void BrowseClass::Fetch(int move) {
  if (!view_ || current_sort_ < 1) return;
  const int n = PageSize();
  std::vector<ViewRow> rows;
  store::Status s;
  auto current = [&] {
    std::vector<ViewRow> r;
    for (int i = 1; i <= Records(); ++i) r.push_back(queue_->Row(i));
    return r;
  };
  switch (move) {
    case Fetch_First:
      loadFirst();
      break;
    case Fetch_Last:
      s = view_->ReadLast(n, rows);
      if (!s.ok()) report(s);
      at_last_ = true;
      at_first_ = static_cast<int>(rows.size()) < n;
      fillQueue(rows, static_cast<int>(rows.size()));
      break;
    case Fetch_LineDown:
    case Fetch_LineUp: {
      const bool down = move == Fetch_LineDown;
      if (Records() == 0) break;
      if (down ? choice_ < Records() : choice_ > 1) {
        choice_ += down ? 1 : -1;
        queue_->Get(choice_);
        break;
      }
      s = down ? view_->ReadAfter(queue_->Row(Records()), 1, rows) : view_->ReadBefore(queue_->Row(1), 1, rows);
      if (!s.ok()) {
        report(s);
        break;
      }
      if (rows.empty()) {
        (down ? at_last_ : at_first_) = true;
        break;
      }
      std::vector<ViewRow> page = current();
      if (down) {
        page.push_back(std::move(rows.front()));
        if (static_cast<int>(page.size()) > n) page.erase(page.begin()), at_first_ = false;
        fillQueue(page, static_cast<int>(page.size()));
      } else {
        page.insert(page.begin(), std::move(rows.front()));
        if (static_cast<int>(page.size()) > n) page.pop_back(), at_last_ = false;
        fillQueue(page, 1);
      }
      break;
    }
    case Fetch_PageDown:
    case Fetch_PageUp: {
      const bool down = move == Fetch_PageDown;
      if (Records() == 0) break;
      s = down ? view_->ReadAfter(queue_->Row(Records()), n, rows) : view_->ReadBefore(queue_->Row(1), n, rows);
      if (!s.ok()) {
        report(s);
        break;
      }
      if (rows.empty()) {
        choice_ = down ? Records() : 1;
        queue_->Get(choice_);
        (down ? at_last_ : at_first_) = true;
        break;
      }
      if (static_cast<int>(rows.size()) == n) {
        at_first_ = at_last_ = false;
        fillQueue(rows, choice_);
      } else if (down) {
        Fetch(Fetch_Last);
        return;
      } else {
        loadFirst();
      }
      break;
    }
    default:
      return;
  }
  UpdateWindow();
}

bool BrowseClass::LocateRecord(const void* record) {
  if (!view_ || current_sort_ < 1) return false;
  const bool found = locate(record, 1);
  if (!found) Fetch(Fetch_Last);
  else UpdateWindow();
  return found;
}

void BrowseClass::TakeLocate(char c) {
  if (current_sort_ < 1) return;
  StepLocatorClass* loc = orders_[current_sort_ - 1].locator;
  if (!loc || !loc->Bound()) return;
  // One row down first: typing the same character again steps through the rows it begins.
  const int before = choice_;
  const ViewRow last = Records() > 0 ? queue_->Row(Records()) : ViewRow();
  Fetch(Fetch_LineDown);
  const bool moved = Records() > 0 && (choice_ != before || queue_->Row(Records()).position != last.position);
  if (moved && loc->BeginsWith(reinterpret_cast<const unsigned char*>(queue_->Row(choice_).records[0].data()), c))
    return;
  const store::TableDef& d = view_->DefOf(0);
  std::string seek(static_cast<std::size_t>(d.record_size), '\0');
  auto* rec = reinterpret_cast<unsigned char*>(seek.data());
  for (int f : d.keys[orders_[current_sort_ - 1].key].fields) setFieldLowest(d.fields[f], rec);
  if (!loc->SeekValue(c, rec)) return;
  LocateRecord(rec);
}

void BrowseClass::TakeDrag(double fraction) {
  if (current_sort_ < 1) return;
  if (fraction <= 0) {
    Fetch(Fetch_First);
    return;
  }
  if (fraction >= 1) {
    Fetch(Fetch_Last);
    return;
  }
  StepClass* step = orders_[current_sort_ - 1].step;
  if (!step || !step->Bound()) {
    Fetch(fraction < 0.5 ? Fetch_First : Fetch_Last);
    return;
  }
  const store::TableDef& d = view_->DefOf(0);
  std::string seek(static_cast<std::size_t>(d.record_size), '\0');
  auto* rec = reinterpret_cast<unsigned char*>(seek.data());
  for (int f : d.keys[orders_[current_sort_ - 1].key].fields) setFieldLowest(d.fields[f], rec);
  step->GetValue(fraction, rec);
  LocateRecord(rec);
}

// ----- Requests -------------------------------------------------------------------------------

int BrowseClass::PrimeRecord() { return view_ ? view_->PrimeRecord() : Level_Notify; }

int BrowseClass::AskRecord(int request) {
  (void)request;
  return RequestCancelled;
}

int BrowseClass::Ask(int request) {
  if (!window_ || !view_) return RequestCancelled;
  int response = RequestCancelled;
  for (;;) {
    window_->Update();
    if (request != InsertRecord && !UpdateViewRecord()) {
      // The row is gone (or the list is empty): show what is there now.
      reloadPage(true);
      return RequestCancelled;
    }
    if (AskProcedure) {
      if (request == InsertRecord && PrimeRecord() != 0) return RequestCancelled;
      response = window_->Run(AskProcedure, request);
    } else {
      response = AskRecord(request);
    }
    ResetFromAsk(request, response);
    std::int32_t* vcr = window_->VCRRequest;
    if (!vcr || *vcr == VCRNone) break;
    *vcr = VCRNone;
  }
  if (window_->Window().isOpen()) window_->Window().select(list_);
  return response;
}

void BrowseClass::ResetFromAsk(int& request, int& response) {
  const ViewRow saved = view_->Current();
  setThumbLimits();
  if (response == RequestCompleted && (request == InsertRecord || request == ChangeRecord)) {
    // The page around the saved record, at the highlighted row's place.
    std::vector<ViewRow> probe;
    bool placed = false;
    if (!saved.position.empty() && view_->ReadAt(saved, 1, probe).ok() && !probe.empty() &&
        probe.front().position == saved.position) {
      loadAround(&saved, nullptr, std::max(choice_, 1));
      placed = true;
    }
    if (!placed) loadAround(nullptr, saved.records[0].data(), std::max(choice_, 1));
  } else if (choice_ > 0 && !queue_->Row(choice_).position.empty()) {
    // After a delete the row after the deleted one takes its place; otherwise the same page.
    const ViewRow anchor = queue_->Row(choice_);
    loadAround(&anchor, nullptr, choice_);
  } else {
    loadFirst();
  }
  last_range_ = rangeValues();
  UpdateWindow();
  const bool more = followVCR(request);
  if (!more) ResetFromView();
}

bool BrowseClass::followVCR(int& request) {
  std::int32_t* vcr = window_ ? window_->VCRRequest : nullptr;
  if (!vcr || *vcr == VCRNone) return false;
  const std::int32_t v = *vcr;
  if (request == InsertRecord && v == VCRForward) return true;  // another new record
  if (!moveVCR(v)) {
    *vcr = VCRNone;
    return false;
  }
  if (request == InsertRecord) request = ChangeRecord;
  return true;
}

bool BrowseClass::moveVCR(std::int32_t vcr) {
  const int before = choice_;
  const std::string first = Records() > 0 ? queue_->Row(1).position : std::string();
  switch (vcr) {
    case VCRForward: Fetch(Fetch_LineDown); break;
    case VCRBackward: Fetch(Fetch_LineUp); break;
    case VCRLast: Fetch(Fetch_Last); return Records() > 0;
    case VCRFirst: Fetch(Fetch_First); return Records() > 0;
    case VCRPageDown: Fetch(Fetch_PageDown); break;
    case VCRPageUp: Fetch(Fetch_PageUp); break;
    default: return false;
  }
  return Records() > 0 && (choice_ != before || queue_->Row(1).position != first);
}

// ----- Buttons, keys and the menu ------------------------------------------------------------

std::vector<std::string> BrowseClass::PopupEntries() const {
  std::vector<std::string> out;
  const BrowsePopupTexts t = GetBrowsePopupTexts();
  if (InsertControl) out.push_back(t.Insert);
  if (ChangeControl) out.push_back(t.Change);
  if (DeleteControl) out.push_back(t.Delete);
  if (ViewControl) out.push_back(t.View);
  if (SelectControl && Selecting) out.push_back(t.Select);
  return out;
}

void BrowseClass::TakePopupChoice(int entry) {
  std::vector<int> feqs;
  for (int feq : {InsertControl, ChangeControl, DeleteControl, ViewControl})
    if (feq) feqs.push_back(feq);
  if (SelectControl && Selecting) feqs.push_back(SelectControl);
  if (entry >= 1 && entry <= static_cast<int>(feqs.size())) pressButton(feqs[entry - 1]);
}

void BrowseClass::syncChoice() {
  if (!window_ || !window_->Window().isOpen()) return;
  const int row = window_->Window().selectedRow(list_);
  if (row >= 1 && row <= Records() && row != choice_) {
    choice_ = row;
    queue_->Get(choice_);
  }
}

void BrowseClass::pressButton(int feq) {
  if (!feq || !window_) return;
  syncChoice();
  rt::Window& w = window_->Window();
  if (w.exists(feq) && (w.flag(feq, rt::ControlFlag::Disabled) || w.flag(feq, rt::ControlFlag::Hidden))) return;
  if (feq == SelectControl && Selecting) {
    selectNow();
  } else if (feq == InsertControl) {
    Ask(InsertRecord);
  } else if (feq == ChangeControl) {
    Ask(ChangeRecord);
  } else if (feq == DeleteControl) {
    Ask(DeleteRecord);
  } else if (feq == ViewControl) {
    Ask(ViewRecord);
  }
}

void BrowseClass::selectNow() {
  if (Records() == 0 || !window_) return;
  window_->SetResponse(RequestCompleted);
}

int BrowseClass::handleKey(int keycode) {
  switch (keycode) {
    case rt::InsertKey: pressButton(InsertControl); return Level_Handled;
    case rt::DeleteKey: pressButton(DeleteControl); return Level_Handled;
    case rt::CtrlEnter: pressButton(ChangeControl); return Level_Handled;
    case rt::ShiftEnter: pressButton(ViewControl); return Level_Handled;
    case rt::MouseLeft2:
      if (Records() == 0) return Level_Handled;
      pressButton(Selecting && SelectControl ? SelectControl : ChangeControl);
      return Level_Handled;
    case rt::MouseRight:
      if (UsePopup && EditViaPopup && window_) TakePopupChoice(ShowBrowsePopup(PopupEntries()));
      return Level_Handled;
    default: return Level_Benign;
  }
}

// ----- WindowComponent ------------------------------------------------------------------------

int BrowseClass::TakeEvent() {
  if (!window_ || !view_) return Level_Benign;
  const int ev = rt::event();
  const int f = rt::field();
  if (f == list_ && list_ != 0) {
    syncChoice();
    switch (ev) {
      case rt::EVENT_ScrollUp: Fetch(Fetch_LineUp); return Level_Benign;
      case rt::EVENT_ScrollDown: Fetch(Fetch_LineDown); return Level_Benign;
      case rt::EVENT_PageUp: Fetch(Fetch_PageUp); return Level_Benign;
      case rt::EVENT_PageDown: Fetch(Fetch_PageDown); return Level_Benign;
      case rt::EVENT_ScrollTop: Fetch(Fetch_First); return Level_Benign;
      case rt::EVENT_ScrollBottom: Fetch(Fetch_Last); return Level_Benign;
      case rt::EVENT_ScrollDrag: TakeDrag(rt::thumbFraction()); return Level_Benign;
      case rt::EVENT_Locate: TakeLocate(rt::typedChar()); return Level_Benign;
      case rt::EVENT_NewSelection: {
        const int row = window_->Window().selectedRow(list_);
        if (row >= 1 && row <= Records()) {
          choice_ = row;
          queue_->Get(choice_);
        }
        updateThumb();
        UpdateButtons();
        if (rt::keyCode() == rt::MouseRight) handleKey(rt::MouseRight);
        return Level_Benign;
      }
      case rt::EVENT_AlertKey: return handleKey(rt::keyCode());
      case rt::EVENT_Accepted:
        if (rt::keyCode() == rt::MouseLeft2) return handleKey(rt::MouseLeft2);
        return Level_Benign;
      default: return Level_Benign;
    }
  }
  if (ev == rt::EVENT_Accepted && f != 0) {
    if (f == SelectControl && Selecting) {
      selectNow();
      return Level_Handled;
    }
    if (f == InsertControl || f == ChangeControl || f == DeleteControl || f == ViewControl) {
      pressButton(f);
      return Level_Handled;
    }
  }
  return Level_Benign;
}

void BrowseClass::Reset(bool force) {
  if (!window_ || !view_ || orders_.empty()) return;
  if (!page_loaded_set_ && window_->Window().isOpen()) {
    window_->Window().setPageLoaded(list_, true);
    page_loaded_set_ = true;
  }
  if (!loaded_) {
    ResetSort(true);
    return;
  }
  ResetSort(force);
}

void BrowseClass::Update() {}

void BrowseClass::SetAlerts() {
  if (!window_) return;
  rt::Window& w = window_->Window();
  if (InsertControl) w.addAlert(list_, rt::InsertKey);
  if (DeleteControl) w.addAlert(list_, rt::DeleteKey);
  if (ChangeControl) w.addAlert(list_, rt::CtrlEnter);
  if (ViewControl) w.addAlert(list_, rt::ShiftEnter);
}

void BrowseClass::Kill() {
  if (Selecting && saved_ && view_) {
    const bool chosen = window_ && window_->Response == RequestCompleted;
    if (chosen && choice_ > 0) {
      // The highlighted row into the buffers: re-read, or as listed when it is gone.
      if (!UpdateViewRecord()) view_->Load(queue_->Row(choice_));
    } else {
      std::memcpy(view_->BufferOf(0), saved_buffer_.data(), saved_buffer_.size());
    }
    saved_ = false;
  }
  loaded_ = false;
}

}  // namespace fw
