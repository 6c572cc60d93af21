#pragma once
// The file manager: one table of the record store as the windows of one thread use it.
//
// A FileManager wraps the thread's store::File of a table and its record buffer. It knows the
// table's keys (registered with AddKey, with their descriptions and auto-numbering), opens and
// closes the file (creating a missing file, retrying a refused open with lock recovery), reads
// and writes records, numbers new records and reports every failure through its error manager
// (normally the program's GlobalErrors) with %File = FileNameValue and %ErrorText taken from the
// store's status.
//
// Results are Level codes, never exceptions:
//   Level_Benign (0)  done
//   Level_User   (1)  the user chose not to go on (answered No); nothing was changed
//   Level_Notify (4)  failed; the reporting form has told the user (the Try forms stay silent)
//   Level_Fatal  (3)  failed with a fatal message (the program is ending)
// After any operation LastStatus() holds the store's status of the last store call.
//
// Every operation goes through UseFile first, the one entry a subclass overrides to set the
// manager up on the table's first use in the thread (keys, Create, LockRecover). The three
// writes (TryInsert, TryUpdate, TryDelete) are virtual too; every write of the framework,
// including those of a relation manager, goes through them.
//
// Threads: a FileManager belongs to the thread that created it, like its File and buffer; only
// that thread may call it. The error manager it reports to is shared and serialises itself.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/request_codes.h"
#include "store/file.h"

namespace fw {

class ErrorClass;


// Codes given to UseFile.
enum UseType : int {
  UseType_Open = 1,        // a window opens the table (counted; Close undoes one)
  UseType_Use = 2,         // an operation needs the table: opened when it is not yet
  UseType_Initialize = 5,  // set the manager up; nothing is opened
};

// Message numbers raised by the table operations.
enum TableMessage : int {
  Msg_RetrievalError = 1,
  Msg_AddError = 4,
  Msg_CloseError = 6,
  Msg_RecordChangedByOther = 7,
  Msg_ConfirmDelete = 11,
  Msg_CreateError = 12,
  Msg_DeleteError = 13,
  Msg_DuplicateKey = 15,
  Msg_LogoutError = 24,
  Msg_OpenError = 26,
  Msg_PutError = 28,
  Msg_RestrictDelete = 33,
  Msg_RestrictUpdate = 34,
  Msg_AutoIncError = 35,
  Msg_RetryDelete = 36,
};

// A key as registered with AddKey.
struct KeyInfo {
  int key = -1;              // index into the table's keys
  std::string description;   // its name in messages and sort orders (at most 80 characters)
  int auto_number = 0;       // 0: none; n: component n is numbered within components 1..n-1
  bool dup = false;
  bool nocase = false;
  bool primary = false;
};

class FileManager {
 public:
  static constexpr std::size_t kMaxKeyDescription = 80;
  static constexpr int kDefaultOpenMode = 0x42;  // read and write, deny none
  static constexpr int kAutoIncAttempts = 3;     // adds tried before asking to go on

  FileManager() = default;
  virtual ~FileManager() = default;
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;

  // ----- Set-up -----
  // Resets the manager's state (not the fields the owner filled in: File, Buffer, RecordSize,
  // FileNameValue, Errors); touches no file.
  virtual void Init();
  // Binds the table and the error manager: sets Initialized, the default open mode, and
  // FileNameValue := the name the store reports for the table.
  void Init(store::File& table, ErrorClass& errors);
  // Closes the file when this manager still has it open and forgets the keys.
  virtual void Kill();
  // The entry for every use of the table (see UseType). Returns a Level.
  virtual int UseFile(int use_type);

  // Registers a key of the table (index into its keys) with its description (cut to 80
  // characters) and auto-number value. Sets HasAutoInc for a non-zero value and PrimaryKey for
  // the table's primary key. Returns false (nothing registered) for a key the table lacks.
  bool AddKey(int key, std::string_view description, int auto_number);
  const KeyInfo* GetKey(int key) const;                 // null when not registered
  std::string GetKeyDescription(int key) const;         // the description, else the key's label
  const std::vector<KeyInfo>& Keys() const { return keys_; }

  // ----- Opening -----
  // Opens the file (mode OpenMode): a missing file is created when Create is set (a creation
  // failure raises message 12), an open refused with "access denied" is tried once more with the
  // driver option "Recover=<LockRecover>" when LockRecover is set; other failures raise 26.
  int Open();
  int Close();  // undoes one Open; the file is closed with the last one
  bool Opened() const;

