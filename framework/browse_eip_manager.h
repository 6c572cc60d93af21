#pragma once
// BrowseEIPManager: the in-list editor of a browse: inserts, changes and deletes rows of the list
// in the list's own cells, one column editor (EditClass) per editable column.
//
// Set-up, after the browse's Init (the browse's AddField calls may come before or after):
//
//   EIP.Init(BRW1);
//   EIP.AddEditControl(nullptr, 1);            // column 1: not editable
//   EIP.AddEditControl(&QuantityEditor, 2);    // not owned: the procedure keeps it
//   EIP.AddEditControl(std::make_unique<fw::EditEntryClass>(), 3);   // owned by the manager
//   BRW1.DeleteAction = 1; BRW1.ArrowAction = 24;
//
// and the browse hands its requests on (a browse without AskProcedure calls AskRecord):
//
//   int AskRecord(int request) override { return EIP.AskRecord(request); }
//
// AskRecord(request) carries out one request on the highlighted row and returns the response:
// - insert: primes the record (reserving its number), opens a new row below the highlighted one
//   (row 1 in an empty list; a full page drops its last row, or its first when the highlighted
//   row was the last) and edits it from the first editable column;
// - change: edits the highlighted row (re-read by the browse) from the first editable column, or
//   after a double click from the clicked column (the nearest editable one);
// - delete: by the browse's DeleteAction: 1 at once, 4 (and 0) after message 11, 2 never.
// While a row is edited the manager runs the window's events itself: the editors' action codes
// (see edit_class.h; each code but 0 and 4 first goes through the editor's TakeAccepted, whose 4
// or 0 leaves the cell open) move between columns and complete the row by the browse's action bytes
// (ArrowAction, EnterAction, TabAction, FocusLossAction: bits 0-2 1 save, 2 discard, 4 ask
// message 38, 0 save, or ask for Tab past the last column; bit 3 carry on with the next or
// previous row through VCRRequest 3009/3010; bit 4 with an arrow: in the same column). A click on
// another cell of the row moves there; another row, another control or closing the window
// completes the row by FocusLossAction (a button clicked is carried out afterwards, the close
// too); size, maximize and minimize requests are ignored. The list's mouse alerts are off and the
// columns without editor grey while a row is edited.
// Completing: every editor's TakeAccepted(1) validates (4, or an empty column with Req, keeps
// the row open on that column); an unchanged existing row writes nothing (response 2); a new row
// always counts as changed; saving copies the queue fields into the record and writes it through
// the browse's relation manager (a new row's reserved record in place); a failed write has been
// reported and keeps the row open with the user's values. Discarding a new row removes it and
// deletes its reserved record (CancelAutoInc); an existing row gets its values back.
// Responses: 1 a row was saved or deleted (the record left in the buffers), 2 otherwise.
//
// Thread rule: the manager belongs to its browse's window thread.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/edit_class.h"
#include "framework/view_manager.h"
#include "framework/window_component.h"

namespace fw {

class BrowseClass;

class BrowseEIPManager : public WindowComponent {
 public:
  BrowseEIPManager() = default;
  ~BrowseEIPManager() override;
  BrowseEIPManager(const BrowseEIPManager&) = delete;
  BrowseEIPManager& operator=(const BrowseEIPManager&) = delete;

  // Takes the browse (after its Init) and registers with its window manager as a component; the
  // window manager must be killed (its Run does so) before this manager is destroyed.
  void Init(BrowseClass& browse);
  // Registers the editor of list column `column` (1-based); null leaves the column not editable.
  // A column is edited only when the browse pairs a queue field with it (AddField). False before
  // Init or for a column below 1.
  bool AddEditControl(EditClass* editor, int column);
  bool AddEditControl(std::unique_ptr<EditClass> editor, int column);

  int AskRecord(int request);

  // The column the cursor goes to when `wanted` is asked for while travelling in `direction`
  // (+1 or -1): the first column with an editor from `wanted` on in that direction, else, turning
  // once, from the column before `wanted` the other way. 0 when no column is editable.
  // `editable[c - 1]` tells whether column c has an editor.
  static int NextColumn(int wanted, int direction, const std::vector<bool>& editable);

  // Highlights, after the browse's refresh, the row that a click on another row chose while a
  // row was edited.
  int TakeEvent() override;

  // ----- State (for window code while a row is edited) -----
  bool Editing() const { return editing_; }
  int Column() const { return column_; }
  int EditRow() const { return row_; }
  bool NewRow() const { return new_row_; }
  EditClass* CurrentEditor() const { return editorOf(column_); }
  // The editor registered for a column (null when none).
  EditClass* EditorOf(int column) const {
    return column >= 1 && column <= static_cast<int>(editors_.size()) ? editors_[column - 1] : nullptr;
  }

 private:
  enum class Outcome { Kept, Saved, Unchanged, Discarded };
  enum class Trigger { Tab, Enter, Arrow, FocusLoss };

  EditClass* editorOf(int column) const;
  std::vector<bool> editableColumns() const;
  int deleteRow();
  void startRow(int column);
  void handleEvent();
  void perform(int action);
  void openEditor(int column);
  void closeEditor();
  void moveTo(int column);
  void storeRow();
  // Completes the row by an action byte; true when editing of the row ended.
  bool completeBy(std::uint8_t action_byte, Trigger trigger, int direction);
  Outcome complete(int mode);
  bool save();
  bool discard();
  void endEditing();
  void focusEditor();

  BrowseClass* browse_ = nullptr;
  std::vector<EditClass*> editors_;                 // by column - 1
  std::vector<std::unique_ptr<EditClass>> owned_;

  bool editing_ = false;
  bool new_row_ = false;
  int row_ = 0;
  int column_ = 0;
  int response_ = 2;
  std::string original_;       // the row's queue entry when editing began
  std::string position_;       // the row's record in its table
  int dropped_at_ = 0;         // the row a new row pushed off a full page (1 or the last; 0 none)
  std::string dropped_entry_;
  ViewRow dropped_row_;
  std::vector<int> greyed_;    // columns drawn grey while editing
  bool mouse_alerts_ = false;  // the list's mouse alerts before editing
  int refused_feq_ = 0;        // a control whose focus could not complete the row
  std::string reselect_;       // the record of the row clicked to leave the edited one

  // Carrying on with the next row: the event that ended the row and the column to keep.
  int end_event_ = 0, end_field_ = 0, end_key_ = 0;
  int keep_column_ = 0;
};

}  // namespace fw
