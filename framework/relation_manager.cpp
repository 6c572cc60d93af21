#include "framework/relation_manager.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "framework/error_class.h"
#include "store/transaction.h"

namespace fw {

namespace {

const store::FieldDef* fieldAt(const FileManager& fm, int offset) {
  if (!fm.File) return nullptr;
  for (const store::FieldDef& f : fm.File->def().fields)
    if (f.offset == offset) return &f;
  return nullptr;
}

bool linkEqual(const RelationLink& l, const std::string& mine, const unsigned char* his) {
  return std::memcmp(mine.data() + l.my_offset, his + l.his_offset, static_cast<std::size_t>(l.size)) == 0;
}

}  // namespace

void RelationManager::Init(FileManager& file, bool use_logout) {
  file_ = &file;
  UseLogout = use_logout;
  LogoutTimeout = kDefaultLogoutTimeout;
  relations_.clear();
  relations_added_ = false;
  opened_.clear();
}

void RelationManager::Kill() {
  // Each file manager's Kill closes its own file; related managers may already be gone.
  opened_.clear();
  relations_.clear();
  relations_added_ = false;
}

void RelationManager::DeferedAddRelations() {}

void RelationManager::ensureRelations() {
  if (relations_added_) return;
  relations_added_ = true;
  DeferedAddRelations();
}

const std::vector<Relation>& RelationManager::Relations() {
  ensureRelations();
  return relations_;
}

void RelationManager::AddRelation(RelationManager& related) {
  Relation r;
  r.related = &related;
  r.lookup = true;
  relations_.push_back(std::move(r));
}

void RelationManager::AddRelation(RelationManager& related, int update_mode, int delete_mode, int his_key) {
  Relation r;
  r.related = &related;
  r.lookup = false;
  r.UpdateMode = update_mode;
  r.DeleteMode = delete_mode;
  r.HisKey = his_key;
  relations_.push_back(std::move(r));
}

bool RelationManager::AddRelationLink(const void* my_field, std::size_t my_size, const void* his_field,
                                      std::size_t his_size) {
  if (relations_.empty() || !file_ || my_size != his_size || my_size == 0) return false;
  FileManager* his = relations_.back().related->file_;
  if (!his || !file_->Buffer || !his->Buffer) return false;
  const auto* mine = static_cast<const unsigned char*>(my_field);
  const auto* other = static_cast<const unsigned char*>(his_field);
  if (mine < file_->Buffer || mine + my_size > file_->Buffer + file_->RecordSize) return false;
  if (other < his->Buffer || other + his_size > his->Buffer + his->RecordSize) return false;
  RelationLink l;
  l.my_offset = static_cast<int>(mine - file_->Buffer);
  l.his_offset = static_cast<int>(other - his->Buffer);
  l.size = static_cast<int>(my_size);
  const store::FieldDef* hf = fieldAt(*his, l.his_offset);
  l.his_text = hf && hf->type == store::FieldType::String;
  relations_.back().links.push_back(l);
  return true;
}

// ----- opening -----

void RelationManager::collect(std::vector<RelationManager*>& into, bool integrity_only) {
  if (std::find(into.begin(), into.end(), this) != into.end()) return;
  into.push_back(this);
  ensureRelations();
  for (const Relation& r : relations_) {
    if (integrity_only && (r.lookup || (r.DeleteMode == RI_None && r.UpdateMode == RI_None))) continue;
    r.related->collect(into, integrity_only);
  }
}

int RelationManager::Open() {
  if (!file_) return Level_Notify;
  std::vector<RelationManager*> all;
  collect(all, false);
  std::vector<RelationManager*> done;
  for (RelationManager* m : all) {
    const int r = m->file_ ? m->file_->Open() : Level_Notify;
    if (r != Level_Benign) {
      for (auto it = done.rbegin(); it != done.rend(); ++it) (*it)->file_->Close();
      return r;
    }
    done.push_back(m);
  }
  opened_.push_back(std::move(done));
  return Level_Benign;
}

int RelationManager::Close() {
  if (opened_.empty()) return Level_Benign;
  std::vector<RelationManager*> list = std::move(opened_.back());
  opened_.pop_back();
  int worst = Level_Benign;
  for (auto it = list.rbegin(); it != list.rend(); ++it) worst = std::max(worst, (*it)->file_->Close());
  return worst;
}

// ----- children -----

bool RelationManager::linksBlank(const Relation& r, const std::string& mine) const {
  for (const RelationLink& l : r.links) {
    const store::FieldDef* f = fieldAt(*file_, l.my_offset);
    const bool text = f && f->type == store::FieldType::String;
    for (int i = 0; i < l.size; ++i) {
      const char c = mine[static_cast<std::size_t>(l.my_offset + i)];
      if (c != 0 && !(text && c == ' ')) return false;
    }
  }
  return true;
}

// Reads the first child of the record `mine` (this table's record bytes) into the related
// table's buffer. When the linked fields lead the relation's key the read is a seek; otherwise
// the key is scanned.
int RelationManager::seekChild(const Relation& r, const std::string& mine, bool& found) {
  found = false;
  FileManager& c = *r.related->file_;
  if (r.links.empty() || r.HisKey < 0) return Level_Benign;
  const store::TableDef& def = c.File->def();
  if (r.HisKey >= static_cast<int>(def.keys.size())) return Level_Notify;
  const store::KeyDef& kd = def.keys[r.HisKey];
  bool leading = r.links.size() <= kd.fields.size();
  for (std::size_t i = 0; leading && i < r.links.size(); ++i) {
    const int off = def.fields[kd.fields[i]].offset;
    leading = std::any_of(r.links.begin(), r.links.end(), [&](const RelationLink& l) { return l.his_offset == off; });
  }
  c.ClearBuffer();
  for (const RelationLink& l : r.links)
    std::memcpy(c.Buffer + l.his_offset, mine.data() + l.my_offset, static_cast<std::size_t>(l.size));
  int rc = leading ? c.SetFrom(r.HisKey) : c.Set(r.HisKey);
  if (rc != Level_Benign) return rc;
  for (;;) {
    rc = c.TryNext();
    if (rc != Level_Benign) return c.LastStatus().code == store::RecordNotAvailable ? Level_Benign : rc;
    const bool match = std::all_of(r.links.begin(), r.links.end(),
                                   [&](const RelationLink& l) { return linkEqual(l, mine, c.Buffer); });
    if (match) {
      found = true;
      return Level_Benign;
    }
    if (leading) return Level_Benign;
  }
}

int RelationManager::reportChild(RelationManager& child, int message) {
  return child.file_->Report(message, child.file_->LastStatus());
}

// Refuses the change when a relation with the restrict rule has children of `mine`. For an
// update only relations whose linked fields differ in `after` count.
int RelationManager::checkRestrict(const std::string& mine, bool for_update, const std::string* after) {
  for (const Relation& r : relations_) {
    if (r.lookup || (for_update ? r.UpdateMode : r.DeleteMode) != RI_Restrict || linksBlank(r, mine)) continue;
    if (for_update && after &&
        std::all_of(r.links.begin(), r.links.end(), [&](const RelationLink& l) {
          return std::memcmp(mine.data() + l.my_offset, after->data() + l.my_offset,
                             static_cast<std::size_t>(l.size)) == 0;
        }))
      continue;
    FileManager& c = *r.related->file_;
    const std::string keep = c.SaveBuffer();
    bool found = false;
    int rc = seekChild(r, mine, found);
    c.RestoreBuffer(keep);
    if (rc != Level_Benign) return reportChild(*r.related, Msg_RetrievalError);
    if (found) {
      if (file_->Errors) {
        file_->Errors->SetFile(c.FileNameValue);
        const int answer = file_->Errors->Throw(for_update ? Msg_RestrictUpdate : Msg_RestrictDelete);
        if (answer == Severity_Fatal) return Level_Fatal;
      }
      return Level_Notify;
    }
  }
  return Level_Benign;
}

// ----- delete -----

int RelationManager::deleteRecord(int depth) {
  FileManager& me = *file_;
  if (depth > kMaxDepth) return me.Report(Msg_DeleteError, store::Status::error(store::InvalidKey, "relations nested too deep"));
  const std::string mine = me.SaveBuffer();
  const std::string pos = me.Position();
  if (pos.empty()) return me.Report(Msg_DeleteError, store::Status::error(store::RecordNotAvailable, me.FileNameValue));
  ensureRelations();
  if (int rc = checkRestrict(mine, false, nullptr); rc != Level_Benign) return rc;
  for (const Relation& r : relations_) {
    if (r.lookup || (r.DeleteMode != RI_Cascade && r.DeleteMode != RI_Clear) || linksBlank(r, mine)) continue;
    RelationManager& child = *r.related;
    for (;;) {
      bool found = false;
      int rc = seekChild(r, mine, found);
      if (rc != Level_Benign) return reportChild(child, Msg_RetrievalError);
      if (!found) break;
      if (r.DeleteMode == RI_Cascade) {
        rc = child.deleteRecord(depth + 1);
      } else {
        const std::string before = child.file_->SaveBuffer();
        for (const RelationLink& l : r.links)
          std::memset(child.file_->Buffer + l.his_offset, l.his_text ? ' ' : 0, static_cast<std::size_t>(l.size));
        rc = child.updateRecord(before, depth + 1);
      }
      if (rc != Level_Benign) return rc;
    }
  }
  // A related manager of this same table may have moved it: take the record up again.
  if (me.Position() != pos && me.TryReget(pos) != Level_Benign) return me.Report(Msg_DeleteError, me.LastStatus());
  me.RestoreBuffer(mine);
  const int rc = me.TryDelete();
  if (rc != Level_Benign && depth > 0) return me.Report(Msg_DeleteError, me.LastStatus());
  own_failed_ = rc != Level_Benign;
  return rc;
}

int RelationManager::Delete(bool ask) {
  if (!file_) return Level_Notify;
  FileManager& me = *file_;
  ensureRelations();
  if (ask && me.Errors) {
    const int answer = me.Errors->Throw(Msg_ConfirmDelete);
    if (answer != 0) return answer == Severity_Fatal ? Level_Fatal : Level_User;
  }
  std::vector<RelationManager*> involved;
  collect(involved, true);
  std::vector<store::File*> files;
  for (RelationManager* m : involved) {
    if (int rc = m->file_->UseFile(UseType_Use); rc != Level_Benign) return rc;
    files.push_back(m->file_->File);
  }
  const std::string mine = me.SaveBuffer();
  const std::string pos = me.Position();
  for (;;) {
    std::unique_ptr<store::Transaction> t;
    if (UseLogout) {
      store::Status s = store::Transaction::begin(files, LogoutTimeout, t);
      if (!s.ok()) return me.Report(Msg_LogoutError, s);
    }
    own_failed_ = false;
    const int rc = deleteRecord(0);
    if (rc == Level_Benign) {
      if (t) {
        store::Status s = t->commit();
        if (!s.ok()) {
          if (!pos.empty()) me.TryReget(pos);
          me.RestoreBuffer(mine);
          return me.Report(Msg_DeleteError, s);
        }
      }
      return Level_Benign;
    }
    // Whether the record's own delete failed (its children, if any, were all handled).
    const bool own_failed = own_failed_;
    const store::Status own = me.LastStatus();
    if (t) t->rollback();
    me.RestoreBuffer(mine);
    if (rc != Level_Notify || !own_failed || !me.Errors) return rc;
    me.Errors->SetFile(me.FileNameValue);
    me.Errors->SetErrors(own.code, store::errorText(own.code), own.store_code, own.store_text);
    const int answer = me.Errors->Throw(Msg_RetryDelete);
    if (answer != 0) return answer == Severity_Fatal ? Level_Fatal : Level_Notify;
  }
}

// ----- update -----

int RelationManager::updateRecord(const std::string& before, int depth) {
  FileManager& me = *file_;
  if (depth > kMaxDepth) return me.Report(Msg_PutError, store::Status::error(store::InvalidKey, "relations nested too deep"));
  const std::string after = me.SaveBuffer();
  const std::string pos = me.Position();
  ensureRelations();
  if (int rc = checkRestrict(before, true, &after); rc != Level_Benign) {
    // The linked fields go back to what they were; nothing is written.
    for (const Relation& r : relations_) {
      if (r.lookup || r.UpdateMode != RI_Restrict) continue;
      for (const RelationLink& l : r.links)
        std::memcpy(me.Buffer + l.my_offset, before.data() + l.my_offset, static_cast<std::size_t>(l.size));
    }
    return rc;
  }
  for (const Relation& r : relations_) {
    if (r.lookup || (r.UpdateMode != RI_Cascade && r.UpdateMode != RI_Clear) || linksBlank(r, before)) continue;
    const bool changed = std::any_of(r.links.begin(), r.links.end(), [&](const RelationLink& l) {
      return std::memcmp(before.data() + l.my_offset, after.data() + l.my_offset, static_cast<std::size_t>(l.size)) != 0;
    });
    if (!changed) continue;
    RelationManager& child = *r.related;
    for (;;) {
      bool found = false;
      int rc = seekChild(r, before, found);
      if (rc != Level_Benign) return reportChild(child, Msg_RetrievalError);
      if (!found) break;
      const std::string child_before = child.file_->SaveBuffer();
      for (const RelationLink& l : r.links) {
        if (r.UpdateMode == RI_Cascade)
          std::memcpy(child.file_->Buffer + l.his_offset, after.data() + l.my_offset, static_cast<std::size_t>(l.size));
        else
          std::memset(child.file_->Buffer + l.his_offset, l.his_text ? ' ' : 0, static_cast<std::size_t>(l.size));
      }
      rc = child.updateRecord(child_before, depth + 1);
      if (rc != Level_Benign) return rc;
    }
  }
  if (me.Position() != pos && me.TryReget(pos) != Level_Benign) return me.Report(Msg_PutError, me.LastStatus());
  me.RestoreBuffer(after);
  const int rc = me.TryUpdate();
  if (rc != Level_Benign && depth > 0) return me.ReportWriteFailure(me.LastStatus(), false);
  own_failed_ = rc != Level_Benign;
  return rc;
}

int RelationManager::Update() {
  if (!file_) return Level_Notify;
  FileManager& me = *file_;
  ensureRelations();
  if (int rc = me.UseFile(UseType_Use); rc != Level_Benign) return rc;
  const std::string after = me.SaveBuffer();
  const std::string pos = me.Position();
  // The record as stored: as the manager last read it, else read again.
  std::string before;
  if (!pos.empty() && me.LastRecordPosition() == pos && !me.LastRecord().empty()) {
    before = me.LastRecord();
  } else if (!pos.empty() && me.TryReget(pos) == Level_Benign) {
    before = me.SaveBuffer();
    me.RestoreBuffer(after);
  } else {
    before = after;
  }
  const bool linked_change = std::any_of(relations_.begin(), relations_.end(), [&](const Relation& r) {
    return !r.lookup && r.UpdateMode != RI_None &&
           std::any_of(r.links.begin(), r.links.end(), [&](const RelationLink& l) {
             return std::memcmp(before.data() + l.my_offset, after.data() + l.my_offset,
                                static_cast<std::size_t>(l.size)) != 0;
           });
  });
  if (!linked_change) return me.Update();

  std::vector<RelationManager*> involved;
  collect(involved, true);
  std::vector<store::File*> files;
  for (RelationManager* m : involved) {
    if (int rc = m->file_->UseFile(UseType_Use); rc != Level_Benign) return rc;
    files.push_back(m->file_->File);
  }
  std::unique_ptr<store::Transaction> t;
  if (UseLogout) {
    store::Status s = store::Transaction::begin(files, LogoutTimeout, t);
    if (!s.ok()) return me.Report(Msg_LogoutError, s);
  }
  own_failed_ = false;
  const int rc = updateRecord(before, 0);
  if (rc == Level_Benign) {
    if (t) {
      store::Status s = t->commit();
      if (!s.ok()) return me.Report(Msg_PutError, s);
    }
    return Level_Benign;
  }
  const store::Status own = me.LastStatus();
  const bool own_failed = own_failed_;
  if (t) t->rollback();
  if (rc == Level_Notify && own_failed) return me.ReportWriteFailure(own, false);
  return rc;
}

int RelationManager::CancelAutoInc() {
  if (!file_) return Level_Notify;
  FileManager& me = *file_;
  if (!me.HasReservation()) return Level_Benign;
  if (int rc = me.UseFile(UseType_Use); rc != Level_Benign) return rc;
  if (me.TryReget(me.ReservedPosition()) != Level_Benign) {
    if (me.LastStatus().code == store::RecordNotFound) return me.CancelAutoInc();  // already gone
    return me.Report(Msg_DeleteError, me.LastStatus());
  }
  return Delete(false);
}

}  // namespace fw
