#include "framework/view_manager.h"

#include <algorithm>
#include <cstring>

#include "framework/record_field.h"

namespace fw {

using store::PageRow;
using store::Status;

void ViewManager::Init(store::File& primary, void* buffer) {
  tables_.clear();
  range_.clear();
  order_ = -1;
  Table t;
  t.file = &primary;
  t.buffer = static_cast<unsigned char*>(buffer);
  tables_.push_back(std::move(t));
}

int ViewManager::AddJoin(int parent, store::File& file, void* buffer, int key, bool inner) {
  if (parent < 0 || parent >= Tables()) return -1;
  if (key < 0 || key >= static_cast<int>(file.def().keys.size())) return -1;
  Table t;
  t.file = &file;
  t.buffer = static_cast<unsigned char*>(buffer);
  t.parent = parent;
  t.key = key;
  t.inner = inner;
  tables_.push_back(std::move(t));
  return Tables() - 1;
}

bool ViewManager::AddJoinLink(int parent_field, int child_field) {
  if (Tables() < 2) return false;
  Table& t = tables_.back();
  const store::TableDef& pd = DefOf(t.parent);
  if (parent_field < 0 || parent_field >= static_cast<int>(pd.fields.size())) return false;
  if (child_field < 0 || child_field >= static_cast<int>(t.file->def().fields.size())) return false;
  t.links.push_back({parent_field, child_field});
  return true;
}

void ViewManager::AddProjection(int table, int field) {
  if (table >= 0 && table < Tables()) tables_[table].projection.push_back(field);
}

bool ViewManager::SetOrder(int key) {
  if (tables_.empty() || key < 0 || key >= static_cast<int>(DefOf(0).keys.size())) return false;
  order_ = key;
  range_.clear();
  return true;
}

void ViewManager::ClearRange() { range_.clear(); }

bool ViewManager::AddRangeValue(int field, const void* value) {
  if (order_ < 0) return false;
  const store::KeyDef& k = DefOf(0).keys[order_];
  if (range_.size() >= k.fields.size() || k.fields[range_.size()] != field) return false;
  RangeValue r;
  r.field = field;
  r.fixed.assign(static_cast<const char*>(value), DefOf(0).fields[field].size);
  range_.push_back(std::move(r));
  return true;
}

bool ViewManager::AddRangeByRelation(int field, const void* parent_field) {
  if (order_ < 0 || parent_field == nullptr) return false;
  const store::KeyDef& k = DefOf(0).keys[order_];
  if (range_.size() >= k.fields.size() || k.fields[range_.size()] != field) return false;
  RangeValue r;
  r.field = field;
  r.source = static_cast<const unsigned char*>(parent_field);
  range_.push_back(std::move(r));
  return true;
}

std::string ViewManager::rangeBytes(const RangeValue& r) const {
  if (!r.source) return r.fixed;
  return std::string(reinterpret_cast<const char*>(r.source), DefOf(0).fields[r.field].size);
}

void ViewManager::putRange(unsigned char* record) const {
  const store::TableDef& d = DefOf(0);
  for (const RangeValue& r : range_) {
    const std::string v = rangeBytes(r);
    std::memcpy(record + d.fields[r.field].offset, v.data(), v.size());
  }
}

bool ViewManager::InRange(const unsigned char* record) const {
  if (range_.empty()) return true;
  const store::TableDef& d = DefOf(0);
  const bool nocase = d.keys[order_].nocase;
  std::string limit(static_cast<size_t>(d.record_size), '\0');
  auto* lim = reinterpret_cast<unsigned char*>(limit.data());
  putRange(lim);
  for (const RangeValue& r : range_)
    if (compareField(d.fields[r.field], record, lim, nocase) != 0) return false;
  return true;
}

bool ViewManager::sameOrderKey(const unsigned char* a, const unsigned char* b) const {
  const store::TableDef& d = DefOf(0);
  const store::KeyDef& k = d.keys[order_];
  for (int f : k.fields)
    if (compareField(d.fields[f], a, b, k.nocase) != 0) return false;
  return true;
}

Status ViewManager::lookupJoin(int t) {
  Table& j = tables_[t];
  const store::TableDef& cd = j.file->def();
  const store::TableDef& pd = DefOf(j.parent);
  const unsigned char* parent = tables_[j.parent].buffer;
  clearRecord(cd, j.buffer);
  for (const Link& l : j.links) {
    const store::FieldDef& pf = pd.fields[l.parent_field];
    const store::FieldDef& cf = cd.fields[l.child_field];
    if (pf.type == cf.type && pf.size == cf.size && pf.places == cf.places)
      std::memcpy(j.buffer + cf.offset, parent + pf.offset, static_cast<size_t>(cf.size));
    else if (fieldIsNumeric(cf))
      setFieldNumber(cf, j.buffer, fieldNumber(pf, parent));
    else
      setFieldText(cf, j.buffer, fieldText(pf, parent));
  }
  const store::KeyDef& k = cd.keys[j.key];
  if (j.links.size() >= k.fields.size()) return j.file->fetch(j.key);
  // The links give only leading components: the first record in the key's order that matches.
  std::string want(reinterpret_cast<const char*>(j.buffer), static_cast<size_t>(cd.record_size));
  Status s = j.file->set(j.key, j.buffer);
  if (!s.ok()) return s;
  std::vector<PageRow> one;
  s = j.file->readPage(1, true, one);
  if (!s.ok()) return s;
  if (one.empty()) return Status::error(store::RecordNotFound);
  const auto* w = reinterpret_cast<const unsigned char*>(want.data());
  for (const Link& l : j.links)
    if (compareField(cd.fields[l.child_field], j.buffer, w, k.nocase) != 0) return Status::error(store::RecordNotFound);
  return {};
}

bool ViewManager::completeRow(ViewRow& row, const PageRow& pr) {
  row.position = pr.position;
  row.records.assign(tables_.size(), std::string());
  row.records[0] = pr.record;
  std::memcpy(tables_[0].buffer, pr.record.data(), pr.record.size());
  for (int t = 1; t < Tables(); ++t) {
    Status s = lookupJoin(t);
    if (!s.ok()) {
      if (tables_[t].inner) return false;
      clearRecord(tables_[t].file->def(), tables_[t].buffer);
    }
    row.records[t].assign(reinterpret_cast<const char*>(tables_[t].buffer),
                          static_cast<size_t>(tables_[t].file->def().record_size));
  }
  return !Filter || Filter();
}

Status ViewManager::collect(bool forward, int n, std::vector<ViewRow>& rows, const ViewRow* skip) {
  store::File& f = *tables_[0].file;
  std::vector<ViewRow> got;
  std::vector<PageRow> page;
  bool first = true;
  while (static_cast<int>(got.size()) < n) {
    // Ask for what is still missing (one more when the anchor itself may come back first).
    const int want = n - static_cast<int>(got.size()) + (first && skip ? 1 : 0);
    Status s = f.readPage(want, forward, page);
    if (!s.ok()) return s;
    bool ended = static_cast<int>(page.size()) < want;
    for (PageRow& pr : page) {
      const auto* rec = reinterpret_cast<const unsigned char*>(pr.record.data());
      if (first && skip) {
        first = false;
        const bool unique = !DefOf(0).keys[order_].dup;
        const auto* anchor = reinterpret_cast<const unsigned char*>(skip->records[0].data());
        if (pr.position == skip->position || (unique && sameOrderKey(rec, anchor))) continue;
      }
      first = false;
      if (!InRange(rec)) {
        ended = true;
        break;
      }
      ViewRow row;
      if (completeRow(row, pr)) got.push_back(std::move(row));
      if (static_cast<int>(got.size()) >= n) break;
    }
    if (ended || page.empty()) break;
  }
  if (!forward) std::reverse(got.begin(), got.end());
  rows = std::move(got);
  return {};
}

Status ViewManager::ReadFirst(int n, std::vector<ViewRow>& rows) {
  rows.clear();
  if (order_ < 0) return Status::error(store::InvalidKey, "no order");
  store::File& f = *tables_[0].file;
  Status s;
  if (range_.empty()) {
    s = f.set(order_);
  } else {
    const store::TableDef& d = DefOf(0);
    std::string seek(static_cast<size_t>(d.record_size), '\0');
    auto* rec = reinterpret_cast<unsigned char*>(seek.data());
    for (int fi : d.keys[order_].fields) setFieldLowest(d.fields[fi], rec);
    putRange(rec);
    s = f.set(order_, rec);
  }
  if (!s.ok()) return s;
  return collect(true, n, rows);
}

Status ViewManager::ReadLast(int n, std::vector<ViewRow>& rows) {
  rows.clear();
  if (order_ < 0) return Status::error(store::InvalidKey, "no order");
  store::File& f = *tables_[0].file;
  if (range_.empty()) {
    Status s = f.setAfter(order_);
    if (!s.ok()) return s;
    return collect(false, n, rows);
  }
  // The highest record of the range, found through the primary buffer's range components.
  const store::TableDef& d = DefOf(0);
  unsigned char* buf = tables_[0].buffer;
  std::string saved(reinterpret_cast<const char*>(buf), static_cast<size_t>(d.record_size));
  putRange(buf);
  std::string last(static_cast<size_t>(d.record_size), '\0');
  Status s = f.highest(order_, RangeComponents(), last.data());
  std::memcpy(buf, saved.data(), saved.size());
  if (s.code == store::RecordNotFound) return {};
  if (!s.ok()) return s;
  // With equal key values (DUP) the last of them is the last read forward from the first.
  s = f.set(order_, last.data());
  if (!s.ok()) return s;
  const auto* lastRec = reinterpret_cast<const unsigned char*>(last.data());
  std::vector<PageRow> page;
  PageRow end;
  for (;;) {
    s = f.readPage(16, true, page);
    if (!s.ok()) return s;
    bool done = page.size() < 16;
    for (PageRow& pr : page) {
      if (!sameOrderKey(reinterpret_cast<const unsigned char*>(pr.record.data()), lastRec)) {
        done = true;
        break;
      }
      end = std::move(pr);
    }
    if (done) break;
  }
  if (end.position.empty()) return {};
  // That record, then the rows before it.
  ViewRow endRow;
  const bool keep = completeRow(endRow, end);
  s = f.resetTo(order_, end.position);
  if (!s.ok()) return s;
  s = collect(false, keep ? n - 1 : n, rows);
  if (!s.ok()) return s;
  if (keep && n > 0) rows.push_back(std::move(endRow));
  return {};
}

Status ViewManager::ReadFrom(const void* key_record, int n, std::vector<ViewRow>& rows) {
  rows.clear();
  if (order_ < 0) return Status::error(store::InvalidKey, "no order");
  const store::TableDef& d = DefOf(0);
  std::string seek(static_cast<const char*>(key_record), static_cast<size_t>(d.record_size));
  putRange(reinterpret_cast<unsigned char*>(seek.data()));
  Status s = tables_[0].file->set(order_, seek.data());
  if (!s.ok()) return s;
  return collect(true, n, rows);
}

Status ViewManager::ReadAt(const ViewRow& anchor, int n, std::vector<ViewRow>& rows) {
  rows.clear();
  if (order_ < 0) return Status::error(store::InvalidKey, "no order");
  Status s = tables_[0].file->resetTo(order_, anchor.position);
  if (!s.ok()) return s;
  return collect(true, n, rows);
}

Status ViewManager::ReadAfter(const ViewRow& anchor, int n, std::vector<ViewRow>& rows) {
  rows.clear();
  if (order_ < 0) return Status::error(store::InvalidKey, "no order");
  Status s = tables_[0].file->resetTo(order_, anchor.position);
  if (!s.ok()) return s;
  return collect(true, n, rows, &anchor);
}

Status ViewManager::ReadBefore(const ViewRow& anchor, int n, std::vector<ViewRow>& rows) {
  rows.clear();
  if (order_ < 0) return Status::error(store::InvalidKey, "no order");
  Status s = tables_[0].file->resetTo(order_, anchor.position);
  if (!s.ok()) return s;
  return collect(false, n, rows);
}

void ViewManager::Reset() {
  cursor_ = ViewRow();
  cursor_set_ = false;
}

Status ViewManager::Next() {
  std::vector<ViewRow> rows;
  Status s = cursor_set_ ? ReadAfter(cursor_, 1, rows) : ReadFirst(1, rows);
  if (!s.ok()) return s;
  if (rows.empty()) return Status::error(store::RecordNotAvailable);
  cursor_ = std::move(rows.front());
  cursor_set_ = true;
  Load(cursor_);
  return {};
}

Status ViewManager::Reget(const std::string& position) {
  if (tables_.empty()) return Status::error(store::FileNotOpen);
  Status s = tables_[0].file->reget(position);
  if (!s.ok()) return s;
  const store::TableDef& d = DefOf(0);
  PageRow pr;
  pr.record.assign(reinterpret_cast<const char*>(tables_[0].buffer), static_cast<size_t>(d.record_size));
  pr.position = tables_[0].file->position();
  if (order_ >= 0 && !InRange(tables_[0].buffer)) return Status::error(store::RecordNotFound);
  ViewRow row;
  if (!completeRow(row, pr)) return Status::error(store::RecordNotFound);
  return {};
}

void ViewManager::Load(const ViewRow& row) const {
  for (int t = 0; t < Tables() && t < static_cast<int>(row.records.size()); ++t)
    std::memcpy(tables_[t].buffer, row.records[t].data(),
                std::min(row.records[t].size(), static_cast<size_t>(DefOf(t).record_size)));
}

ViewRow ViewManager::Current() const {
  ViewRow row;
  if (tables_.empty()) return row;
  row.position = tables_[0].file->position();
  for (int t = 0; t < Tables(); ++t)
    row.records.emplace_back(reinterpret_cast<const char*>(tables_[t].buffer), static_cast<size_t>(DefOf(t).record_size));
  return row;
}

int ViewManager::PrimeRecord() {
  for (int t = 0; t < Tables(); ++t) clearRecord(DefOf(t), tables_[t].buffer);
  if (order_ >= 0) putRange(tables_[0].buffer);
  if (PrimePrimary) return PrimePrimary();
  return 0;
}

}  // namespace fw
