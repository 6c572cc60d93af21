#pragma once
// ViewManager: the rows that a browse lists, read from a primary table joined to other tables.
//
// A view has a primary table (table 0) and any number of joined tables, each joined to an
// earlier table of the view through link fields that give the values of the joined table's key
// components. An inner join leaves out a row whose joined record is missing; an outer join keeps
// it with the joined table's buffer cleared (a line whose article is missing is still listed).
//
// The rows come in the order of one key of the primary table (SetOrder). A range limit fixes the
// leading components of that key, either to values given once (AddRangeValue) or to the values
// that the parent record currently in its buffer holds (AddRangeByRelation: read again at every
// read). A filter can drop further rows (a page then costs the rows the filter reads past).
//
// Reads are keyset seeks: every read starts from a key value or from a row's position and reads
// only about the rows asked for, never counting or skipping through the table, so a page costs
// the same in a table of ten rows or of a million. A row's position is its primary record's
// position in the record store; it survives the record's deletion (reads continue from where it
// stood), so paging never shows a row twice nor skips one, even while other threads or processes
// add and delete records.
//
// Reading loads the table buffers (the primary's through its File); every read leaves the
// buffers with the last row read, or as the store left them. Failures come back as store
// statuses; an empty result is not a failure.
//
// Thread rule: a view belongs to the thread that owns its Files and buffers.

#include <functional>
#include <string>
#include <vector>

#include "store/file.h"
#include "store/status.h"

namespace fw {

// One row of a view: its position (the primary record's) and the bytes of every table's record,
// table 0 first. A joined record that is missing (outer join) is a cleared record.
struct ViewRow {
  std::string position;
  std::vector<std::string> records;
};

class ViewManager {
 public:
  ViewManager() = default;
  ViewManager(const ViewManager&) = delete;
  ViewManager& operator=(const ViewManager&) = delete;

  // The primary table: its File and the record buffer that File was made with.
  void Init(store::File& primary, void* buffer);

  // Joins `file` (with its buffer) to the earlier table `parent` through the joined table's key
  // `key`; the links (AddJoinLink) fill the key's leading components. Returns the new table's
  // index, -1 when parent or key is invalid.
  int AddJoin(int parent, store::File& file, void* buffer, int key, bool inner = false);
  // Adds a link to the join added last: `parent_field` of the parent table gives the value of
  // `child_field` of the joined table (field indexes of their table declarations). False when
  // there is no join yet or a field index is invalid.
  bool AddJoinLink(int parent_field, int child_field);

  // Records the fields a browse shows of a table (for the record; reads always bring whole
  // records, so a field that is not projected still holds its stored value).
  void AddProjection(int table, int field);

  int Tables() const { return static_cast<int>(tables_.size()); }
  store::File& FileOf(int table) const { return *tables_[table].file; }
  unsigned char* BufferOf(int table) const { return tables_[table].buffer; }
  const store::TableDef& DefOf(int table) const { return tables_[table].file->def(); }

  // ----- Order, range, filter -----
  // The key of the primary table that orders the rows. Clears the range. False for a bad key.
  bool SetOrder(int key);
  int Order() const { return order_; }
  // Range limits fix leading components of the order's key, in key order: the first call fixes
  // the first component, the next call the second... `field` must be that component (false
  // otherwise). A fixed value is copied now (the field's size in bytes from `value`); a value by
  // relation is read from `parent_field` (in the parent's buffer) at every read.
  bool AddRangeValue(int field, const void* value);
  bool AddRangeByRelation(int field, const void* parent_field);
  void ClearRange();
  int RangeComponents() const { return static_cast<int>(range_.size()); }
  // Called with every table buffer holding a candidate row; false leaves the row out.
  std::function<bool()> Filter;

  // ----- Reading (n rows at most; rows come in ascending order) -----
  store::Status ReadFirst(int n, std::vector<ViewRow>& rows);
  store::Status ReadLast(int n, std::vector<ViewRow>& rows);
  // The rows whose key value is at or after the order key's value in `key_record` (a record of
  // the primary table; the range components are taken from the range, not from it).
  store::Status ReadFrom(const void* key_record, int n, std::vector<ViewRow>& rows);
  // The row `anchor` itself when it still exists, then the rows after it.
  store::Status ReadAt(const ViewRow& anchor, int n, std::vector<ViewRow>& rows);
  // The rows strictly after / strictly before `anchor` (before: the n nearest ones, ascending).
  store::Status ReadAfter(const ViewRow& anchor, int n, std::vector<ViewRow>& rows);
  store::Status ReadBefore(const ViewRow& anchor, int n, std::vector<ViewRow>& rows);

  // ----- Reading through in order (totals over the whole view) -----
  // Starts before the first row; each Next loads the following row into every table buffer and
  // returns it through Current(). Next returns RecordNotAvailable after the last row. Every Next
  // is one seek from the row before: reading through costs the number of rows read, nothing more.
  void Reset();
  store::Status Next();

  // Re-reads the row at `position` into every table buffer (joined records looked up again).
  // RecordNotFound when the primary record is gone, or it no longer belongs to the view.
  store::Status Reget(const std::string& position);
  // Copies a row's records into the table buffers.
  void Load(const ViewRow& row) const;
  // The current row of the buffers as a ViewRow (position of the primary's current record).
  ViewRow Current() const;
  // True when a primary record lies inside the range limits (and so belongs to the view's order).
  bool InRange(const unsigned char* record) const;

  // ----- New records -----
  // How the primary table's new record is numbered and reserved: the file manager's auto-numbering
  // (which adds the primed record at once). Returns 0 on success, anything else for failure. When
  // unset, priming only clears and fills the buffers.
  std::function<int()> PrimePrimary;
  // Clears every table buffer of the view, puts the range values into the range fields and primes
  // the primary table through PrimePrimary. Returns 0, or PrimePrimary's failure code.
  int PrimeRecord();

 private:
  struct Link {
    int parent_field, child_field;
  };
  struct Table {
    store::File* file = nullptr;
    unsigned char* buffer = nullptr;
    int parent = -1, key = -1;
    bool inner = false;
    std::vector<Link> links;
    std::vector<int> projection;
  };
  struct RangeValue {
    int field = -1;
    std::string fixed;                  // when source is null
    const unsigned char* source = nullptr;
  };

  std::string rangeBytes(const RangeValue& r) const;
  void putRange(unsigned char* record) const;
  bool sameOrderKey(const unsigned char* a, const unsigned char* b) const;
  // Loads a primary record already in the primary buffer: joins, filter. False to leave it out.
  bool completeRow(ViewRow& row, const store::PageRow& pr);
  // Reads forward or backward from the File's current place, appending accepted rows until n are
  // had, the range ends or the table ends.
  store::Status collect(bool forward, int n, std::vector<ViewRow>& rows, const ViewRow* skip = nullptr);
  store::Status lookupJoin(int t);

  std::vector<Table> tables_;
  ViewRow cursor_;        // the row Next read last
  bool cursor_set_ = false;
  int order_ = -1;
  std::vector<RangeValue> range_;
};

}  // namespace fw
