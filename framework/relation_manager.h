#pragma once
// The relation manager: a table together with the tables related to it.
//
// A RelationManager owns the link between its table's FileManager and the relation managers of
// related tables. Relations are registered by DeferedAddRelations, which runs the first time the
// manager needs them (never at start-up): AddRelation names a related manager, either as a plain
// lookup or with integrity rules (update mode, delete mode, the related table's key), and
// AddRelationLink pairs a field of this table's record buffer with a field of the related one
// (it adds to the relation registered last).
//
// Integrity modes (update and delete): RI_None 0, RI_Clear 1 (the children's link fields are
// cleared), RI_Restrict 2 (the change is refused with message 34 / 33), RI_Cascade 3 (the change
// is carried to the children). Children are the records of the related table whose linked fields
// equal this record's, read in the order of the relation's key.
//
// Delete and Update work inside one store transaction over every table they may touch when
// UseLogout is set (beginning it waits at most LogoutTimeout, else message 24): a failure
// anywhere rolls everything back, so a delete removes the record with all its children or
// nothing. Results are fw::Level codes (file_manager.h); every message goes through the file
// manager's error manager.
//
// Update compares the buffer with the record as the file manager last read or wrote it (read
// again when the manager did not read the current record itself) to see which linked fields
// changed. Linked fields are compared byte for byte; the children are sought by the relation's
// key when the linked fields lead it, otherwise the key is scanned.
//
// Threads: like its FileManager, a RelationManager belongs to one thread, and so do the related
// managers it is given.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "framework/file_manager.h"

namespace fw {

enum IntegrityMode : int {
  RI_None = 0,
  RI_Clear = 1,
  RI_Restrict = 2,
  RI_Cascade = 3,
};

class RelationManager;

// A pair of linked fields: this table's and the related table's (offsets in their buffers).
struct RelationLink {
  int my_offset = 0;
  int his_offset = 0;
  int size = 0;
  bool his_text = false;  // the related field is text: cleared to spaces
};

struct Relation {
  RelationManager* related = nullptr;
  bool lookup = true;       // registered without integrity rules
  int UpdateMode = RI_None;
  int DeleteMode = RI_None;
  int HisKey = -1;          // key of the related table ordering the children
  std::vector<RelationLink> links;
};

class RelationManager {
 public:
  static constexpr std::chrono::milliseconds kDefaultLogoutTimeout{2000};
  static constexpr int kMaxDepth = 16;  // cascades nested deeper than this are refused

  RelationManager() = default;
  virtual ~RelationManager() = default;
  RelationManager(const RelationManager&) = delete;
  RelationManager& operator=(const RelationManager&) = delete;

  // Binds the table's file manager (it must outlive this manager's use) and the transaction
  // setting. Registers nothing yet.
  void Init(FileManager& file, bool use_logout);
  // Forgets the relations and closes whatever Open opened and Close did not.
  virtual void Kill();
  // Registers the relations; the framework's version registers nothing. Runs once, on the first
  // need (Open, Delete, Update, CancelAutoInc, Relations()).
  virtual void DeferedAddRelations();

  void AddRelation(RelationManager& related);  // lookup
  void AddRelation(RelationManager& related, int update_mode, int delete_mode, int his_key);
  // Links a field of this table's buffer with a field of the related table's buffer, for the
  // relation registered last. False (nothing added) when there is no relation, the fields do not
  // lie inside the two buffers or their sizes differ.
  bool AddRelationLink(const void* my_field, std::size_t my_size, const void* his_field, std::size_t his_size);
  template <class A, class B>
  bool AddRelationLink(const A& my_field, const B& his_field) {
    return AddRelationLink(&my_field, sizeof(A), &his_field, sizeof(B));
  }

  // Opens the table and every table reachable through the relations (each once). On a failure
  // nothing stays open and the file manager's result is returned.
  int Open();
  // Closes what the matching Open opened.
  int Close();

  // Deletes the current record of the table with its children by the delete modes. With `ask`,
  // message 11 comes first and any answer but Yes returns Level_User with nothing changed.
  // The record's own delete failing rolls back and asks message 36 (Yes: start again).
  int Delete(bool ask = true);
  // Writes the buffer over the current record; when linked fields changed, the children follow
  // their update modes (restrict: message 34, the link fields are put back, nothing written).
  int Update();
  // Deletes the record reserved by auto-numbering (with the delete rules, no question).
  int CancelAutoInc();

  FileManager* Me() const { return file_; }
  const std::vector<Relation>& Relations();

  bool UseLogout = false;
  std::chrono::milliseconds LogoutTimeout = kDefaultLogoutTimeout;

 private:
  void ensureRelations();
  // This manager and every one reachable through its relations (with integrity rules only).
  void collect(std::vector<RelationManager*>& into, bool integrity_only);
  bool linksBlank(const Relation& r, const std::string& mine) const;
  int seekChild(const Relation& r, const std::string& mine, bool& found);
  int deleteRecord(int depth);
  int updateRecord(const std::string& before, int depth);
  int checkRestrict(const std::string& mine, bool for_update, const std::string* after);
  int reportChild(RelationManager& child, int message);

  FileManager* file_ = nullptr;
  std::vector<Relation> relations_;
  bool relations_added_ = false;
  bool own_failed_ = false;  // the last top-level write failed on this table's own record
  std::vector<std::vector<RelationManager*>> opened_;
};

}  // namespace fw
