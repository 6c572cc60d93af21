#include "store/file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "runtime/codepage.h"
#include "store/file_impl.h"
#include "store/key_encoding.h"
#include "store/layout.h"
#include "store/session.h"
#include "store/sqlite_util.h"

namespace store {

namespace {

// Statements kept per File. The first group is prepared once per key, the second once per File.
enum KeyQuery { QFirst, QLast, QFromGE, QFromGT, QBefore, QFetch, QHighRange, QHighFrom, kKeyQueries };
enum FileQuery { QById, QInsert, QUpdate, QDelete, QCount, kFileQueries };

constexpr char kPositionMark = 'P';
constexpr size_t kMaxPosition = 1024;

void putBigEndian64(std::string& out, sqlite3_int64 v) {
  for (int i = 7; i >= 0; --i) out.push_back(static_cast<char>((static_cast<unsigned long long>(v) >> (8 * i)) & 0xFF));
}

}  // namespace


File::File(const TableDef& def, void* buffer)
    : def_(def), buffer_(static_cast<unsigned char*>(buffer)), impl_(std::make_unique<Impl>()) {}

File::~File() { close(); }

bool File::isOpen() const { return impl_->db != nullptr; }

std::string File::name() const { return def_.fileName(); }

void File::setPath(std::string path) {
  impl_->path = std::move(path);
  impl_->path_set = true;
}

void File::setBusyTimeout(std::chrono::milliseconds t) { busy_ = t; }

Status File::setDriverOption(std::string_view) { return {}; }

namespace {

Status resolvePath(const TableDef& def, bool path_set, std::string& path) {
  std::string p = path_set ? path : def.fileName();
  if (!p.empty() && p[0] == '/') {
    path = p;
    return {};
  }
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return Status::fileSystem(errno, "cannot read the working directory");
  path = std::string(cwd) + "/" + p;
  return {};
}

// Whether the file exists; an error when it cannot be used (not a plain file, no permission).
Status probeFile(const std::string& path, bool& exists) {
  struct stat sb;
  if (stat(path.c_str(), &sb) != 0) {
    if (errno == ENOENT) {
      exists = false;
      return {};
    }
    if (errno == EACCES) {
      Status s = Status::error(AccessDenied, path);
      s.store_code = EACCES;
      s.store_text = std::strerror(EACCES);
      return s;
    }
    return Status::fileSystem(errno, path);
  }
  if (!S_ISREG(sb.st_mode)) return Status::error(InvalidDataFile, path + " is not a file");
  if (access(path.c_str(), R_OK | W_OK) != 0) {
    Status s = Status::error(AccessDenied, path);
    s.store_code = errno;
    s.store_text = std::strerror(errno);
    return s;
  }
  exists = true;
  return {};
}

// Verifies the file attached as `schema`, creating its tables when it is new and `may_create`.
Status verifyOrInitialise(Session& session, const std::string& schema, const TableDef& def, bool may_create) {
  bool empty = false;
  Status s = verifyLayout(session.db(), schema, def, empty);
  if (!s.ok() || !empty) return s;
  if (!may_create) return Status::error(InvalidDataFile, "not a table file");
  const bool own = !session.inTransaction();
  if (own && !(s = exec(session.db(), "BEGIN IMMEDIATE")).ok()) return s;
  s = verifyLayout(session.db(), schema, def, empty);  // another station may have created it meanwhile
  if (s.ok() && empty) s = createLayout(session.db(), schema, def);
  if (own) {
    if (s.ok()) s = exec(session.db(), "COMMIT");
    if (!s.ok()) exec(session.db(), "ROLLBACK");
  }
  return s;
}

// Every file keeps a rollback journal, synced on each commit: that is what makes a transaction
// over several files atomic (a write-ahead log is not atomic across files). A file that another
// tool switched to another journal mode is switched back.
Status configureJournal(Session& session, const std::string& schema) {
  const std::string q = quoteIdent(schema);
  Stmt st;
  Status s = prepare(session.db(), "PRAGMA " + q + ".journal_mode", st);
  if (!s.ok()) return s;
  int rc = sqlite3_step(st.get());
  if (rc != SQLITE_ROW) return sqliteStatus(session.db(), rc);
  const unsigned char* t = sqlite3_column_text(st.get(), 0);
  const std::string mode = t ? reinterpret_cast<const char*>(t) : "";
  st = Stmt();
  if (mode != "delete" && mode != "truncate" && mode != "persist") {
    if (!(s = prepare(session.db(), "PRAGMA " + q + ".journal_mode = DELETE", st)).ok()) return s;
    rc = sqlite3_step(st.get());
    if (rc != SQLITE_ROW) return sqliteStatus(session.db(), rc, "cannot switch the file to a rollback journal");
    t = sqlite3_column_text(st.get(), 0);
    if (!t || std::string(reinterpret_cast<const char*>(t)) != "delete")
      return Status::error(RecordHeld, "the file is in use with a write-ahead log");
  }
  return exec(session.db(), "PRAGMA " + q + ".synchronous = FULL");
}

}  // namespace

Status File::open(int) {
  Impl& m = *impl_;
  if (m.db) return Status::error(FileAlreadyOpen, name());
  std::string fault = def_.validate();
  if (!fault.empty()) return Status::error(InvalidDeclaration, fault);
  std::string path = m.path;
  Status s = resolvePath(def_, m.path_set, path);
  if (!s.ok()) return s;
  bool exists = false;
  if (!(s = probeFile(path, exists)).ok()) return s;
  if (!exists && !def_.create) return Status::error(FileNotFound, def_.fileName());

  std::shared_ptr<Session> session = Session::forThisThread();
  session->setBusyTimeout(busy_);
  std::string schema;
  if (!(s = session->attach(path, !exists, schema)).ok()) return s;
  s = verifyOrInitialise(*session, schema, def_, def_.create);
  if (s.ok()) s = configureJournal(*session, schema);
  if (!s.ok()) {
    session->release(path);
    return s;
  }
  m.path = path;
  m.session = std::move(session);
  m.db = m.session->db();
  m.schema = schema;
  m.table = quoteIdent(schema) + ".records";
  m.columns = "id, version, data";
  for (size_t i = 0; i < def_.keys.size(); ++i) m.columns += ", k" + std::to_string(i);
  m.key_stmts.clear();
  m.key_stmts.resize(kKeyQueries * def_.keys.size());
  m.file_stmts.clear();
  m.file_stmts.resize(kFileQueries);
  m.seq_key = -1;
  m.at = Impl::At::BeforeFirst;
  m.cur.has = false;
  return {};
}

Status File::create() {
  Impl& m = *impl_;
  if (m.db) return Status::error(FileAlreadyOpen, name());
  std::string fault = def_.validate();
  if (!fault.empty()) return Status::error(InvalidDeclaration, fault);
  std::string path = m.path;
  Status s = resolvePath(def_, m.path_set, path);
  if (!s.ok()) return s;
  bool exists = false;
  if (!(s = probeFile(path, exists)).ok()) return s;
  std::shared_ptr<Session> session = Session::forThisThread();
  session->setBusyTimeout(busy_);
  std::string schema;
  if (!(s = session->attach(path, !exists, schema)).ok()) return s;
  s = verifyOrInitialise(*session, schema, def_, true);
  session->release(path);
  return s;
}

Status File::close() {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  m.key_stmts.clear();
  m.file_stmts.clear();
  m.session->release(m.path);
  m.session.reset();
  m.db = nullptr;
  m.cur.has = false;
  m.seq_key = -1;
  if (!m.path_set) m.path.clear();
  return {};
}

// ----- statements -----

// Reads in key order are seeks on the key's index: a unique key on k, a DUP key on (k, seq),
// where seq (= id) tells equal values apart in the order they were added.
static std::string keyQuerySql(const TableDef& def, const std::string& table, int q, int key) {
  const std::string k = "k" + std::to_string(key);
  const std::string cols = "id, version, data, " + k;
  const bool dup = def.keys[key].dup;
  const std::string asc = dup ? " ORDER BY " + k + ", seq" : " ORDER BY " + k;
  const std::string desc = dup ? " ORDER BY " + k + " DESC, seq DESC" : " ORDER BY " + k + " DESC";
  const std::string base = "SELECT " + cols + " FROM " + table + " WHERE " + k + " IS NOT NULL";
  switch (q) {
    case QFirst: return base + asc + " LIMIT ?3";
    case QLast: return base + desc + " LIMIT ?3";
    case QFromGE: return base + (dup ? " AND (" + k + ", seq) >= (?1, ?2)" : " AND " + k + " >= ?1") + asc + " LIMIT ?3";
    case QFromGT: return base + (dup ? " AND (" + k + ", seq) > (?1, ?2)" : " AND " + k + " > ?1") + asc + " LIMIT ?3";
    case QBefore: return base + (dup ? " AND (" + k + ", seq) < (?1, ?2)" : " AND " + k + " < ?1") + desc + " LIMIT ?3";
    case QFetch: return base + " AND " + k + " = ?1" + (dup ? " ORDER BY " + k + ", seq" : std::string()) + " LIMIT 1";
    case QHighRange: return base + " AND " + k + " >= ?1 AND " + k + " < ?2" + desc + " LIMIT 1";
    case QHighFrom: return base + " AND " + k + " >= ?1" + desc + " LIMIT 1";
  }
  return {};
}

static std::string fileQuerySql(const TableDef& def, const std::string& table, const std::string& cols, int q) {
  const size_t n = def.keys.size();
  switch (q) {
    case QById: return "SELECT " + cols + " FROM " + table + " WHERE id = ?1";
    case QInsert: {
      // The new record's id and seq: one above every id ever given (the AUTOINCREMENT counter),
      // chosen inside the statement, so the add stays one atomic statement.
      const std::string schema = table.substr(0, table.size() - std::string(".records").size());
      std::string sql = "INSERT INTO " + table + "(id, seq, version, data";
      for (size_t i = 0; i < n; ++i) sql += ", k" + std::to_string(i);
      sql += ") SELECT n, n, 1, ?1";
      for (size_t i = 0; i < n; ++i) sql += ", ?" + std::to_string(i + 2);
      sql += " FROM (SELECT max(coalesce((SELECT seq FROM " + schema +
             ".sqlite_sequence WHERE name = 'records'), 0), coalesce((SELECT max(id) FROM " + table + "), 0)) + 1 AS n)";
      return sql;
    }
    case QUpdate: {
      std::string sql = "UPDATE " + table + " SET version = version + 1, data = ?1";
      for (size_t i = 0; i < n; ++i) sql += ", k" + std::to_string(i) + " = ?" + std::to_string(i + 2);
      return sql + " WHERE id = ?" + std::to_string(n + 2) + " AND version = ?" + std::to_string(n + 3);
    }
    case QDelete: return "DELETE FROM " + table + " WHERE id = ?1 AND version = ?2";
    case QCount: return "SELECT count(*) FROM " + table;
  }
  return {};
}

namespace {

Status getKeyStmt(const TableDef& def, File::Impl& m, int q, int key, sqlite3_stmt*& out) {
  Stmt& slot = m.key_stmts[static_cast<size_t>(q) * def.keys.size() + key];
  if (!slot) {
    Status s = prepare(m.db, keyQuerySql(def, m.table, q, key), slot);
    if (!s.ok()) return s;
  }
  out = slot.get();
  return {};
}

Status getFileStmt(const TableDef& def, File::Impl& m, int q, sqlite3_stmt*& out) {
  Stmt& slot = m.file_stmts[q];
  if (!slot) {
    Status s = prepare(m.db, fileQuerySql(def, m.table, m.columns, q), slot);
    if (!s.ok()) return s;
  }
  out = slot.get();
  return {};
}

// Copies the record bytes of a row (as stored) into `dest`, converting OEM text.
Status rowToRecord(const TableDef& def, sqlite3_stmt* st, unsigned char* dest) {
  const void* data = sqlite3_column_blob(st, 2);
  const int size = sqlite3_column_bytes(st, 2);
  if (size != def.record_size || !data)
    return Status::error(InvalidDataFile, "a record of " + def.fileName() + " has the wrong size");
  std::memcpy(dest, data, size);
  if (def.oem) {
    for (const FieldDef& f : def.fields) {
      if (f.type != FieldType::String) continue;
      std::string t = rt::cp850ToCp1252(std::string_view(reinterpret_cast<const char*>(dest + f.offset), f.size));
      std::memcpy(dest + f.offset, t.data(), f.size);
    }
  }
  return {};
}

std::string encodePosition(const File::Impl::Current& c) {
  std::string p;
  p.push_back(kPositionMark);
  putBigEndian64(p, c.id);
  const size_t n = c.keys.size();
  for (size_t i = 0; i < n; ++i) {
    if (!c.known[i]) {
      p.push_back(2);  // not read with the record: found again by the record's id
    } else if (!c.in_key[i]) {
      p.push_back(0);
    } else if (p.size() + 3 + c.keys[i].size() + (n - i - 1) > kMaxPosition) {
      p.push_back(2);  // too long to keep
    } else {
      p.push_back(1);
      p.push_back(static_cast<char>(c.keys[i].size() >> 8));
      p.push_back(static_cast<char>(c.keys[i].size() & 0xFF));
      p += c.keys[i];
    }
  }
  return p;
}

// Decodes a position: the record's id and, for `key`, its encoded value (state 0 = the record is
// not in that key, 1 = value given, 2 = not kept). False when the text is not a position of a
// table with `nkeys` keys.
bool decodePosition(const std::string& p, size_t nkeys, int key, sqlite3_int64& id, int& state, std::string& value) {
  if (p.size() < 9 || p[0] != kPositionMark) return false;
  unsigned long long v = 0;
  for (int i = 1; i <= 8; ++i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  id = static_cast<sqlite3_int64>(v);
  size_t at = 9;
  for (size_t i = 0; i < nkeys; ++i) {
    if (at >= p.size()) return false;
    const int flag = static_cast<unsigned char>(p[at++]);
    std::string k;
    if (flag == 1) {
      if (at + 2 > p.size()) return false;
      const size_t len = (static_cast<unsigned char>(p[at]) << 8) | static_cast<unsigned char>(p[at + 1]);
      at += 2;
      if (at + len > p.size()) return false;
      k = p.substr(at, len);
      at += len;
    } else if (flag != 0 && flag != 2) {
      return false;
    }
    if (static_cast<int>(i) == key) {
      state = flag;
      value = std::move(k);
    }
  }
  return at == p.size();
}

void bindKey(sqlite3_stmt* st, int index, const std::string& k, bool in_key) {
  if (in_key)
    sqlite3_bind_blob(st, index, k.data(), static_cast<int>(k.size()), SQLITE_STATIC);
  else
    sqlite3_bind_null(st, index);
}

}  // namespace

// Takes the row under `st` as the current record: its bytes into the buffer, its identity and
// keys. The row holds every key's column (only_key < 0) or only that of `only_key`.
static Status takeRow(const TableDef& def, File::Impl& m, sqlite3_stmt* st, unsigned char* buffer, int only_key) {
  Status s = rowToRecord(def, st, buffer);
  if (!s.ok()) return s;
  File::Impl::Current& c = m.cur;
  c.has = true;
  c.id = sqlite3_column_int64(st, 0);
  c.version = sqlite3_column_int64(st, 1);
  const size_t n = def.keys.size();
  c.keys.resize(n);
  c.in_key.resize(n);
  c.known.assign(n, only_key < 0);
  for (size_t i = 0; i < n; ++i) {
    if (only_key >= 0 && static_cast<int>(i) != only_key) continue;
    const int col = only_key >= 0 ? 3 : static_cast<int>(3 + i);
    c.known[i] = true;
    c.in_key[i] = sqlite3_column_type(st, col) != SQLITE_NULL;
    if (c.in_key[i])
      c.keys[i].assign(static_cast<const char*>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
    else
      c.keys[i].clear();
  }
  return {};
}

// ----- reading in key order -----

Status File::set(int key) {
  if (!impl_->db) return Status::error(FileNotOpen, name());
  if (key < 0 || key >= static_cast<int>(def_.keys.size())) return Status::error(InvalidKey, name());
  impl_->seq_key = key;
  impl_->at = Impl::At::BeforeFirst;
  return {};
}

Status File::setAfter(int key) {
  Status s = set(key);
  if (s.ok()) impl_->at = Impl::At::AfterLast;
  return s;
}

Status File::set(int key, const void* record) {
  Status s = set(key);
  if (!s.ok()) return s;
  KeyDef k = def_.keys[key];
  k.opt = false;  // a blank value positions before the first record like any other value
  encodeKey(def_, k, static_cast<const unsigned char*>(record), impl_->at_k);
  impl_->at_id = 0;
  impl_->at = Impl::At::Gap;
  return {};
}

Status File::readPage(int n, bool forward, std::vector<PageRow>& rows) {
  rows.clear();
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  if (m.seq_key < 0) return Status::error(RecordNotAvailable, "no key order was set");
  if (n <= 0) return {};
  using At = Impl::At;
  int q;
  if (forward) {
    if (m.at == At::AfterLast) return {};
    q = m.at == At::BeforeFirst ? QFirst : m.at == At::Gap ? QFromGE : QFromGT;
  } else {
    if (m.at == At::BeforeFirst) return {};
    q = m.at == At::AfterLast ? QLast : QBefore;
  }
  m.session->setBusyTimeout(busy_);
  sqlite3_stmt* st = nullptr;
  Status s = getKeyStmt(def_, m, q, m.seq_key, st);
  if (!s.ok()) return s;
  // The seek value is copied: the position moves on while the rows are read.
  const std::string seek = m.at_k;
  ResetGuard guard(st);
  if (q != QFirst && q != QLast) {
    sqlite3_bind_blob(st, 1, seek.data(), static_cast<int>(seek.size()), SQLITE_STATIC);
    if (def_.keys[m.seq_key].dup) sqlite3_bind_int64(st, 2, m.at_id);
  }
  sqlite3_bind_int(st, 3, n);
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    if (!(s = takeRow(def_, m, st, buffer_, m.seq_key)).ok()) return s;
    PageRow row;
    row.record.assign(reinterpret_cast<const char*>(buffer_), def_.record_size);
    row.position = encodePosition(m.cur);
    rows.push_back(std::move(row));
    m.at = At::Record;
    m.at_k = m.cur.keys[m.seq_key];
    m.at_id = m.cur.id;
  }
  if (rc != SQLITE_DONE) return sqliteStatus(m.db, rc, name());
  return {};
}

namespace {

Status readOne(File& f, bool forward, std::vector<PageRow>& scratch) {
  Status s = f.readPage(1, forward, scratch);
  if (s.ok() && scratch.empty()) return Status::error(RecordNotAvailable, f.name());
  return s;
}

}  // namespace

Status File::next() {
  std::vector<PageRow> rows;
  return readOne(*this, true, rows);
}

Status File::previous() {
  std::vector<PageRow> rows;
  return readOne(*this, false, rows);
}

// ----- direct access -----

Status File::fetch(int key) {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  if (key < 0 || key >= static_cast<int>(def_.keys.size())) return Status::error(InvalidKey, name());
  std::string k;
  if (!encodeKey(def_, def_.keys[key], buffer_, k)) return Status::error(RecordNotFound, name());
  m.session->setBusyTimeout(busy_);
  sqlite3_stmt* st = nullptr;
  Status s = getKeyStmt(def_, m, QFetch, key, st);
  if (!s.ok()) return s;
  ResetGuard guard(st);
  sqlite3_bind_blob(st, 1, k.data(), static_cast<int>(k.size()), SQLITE_STATIC);
  int rc = sqlite3_step(st);
  if (rc == SQLITE_DONE) return Status::error(RecordNotFound, name());
  if (rc != SQLITE_ROW) return sqliteStatus(m.db, rc, name());
  return takeRow(def_, m, st, buffer_, key);
}

std::string File::position() const {
  const Impl& m = *impl_;
  if (!m.cur.has) return {};
  return encodePosition(m.cur);
}

Status File::reget(const std::string& position) {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  sqlite3_int64 id = 0;
  int state = 0;
  std::string value;
  if (!decodePosition(position, def_.keys.size(), -1, id, state, value))
    return Status::error(InvalidKey, "not a position of " + name());
  m.session->setBusyTimeout(busy_);
  sqlite3_stmt* st = nullptr;
  Status s = getFileStmt(def_, m, QById, st);
  if (!s.ok()) return s;
  ResetGuard guard(st);
  sqlite3_bind_int64(st, 1, id);
  int rc = sqlite3_step(st);
  if (rc == SQLITE_DONE) return Status::error(RecordNotFound, name());
  if (rc != SQLITE_ROW) return sqliteStatus(m.db, rc, name());
  return takeRow(def_, m, st, buffer_, -1);
}

Status File::resetTo(int key, const std::string& position) {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  if (key < 0 || key >= static_cast<int>(def_.keys.size())) return Status::error(InvalidKey, name());
  sqlite3_int64 id = 0;
  int state = 0;
  std::string value;
  if (!decodePosition(position, def_.keys.size(), key, id, state, value))
    return Status::error(InvalidKey, "not a position of " + name());
  if (state == 2) {  // the key value was not kept in the position: read it from the record
    m.session->setBusyTimeout(busy_);
    sqlite3_stmt* st = nullptr;
    Status s = getFileStmt(def_, m, QById, st);
    if (!s.ok()) return s;
    ResetGuard guard(st);
    sqlite3_bind_int64(st, 1, id);
    int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) return Status::error(RecordNotFound, name());
    if (rc != SQLITE_ROW) return sqliteStatus(m.db, rc, name());
    const int col = 3 + key;
    if (sqlite3_column_type(st, col) == SQLITE_NULL) return Status::error(RecordNotFound, name());
    value.assign(static_cast<const char*>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
  } else if (state == 0) {
    return Status::error(RecordNotFound, "the record is not in the order of " + def_.keys[key].name);
  }
  m.seq_key = key;
  m.at = Impl::At::Gap;
  m.at_k = std::move(value);
  m.at_id = id;
  return {};
}

Status File::highest(int key, int leading, void* out) const {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  if (key < 0 || key >= static_cast<int>(def_.keys.size())) return Status::error(InvalidKey, name());
  const KeyDef& kd = def_.keys[key];
  if (leading < 0 || leading > static_cast<int>(kd.fields.size())) return Status::error(InvalidKey, name());
  m.session->setBusyTimeout(busy_);
  std::string low, high;
  int q = QLast;
  if (leading > 0) {
    KeyDef k = kd;
    k.opt = false;
    encodeKey(def_, k, buffer_, low, leading);
    high = low;
    int i = static_cast<int>(high.size()) - 1;
    while (i >= 0 && static_cast<unsigned char>(high[i]) == 0xFF) high[i--] = 0;
    if (i >= 0) {
      high[i] = static_cast<char>(static_cast<unsigned char>(high[i]) + 1);
      high.resize(i + 1);
      q = QHighRange;
    } else {
      q = QHighFrom;
    }
  }
  sqlite3_stmt* st = nullptr;
  Status s = getKeyStmt(def_, m, q, key, st);
  if (!s.ok()) return s;
  ResetGuard guard(st);
  if (q == QLast) {
    sqlite3_bind_int(st, 3, 1);
  } else {
    sqlite3_bind_blob(st, 1, low.data(), static_cast<int>(low.size()), SQLITE_STATIC);
    if (q == QHighRange) sqlite3_bind_blob(st, 2, high.data(), static_cast<int>(high.size()), SQLITE_STATIC);
  }
  int rc = sqlite3_step(st);
  if (rc == SQLITE_DONE) return Status::error(RecordNotFound, name());
  if (rc != SQLITE_ROW) return sqliteStatus(m.db, rc, name());
  return rowToRecord(def_, st, static_cast<unsigned char*>(out));
}

long long File::records() const {
  Impl& m = *impl_;
  if (!m.db) return -1;
  m.session->setBusyTimeout(busy_);
  sqlite3_stmt* st = nullptr;
  if (!getFileStmt(def_, m, QCount, st).ok()) return -1;
  ResetGuard guard(st);
  if (sqlite3_step(st) != SQLITE_ROW) return -1;
  return sqlite3_column_int64(st, 0);
}

// ----- writing -----

namespace {

// The bytes to store for the buffer and its key values. OEM text is converted to code page 850;
// keys are computed from the text as it will read back, so they always agree with the record.
void prepareWrite(const TableDef& def, const unsigned char* buffer, File::Impl& m) {
  m.stored.assign(reinterpret_cast<const char*>(buffer), def.record_size);
  const unsigned char* keysource = buffer;
  std::string readback;
  if (def.oem) {
    readback = m.stored;
    for (const FieldDef& f : def.fields) {
      if (f.type != FieldType::String) continue;
      std::string oem = rt::cp1252ToCp850(std::string_view(m.stored.data() + f.offset, f.size));
      std::memcpy(m.stored.data() + f.offset, oem.data(), f.size);
      std::string back = rt::cp850ToCp1252(oem);
      std::memcpy(readback.data() + f.offset, back.data(), f.size);
    }
    keysource = reinterpret_cast<const unsigned char*>(readback.data());
  }
  const size_t n = def.keys.size();
  m.new_keys.resize(n);
  m.new_in_key.resize(n);
  for (size_t i = 0; i < n; ++i) m.new_in_key[i] = encodeKey(def, def.keys[i], keysource, m.new_keys[i]);
}

// A failed write: a unique key's refusal names the key.
Status writeFailure(const TableDef& def, sqlite3* db, int rc, const std::string& name) {
  if (sqlite3_extended_errcode(db) == SQLITE_CONSTRAINT_UNIQUE) {
    std::string msg = sqlite3_errmsg(db);
    size_t at = msg.rfind("records.k");
    if (at != std::string::npos) {
      int key = std::atoi(msg.c_str() + at + 9);
      if (key >= 0 && key < static_cast<int>(def.keys.size())) {
        Status s = Status::error(DuplicateKey, def.keys[key].name);
        s.key = key;
        s.store_code = SQLITE_CONSTRAINT_UNIQUE;
        s.store_text = msg;
        return s;
      }
    }
  }
  return sqliteStatus(db, rc, name);
}

}  // namespace

Status File::add() {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  m.session->setBusyTimeout(busy_);
  sqlite3_stmt* st = nullptr;
  Status s = getFileStmt(def_, m, QInsert, st);
  if (!s.ok()) return s;
  prepareWrite(def_, buffer_, m);
  ResetGuard guard(st);
  sqlite3_bind_blob(st, 1, m.stored.data(), static_cast<int>(m.stored.size()), SQLITE_STATIC);
  for (size_t i = 0; i < def_.keys.size(); ++i) bindKey(st, static_cast<int>(i + 2), m.new_keys[i], m.new_in_key[i]);
  int rc = sqlite3_step(st);
  if (rc != SQLITE_DONE) return writeFailure(def_, m.db, rc, name());
  m.cur.has = true;
  m.cur.id = sqlite3_last_insert_rowid(m.db);
  m.cur.version = 1;
  m.cur.keys = m.new_keys;
  m.cur.in_key = m.new_in_key;
  m.cur.known.assign(def_.keys.size(), true);
  return {};
}

Status File::put() {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  if (!m.cur.has) return Status::error(RecordNotAvailable, name());
  m.session->setBusyTimeout(busy_);
  sqlite3_stmt* st = nullptr;
  Status s = getFileStmt(def_, m, QUpdate, st);
  if (!s.ok()) return s;
  prepareWrite(def_, buffer_, m);
  ResetGuard guard(st);
  const int n = static_cast<int>(def_.keys.size());
  sqlite3_bind_blob(st, 1, m.stored.data(), static_cast<int>(m.stored.size()), SQLITE_STATIC);
  for (int i = 0; i < n; ++i) bindKey(st, i + 2, m.new_keys[i], m.new_in_key[i]);
  sqlite3_bind_int64(st, n + 2, m.cur.id);
  sqlite3_bind_int64(st, n + 3, m.cur.version);
  int rc = sqlite3_step(st);
  if (rc != SQLITE_DONE) return writeFailure(def_, m.db, rc, name());
  if (sqlite3_changes(m.db) == 0) return Status::error(RecordChanged, name());
  ++m.cur.version;
  m.cur.keys = m.new_keys;
  m.cur.in_key = m.new_in_key;
  m.cur.known.assign(def_.keys.size(), true);
  // Reading on from a record that moved goes on from its new place in the order.
  if (m.at == Impl::At::Record && m.at_id == m.cur.id && m.seq_key >= 0 && m.cur.in_key[m.seq_key])
    m.at_k = m.cur.keys[m.seq_key];
  return {};
}

Status File::erase() {
  Impl& m = *impl_;
  if (!m.db) return Status::error(FileNotOpen, name());
  if (!m.cur.has) return Status::error(RecordNotAvailable, name());
  m.session->setBusyTimeout(busy_);
  sqlite3_stmt* st = nullptr;
  Status s = getFileStmt(def_, m, QDelete, st);
  if (!s.ok()) return s;
  ResetGuard guard(st);
  sqlite3_bind_int64(st, 1, m.cur.id);
  sqlite3_bind_int64(st, 2, m.cur.version);
  int rc = sqlite3_step(st);
  if (rc != SQLITE_DONE) return sqliteStatus(m.db, rc, name());
  if (sqlite3_changes(m.db) == 0) return Status::error(RecordChanged, name());
  m.cur.has = false;
  return {};
}

}  // namespace store
