#include "framework/file_manager.h"

#include <cstring>
#include <filesystem>
#include <limits>

#include "framework/error_class.h"

namespace fw {

namespace {

// Reads an integer field of a record (little-endian); false for a field that is not an integer.
bool readInteger(const unsigned char* rec, const store::FieldDef& f, long long& out) {
  unsigned long long u = 0;
  switch (f.type) {
    case store::FieldType::Byte:
    case store::FieldType::UShort:
    case store::FieldType::Short:
    case store::FieldType::Long:
    case store::FieldType::ULong:
      break;
    default:
      return false;
  }
  for (int i = f.size - 1; i >= 0; --i) u = (u << 8) | rec[f.offset + i];
  switch (f.type) {
    case store::FieldType::Short: out = static_cast<std::int16_t>(u); break;
    case store::FieldType::Long: out = static_cast<std::int32_t>(u); break;
    default: out = static_cast<long long>(u); break;
  }
  return true;
}

long long maxInteger(store::FieldType t) {
  switch (t) {
    case store::FieldType::Byte: return std::numeric_limits<std::uint8_t>::max();
    case store::FieldType::UShort: return std::numeric_limits<std::uint16_t>::max();
    case store::FieldType::Short: return std::numeric_limits<std::int16_t>::max();
    case store::FieldType::Long: return std::numeric_limits<std::int32_t>::max();
    case store::FieldType::ULong: return std::numeric_limits<std::uint32_t>::max();
    default: return 0;
  }
}

void writeInteger(unsigned char* rec, const store::FieldDef& f, long long v) {
  unsigned long long u = static_cast<unsigned long long>(v);
  for (int i = 0; i < f.size; ++i) rec[f.offset + i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFF);
}

// The outcome of one numbering attempt.
enum class Attempt { Reserved, AddFailed, HighestFailed };

}  // namespace

// ----- set-up -----

void FileManager::Init() {
  keys_.clear();
  HasAutoInc = false;
  PrimaryKey = -1;
  Create = false;
  LockRecover = 0;
  OpenMode = kDefaultOpenMode;
  InUseFile = false;
  status_ = {};
  reserved_.clear();
  last_record_.clear();
  last_position_.clear();
}

void FileManager::Init(store::File& table, ErrorClass& errors) {
  File = &table;
  Errors = &errors;
  OpenMode = kDefaultOpenMode;
  FileNameValue = table.name();
  Initialized = true;
}

void FileManager::Kill() {
  if (File && File->isOpen() && (open_count_ > 0 || opened_by_use_)) File->close();
  open_count_ = 0;
  opened_by_use_ = false;
  keys_.clear();
  HasAutoInc = false;
  PrimaryKey = -1;
  reserved_.clear();
  Initialized = false;
  InUseFile = false;
}

int FileManager::UseFile(int use_type) {
  if (!Initialized) {
    if (!File || !Errors) {
      status_ = store::Status::error(store::FileNotOpen, FileNameValue);
      return Level_Notify;
    }
    Init(*File, *Errors);
  }
  switch (use_type) {
    case UseType_Initialize:
      return Level_Benign;
    case UseType_Open: {
      if (!File->isOpen()) {
        int r = openFile();
        if (r != Level_Benign) return r;
      }
      ++open_count_;
      return Level_Benign;
    }
    default:
      if (!File->isOpen()) {
        int r = openFile();
        if (r != Level_Benign) return r;
        opened_by_use_ = true;
      }
      return Level_Benign;
  }
}

bool FileManager::AddKey(int key, std::string_view description, int auto_number) {
  if (!File || key < 0 || key >= static_cast<int>(File->def().keys.size())) return false;
  const store::KeyDef& kd = File->def().keys[key];
  KeyInfo info;
  info.key = key;
  info.description = std::string(description.substr(0, kMaxKeyDescription));
  info.auto_number = auto_number;
  info.dup = kd.dup;
  info.nocase = kd.nocase;
  info.primary = kd.primary;
  for (KeyInfo& k : keys_) {
    if (k.key == key) {
      k = info;
      info.key = -1;
      break;
    }
  }
  if (info.key >= 0) keys_.push_back(info);
  if (auto_number != 0) HasAutoInc = true;
  if (kd.primary) PrimaryKey = key;
  return true;
}

const KeyInfo* FileManager::GetKey(int key) const {
  for (const KeyInfo& k : keys_)
    if (k.key == key) return &k;
  return nullptr;
}

std::string FileManager::GetKeyDescription(int key) const {
  if (const KeyInfo* k = GetKey(key)) return k->description;
  if (File && key >= 0 && key < static_cast<int>(File->def().keys.size())) return File->def().keys[key].name;
  return {};
}

// ----- opening -----

int FileManager::openFile() {
  std::error_code ec;
  const bool existed = std::filesystem::exists(File->name(), ec);
  store::Status s = File->open(OpenMode);
  if (s.code == store::FileNotFound && Create) {
    store::Status c = File->create();
    if (!c.ok()) {
      status_ = c;
      return Report(Msg_CreateError, c);
    }
    s = File->open(OpenMode);
  }
  if (s.code == store::AccessDenied && LockRecover > 0) {
    File->setDriverOption("Recover=" + std::to_string(LockRecover));
    s = File->open(OpenMode);
  }
  status_ = s;
  if (s.ok()) return Level_Benign;
  // The store creates a missing file of a table declared CREATE as it opens it: a failure then
  // is a failure to create it.
  const bool creating = !existed && (Create || File->def().create) && s.code != store::AccessDenied;
  return Report(creating ? Msg_CreateError : Msg_OpenError, s);
}

int FileManager::Open() { return UseFile(UseType_Open); }

int FileManager::Close() {
  if (open_count_ > 0) --open_count_;
  if (open_count_ == 0 && File && File->isOpen()) {
    opened_by_use_ = false;
    store::Status s = File->close();
    status_ = s;
    if (!s.ok()) return Report(Msg_CloseError, s);
  }
  return Level_Benign;
}

bool FileManager::Opened() const { return File && File->isOpen(); }

// ----- reporting -----

int FileManager::result(const store::Status& s) {
  status_ = s;
  return s.ok() ? Level_Benign : Level_Notify;
}

void FileManager::remember() {
  if (Buffer && RecordSize > 0) last_record_.assign(reinterpret_cast<const char*>(Buffer), RecordSize);
  last_position_ = File ? File->position() : std::string();
}

int FileManager::Report(int message, const store::Status& status) {
  if (!Errors) return Level_Notify;
  Errors->SetFile(FileNameValue);
  Errors->SetErrors(status.code, store::errorText(status.code), status.store_code, status.store_text);
  const int answer = Errors->Throw(static_cast<std::uint16_t>(message));
  return answer == Severity_Fatal ? Level_Fatal : Level_Notify;
}

// ----- reading -----

int FileManager::TryFetch(int key) {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  int r = result(File->fetch(key));
  if (r == Level_Benign) remember();
  return r;
}

int FileManager::Fetch(int key) {
  int r = TryFetch(key);
  if (r == Level_Notify && Initialized && File->isOpen()) return Report(Msg_RetrievalError, status_);
  return r;
}

int FileManager::Set(int key) {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  return result(File->set(key));
}

int FileManager::SetAfter(int key) {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  return result(File->setAfter(key));
}

int FileManager::SetFrom(int key) {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  return result(File->set(key, Buffer));
}

int FileManager::TryNext() {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  int r = result(File->next());
  if (r == Level_Benign) remember();
  return r;
}

int FileManager::Next() {
  int r = TryNext();
  if (r == Level_Notify && status_.code != store::RecordNotAvailable && File && File->isOpen())
    return Report(Msg_RetrievalError, status_);
  return r;
}

int FileManager::TryPrevious() {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  int r = result(File->previous());
  if (r == Level_Benign) remember();
  return r;
}

int FileManager::Previous() {
  int r = TryPrevious();
  if (r == Level_Notify && status_.code != store::RecordNotAvailable && File && File->isOpen())
    return Report(Msg_RetrievalError, status_);
  return r;
}

int FileManager::TryReget(const std::string& position) {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  int r = result(File->reget(position));
  if (r == Level_Benign) remember();
  return r;
}

int FileManager::ResetTo(int key, const std::string& position) {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  return result(File->resetTo(key, position));
}

int FileManager::ReadPage(int n, bool forward, std::vector<store::PageRow>& rows) {
  rows.clear();
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  int r = result(File->readPage(n, forward, rows));
  if (r == Level_Benign && !rows.empty()) remember();
  return r;
}

std::string FileManager::Position() const { return File ? File->position() : std::string(); }

long long FileManager::Records() {
  if (UseFile(UseType_Use) != Level_Benign) return -1;
  return File->records();
}

// ----- writing -----

int FileManager::TryInsert() {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  if (!reserved_.empty()) {
    // The new record was added when it was numbered: rewrite that record with the buffer.
    const std::string wanted = SaveBuffer();
    store::Status s = File->reget(reserved_);
    RestoreBuffer(wanted);
    if (s.ok()) {
      s = File->put();
      if (s.ok()) {
        reserved_.clear();
        remember();
      }
      return result(s);
    }
    if (s.code != store::RecordNotFound) return result(s);
    reserved_.clear();  // the reserved record is gone: add the buffer as a new record
  }
  int r = result(File->add());
  if (r == Level_Benign) remember();
  return r;
}

int FileManager::Insert() {
  int r = TryInsert();
  if (r != Level_Notify || !File || !File->isOpen()) return r;
  return ReportWriteFailure(status_, true);
}

int FileManager::ReportWriteFailure(const store::Status& status, bool adding) {
  if (status.code == store::DuplicateKey) {
    const std::string desc = GetKeyDescription(status.key);
    if (Errors) {
      Errors->SetKey(desc);
      Errors->SetMessage(desc);
    }
    return Report(Msg_DuplicateKey, status);
  }
  if (!adding && status.code == store::RecordChanged) return Report(Msg_RecordChangedByOther, status);
  return Report(adding ? Msg_AddError : Msg_PutError, status);
}

int FileManager::TryUpdate() {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  const bool was_reserved = !reserved_.empty() && File->position() == reserved_;
  int r = result(File->put());
  if (r == Level_Benign) {
    if (was_reserved) reserved_.clear();
    remember();
  }
  return r;
}

int FileManager::Update() {
  int r = TryUpdate();
  if (r != Level_Notify || !File || !File->isOpen()) return r;
  return ReportWriteFailure(status_, false);
}

int FileManager::TryDelete() {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  const std::string pos = File->position();
  int r = result(File->erase());
  if (r == Level_Benign) {
    if (!reserved_.empty() && pos == reserved_) reserved_.clear();
    if (pos == last_position_) {
      last_record_.clear();
      last_position_.clear();
    }
  }
  return r;
}

int FileManager::Delete() {
  int r = TryDelete();
  if (r == Level_Notify && File && File->isOpen()) return Report(Msg_DeleteError, status_);
  return r;
}

// ----- new records -----

int FileManager::PrimeRecord(bool keep_buffer) {
  if (!keep_buffer) ClearBuffer();
  return PrimeAutoInc();
}

const KeyInfo* FileManager::autoIncKey() const {
  for (const KeyInfo& k : keys_)
    if (k.auto_number > 0) return &k;
  return nullptr;
}

int FileManager::autoIncAttempt(const KeyInfo& k, store::Status& s) {
  const store::TableDef& def = File->def();
  const store::KeyDef& kd = def.keys[k.key];
  const int components = static_cast<int>(kd.fields.size());
  const int component = k.auto_number > components ? components : k.auto_number;
  const store::FieldDef& f = def.fields[kd.fields[component - 1]];
  std::string high(static_cast<std::size_t>(def.record_size), '\0');
  s = File->highest(k.key, component - 1, high.data());
  long long value = 1;
  if (s.ok()) {
    long long top = 0;
    if (!readInteger(reinterpret_cast<const unsigned char*>(high.data()), f, top)) {
      s = store::Status::error(store::InvalidKey, "the numbered field " + f.name + " is not an integer");
      return static_cast<int>(Attempt::HighestFailed);
    }
    value = top + 1;
  } else if (s.code != store::RecordNotFound) {
    return static_cast<int>(Attempt::HighestFailed);
  }
  if (value > maxInteger(f.type)) {
    // Never wrap around to 0: such a record would fall out of the key.
    s = store::Status::error(store::InvalidKey, "no number is left for " + f.name);
    return static_cast<int>(Attempt::AddFailed);
  }
  writeInteger(Buffer, f, value);
  const int added = TryInsert();  // nothing is reserved here: this adds
  s = status_;
  if (added != Level_Benign) return static_cast<int>(Attempt::AddFailed);
  reserved_ = File->position();
  return static_cast<int>(Attempt::Reserved);
}

int FileManager::primeAutoInc(bool report) {
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  const KeyInfo* k = autoIncKey();
  if (!k) return Level_Benign;
  reserved_.clear();
  for (;;) {
    store::Status s;
    for (int attempt = 0; attempt < kAutoIncAttempts; ++attempt) {
      const int a = autoIncAttempt(*k, s);
      status_ = s;
      if (a == static_cast<int>(Attempt::Reserved)) return Level_Benign;
      if (a == static_cast<int>(Attempt::HighestFailed))
        return report ? Report(Msg_RetrievalError, s) : Level_Notify;
    }
    if (!report || !Errors) return Level_Notify;
    Errors->SetFile(FileNameValue);
    Errors->SetErrors(s.code, store::errorText(s.code), s.store_code, s.store_text);
    const int answer = Errors->Throw(Msg_AutoIncError);
    if (answer != 0) return answer == Severity_Fatal ? Level_Fatal : Level_User;
  }
}

int FileManager::TryPrimeAutoInc() { return primeAutoInc(false); }
int FileManager::PrimeAutoInc() { return primeAutoInc(true); }

int FileManager::CancelAutoInc() {
  if (reserved_.empty()) return Level_Benign;
  if (int r = UseFile(UseType_Use); r != Level_Benign) return r;
  store::Status s = File->reget(reserved_);
  if (s.code == store::RecordNotFound) {
    reserved_.clear();
    status_ = {};
    return Level_Benign;
  }
  if (!s.ok()) return Report(Msg_DeleteError, status_ = s);
  return Delete();
}

// ----- buffer helpers -----

void FileManager::ClearBuffer() {
  if (!Buffer || RecordSize <= 0) return;
  std::memset(Buffer, 0, static_cast<std::size_t>(RecordSize));
  if (!File) return;
  for (const store::FieldDef& f : File->def().fields)
    if (f.type == store::FieldType::String && f.offset + f.size <= RecordSize)
      std::memset(Buffer + f.offset, ' ', static_cast<std::size_t>(f.size));
}

std::string FileManager::SaveBuffer() const {
  if (!Buffer || RecordSize <= 0) return {};
  return std::string(reinterpret_cast<const char*>(Buffer), static_cast<std::size_t>(RecordSize));
}

void FileManager::RestoreBuffer(const std::string& saved) {
  if (Buffer && static_cast<int>(saved.size()) == RecordSize) std::memcpy(Buffer, saved.data(), saved.size());
}

bool FileManager::EqualBuffer(const std::string& saved) const {
  return Buffer && static_cast<int>(saved.size()) == RecordSize &&
         std::memcmp(Buffer, saved.data(), saved.size()) == 0;
}

}  // namespace fw