  // ----- Reading ----- (Try forms report nothing)
  int TryFetch(int key);  // the record whose key equals the buffer's key fields
  int Fetch(int key);     // as TryFetch; a failure raises message 1
  int Set(int key);       // before the first record of the key
  int SetAfter(int key);  // after the last record of the key
  int SetFrom(int key);   // at the first record whose key is >= the buffer's key value
  int TryNext();          // Level_Notify at the end of the key (LastStatus says why)
  int Next();             // as TryNext; a failure other than the end of the key raises message 1
  int TryPrevious();
  int Previous();
  int TryReget(const std::string& position);
  int ResetTo(int key, const std::string& position);
  int ReadPage(int n, bool forward, std::vector<store::PageRow>& rows);
  std::string Position() const;
  long long Records();

  // ----- Writing -----
  // Adds the buffer as a new record; when the buffer is the record reserved by auto-numbering,
  // that record is rewritten instead. A duplicate key raises message 15 (%Message and %Key: the
  // key's description), other failures message 4.
  virtual int TryInsert();
  int Insert();
  // Rewrites the current record. A duplicate key raises 15, a record changed by another
  // station 7, other failures 28.
  virtual int TryUpdate();
  int Update();
  // Deletes the current record; a failure raises message 13.
  virtual int TryDelete();
  int Delete();

  // ----- New records -----
  // Clears the buffer (unless told not to) and primes the auto-numbered key.
  int PrimeRecord(bool keep_buffer = false);
  // Numbers the new record in the buffer by the auto-numbered key: the highest value within the
  // buffer's leading components plus 1 (1 when there is none), and reserves the number by adding
  // the record at once. A failed add is renumbered and retried, kAutoIncAttempts times; then
  // message 35 asks whether to go on (Yes: as many again; No: Level_User, nothing added).
  // Reading the highest value failing for another reason than an empty key raises message 1.
  // Tables without auto-numbering: Level_Benign, nothing added.
  int TryPrimeAutoInc();  // reports nothing; a refused number gives Level_Notify at once
  int PrimeAutoInc();
  // Deletes the record reserved by the last PrimeAutoInc that was not yet inserted.
  int CancelAutoInc();
  bool HasReservation() const { return !reserved_.empty(); }
  const std::string& ReservedPosition() const { return reserved_; }

  // ----- Buffer helpers -----
  void ClearBuffer();  // text fields to spaces, numbers to zero
  std::string SaveBuffer() const;
  void RestoreBuffer(const std::string& saved);
  bool EqualBuffer(const std::string& saved) const;

  // The record as the manager last read or wrote it, and its position ("" when unknown).
  const std::string& LastRecord() const { return last_record_; }
  const std::string& LastRecordPosition() const { return last_position_; }

  const store::Status& LastStatus() const { return status_; }

  // Reports a failed status with a message (sets %File, %ErrorText ...); returns the Level.
  int Report(int message, const store::Status& status);
  // Reports a failed add (adding) or rewrite as Insert and Update do: 15 for a duplicate key,
  // 7 for a record changed by another station (rewrite), else 4 (add) or 28 (rewrite).
  int ReportWriteFailure(const store::Status& status, bool adding);

  // ----- Fields -----
  bool Initialized = false;
  bool InUseFile = false;
  unsigned char* Buffer = nullptr;  // the thread's record buffer of the table
  int RecordSize = 0;
  std::string FileNameValue;        // the table's name in messages (%File)
  store::File* File = nullptr;      // the thread's instance of the table
  ErrorClass* Errors = nullptr;
  bool Create = false;
  int LockRecover = 0;
  int OpenMode = kDefaultOpenMode;
  bool HasAutoInc = false;
  int PrimaryKey = -1;

 protected:
  int result(const store::Status& s);  // keeps the status; Benign or Notify
  void remember();                     // the buffer as the last record read or written

 private:
  int openFile();
  int primeAutoInc(bool report);
  int autoIncAttempt(const KeyInfo& k, store::Status& s);
  const KeyInfo* autoIncKey() const;

  std::vector<KeyInfo> keys_;
  store::Status status_;
  int open_count_ = 0;
  bool opened_by_use_ = false;
  std::string reserved_;
  std::string last_record_, last_position_;
};

}  // namespace fw
