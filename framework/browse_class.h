#pragma once
// BrowseClass: the browse manager of a list box that shows the rows of a view one page at a time.
//
// A procedure derives its browse (BRW1) from BrowseClass and sets it up in this order:
//
//   BRW1.Init(kList, Queue.VIEWPOSITION, View, Queue_Browse_1, &Relate_ART, ThisWindow);
//   BRW1.InsertControl = kInsert; ...                    // buttons (0 = none)
//   BRW1.AddSortOrder(&Step1, ART_POR_DESCRIPCION);       // order 1, with its step
//   BRW1.AddLocator(Locator1);  Locator1.Init(&ART.DESCRIPCION, true);
//   BRW1.AddSortOrder(&Step0, ART_POR_IDARTICULO);        // order 2
//   BRW1.AddRange(&ITE.IDCABECERA, Relate_ITEMS, Relate_CABECERA);   // a range by relation
//   BRW1.AddField(rt::Binding::ushort(ART.IDARTICULO), rt::Binding::ushort(Q.IDARTICULO)); ...
//   BRW1.AskProcedure = 1;
//
// Init registers the browse with its window manager, which then hands it every event, reset,
// update, alert set-up and the final kill (WindowComponent). The browse:
// - holds only the visible page in its queue (one entry per visible row, the list's page size)
//   and loads it by keyset seeks through the view: opening, row and page moves, first and last
//   page, locator jumps, thumb drags and select-mode positioning each read about one page, so
//   their cost does not grow with the table;
// - keeps the highlighted row on every reload while it still exists; a reload shows what other
//   threads and processes added or removed since;
// - drives the scroll thumb through the sort order's step object (key values, not row counts);
// - carries out the buttons and keys (Insert key, Delete key, Ctrl+Enter, Shift+Enter, double
//   click, the right-click menu) through Ask, and keeps the buttons enabled to match the rows;
// - follows the select protocol when its window was opened with request 4 (Selecting): the
//   caller's record buffer is saved before the first fill, the first fill opens at the buffer's
//   key value, and when the window closes a response of 1 loads the highlighted row into the
//   buffers while anything else restores the saved buffer byte for byte.
//
// Results are codes (framework/request_codes.h): Ask returns the request's response (1 completed,
// 2 cancelled); SetSort 1 when the order changed, 0 when not. Read failures are reported through
// the window's error manager when it has one, and leave the list as it was.
//
// Thread rule: a browse belongs to its window's thread; every call happens there.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/browse_queue.h"
#include "framework/locator_class.h"
#include "framework/step_class.h"
#include "framework/view_manager.h"
#include "framework/window_component.h"
#include "runtime/binding.h"

namespace fw {

class RelationManager;
class WindowManager;

class BrowseClass : public WindowComponent {
 public:
  BrowseClass();
  ~BrowseClass() override;
  BrowseClass(const BrowseClass&) = delete;
  BrowseClass& operator=(const BrowseClass&) = delete;

  // ----- Settings -----
  int InsertControl = 0, ChangeControl = 0, DeleteControl = 0, ViewControl = 0, SelectControl = 0;
  bool HideSelect = false;       // hide the select button while not selecting
  int AskProcedure = 0;          // update procedure for Run(Number, Request); 0 = edit in place
  bool UsePopup = false;         // the list has a right-click menu...
  bool EditViaPopup = false;     // ...offering the buttons' actions
  bool Selecting = false;        // the window was opened to select a record (request 4)
  bool UseMRP = false;           // set by Init
  std::uint8_t ArrowAction = 0, EnterAction = 0, TabAction = 0, FocusLossAction = 0;  // in-list editor
  std::uint8_t DeleteAction = 0;  // in-list editor's delete: 1 at once, 4 ask, 2 never

  // ----- Set-up -----
  // `position_field`: the queue buffer's VIEWPOSITION field (size bytes) that receives each row's
  // position. `relation`: the primary table's relation manager (may be null: no priming through
  // it). Registers the browse with `window` and sets Selecting when the window's request is 4.
  void Init(int list_control, char* position_field, std::size_t position_size, ViewManager& view,
            BrowseQueue& queue, RelationManager* relation, WindowManager& window);
  template <std::size_t N>
  void Init(int list_control, char (&position_field)[N], ViewManager& view, BrowseQueue& queue,
            RelationManager* relation, WindowManager& window) {
    Init(list_control, position_field, N, view, queue, relation, window);
  }

  // Adds a sort order on a key of the primary table, with an optional step object (null: the
  // thumb is not driven). Returns the order's number (1 for the first added), 0 for a bad key.
  int AddSortOrder(StepClass* step, int key);
  int AddSortOrder(int key) { return AddSortOrder(nullptr, key); }
  // Adds a locator to the sort order added last (the locator's field is bound here). False when
  // there is no order or the locator's field is not a field of the primary table's buffer.
  bool AddLocator(StepLocatorClass& locator);
  // A range limit of the sort order added last: the next leading key component `field` (an
  // address in the primary table's buffer) limited to a fixed value (the field's bytes at
  // `value`), or by relation: to the value of the parent's linked field, found through the
  // relation that `parent` registered with `child` (the primary table's relation manager).
  bool AddRange(const void* field, const void* value);
  bool AddRange(const void* field, RelationManager& child, RelationManager& parent);
  // A range limit that follows a parent's field: the value at `parent_field` when each page is
  // read (a reset reloads the list when it changed).
  bool AddRangeByField(const void* field, const void* parent_field);
  // Pairs a field of a table buffer with the queue field that shows it; the pairs shown in the
  // list are the first ones, in column order.
  void AddField(rt::Binding table_field, rt::Binding queue_field);

  // ----- Sorting and reloading -----
  // Chooses sort order `order` (1-based). Reloads the list when the order changed or `force`;
  // returns 1 when the order changed, 0 otherwise.
  virtual int SetSort(int order, bool force);
  // Chooses the order for the window's current state; the framework's keeps the current order
  // (the first one at the start). Procedures with one order per tab override it.
  virtual int ResetSort(bool force);
  // Runs after every reload of the list from its view; procedures compute totals here (reading
  // the view through with View()->Reset() and Next() is fine). The framework's version makes the
  // queue buffer hold the highlighted row again.
  virtual void ResetFromView();
  // Reloads the page: `force` re-reads it even when nothing seems to have changed.
  void ResetQueue(bool force);

  // ----- Requests -----
  // Carries out a request (1 insert, 2 change, 3 delete, 6 view) on the highlighted row: with an
  // AskProcedure through the window's Run(Number, Request) (an insert primes the record first;
  // when priming fails, returns 2 and nothing else happens), else through AskRecord (the in-list
  // editor). Either way ResetFromAsk then refreshes the list and follows a VCRRequest left
  // behind, and the request repeats on the row reached while VCRRequest is non-zero. Returns the
  // last response.
  virtual int Ask(int request);
  // The in-list editor's entry: edits the highlighted row in place (its record is in the
  // buffers; for an insert, not yet primed). It returns the response (1 when a row was saved or
  // deleted, the saved record left in the buffers) and may leave a VCRRequest to go on with the
  // next or previous row. The framework's version has no editor: it does nothing and returns 2.
  virtual int AskRecord(int request);
  // Refreshes the list after a request (see the class comment), then follows a pending
  // VCRRequest by moving the list. `request` may change (an insert followed by 3009 stays an
  // insert; any other move turns it into a change).
  virtual void ResetFromAsk(int& request, int& response);
  // Clears every table buffer of the view, puts the range values in and primes the primary
  // table's auto-number (reserving it). 0 on success.
  virtual int PrimeRecord();
  // Re-reads the highlighted row through the view into every table buffer. False when the list
  // is empty or the row is gone.
  virtual bool UpdateViewRecord();

  // ----- Moving the list -----
  // The page moves of a page-loaded list (see Fetch_*).
  enum FetchMove { Fetch_First = 1, Fetch_Last, Fetch_PageDown, Fetch_PageUp, Fetch_LineDown, Fetch_LineUp };
  virtual void Fetch(int move);
  // A character typed in the list (locator of the current order).
  virtual void TakeLocate(char c);
  // The thumb dropped at a fraction 0..1.
  virtual void TakeDrag(double fraction);
  // Positions the list at the first row whose key value is at or after that of `record` (a
  // record of the primary table), with that row highlighted. False when no row lies there.
  bool LocateRecord(const void* record);

  // ----- State -----
  int Records() const;            // rows in the page
  int CurrentChoice() const;      // highlighted row, 1-based; 0 when the list is empty
  void SetCurrentChoice(int row); // highlights a row of the page
  int PageSize() const;           // visible rows of the list
  int CurrentSort() const { return current_sort_; }
  int ListControl() const { return list_; }
  ViewManager* View() const { return view_; }
  BrowseQueue* ListQueue() const { return queue_; }
  RelationManager* PrimaryRelation() const { return relation_; }
  WindowManager* Window() const { return window_; }
  // The entries the right-click menu would offer now (texts of the program's language).
  std::vector<std::string> PopupEntries() const;
  // Presses the button behind menu entry `entry` (1-based, as PopupEntries lists them).
  void TakePopupChoice(int entry);

  // Copies the table buffers into the queue buffer (field pairs) and `row`'s position into the
  // position field.
  virtual void SetQueueRecord(const ViewRow& row);
  // Copies the queue buffer back into the table buffers (field pairs).
  virtual void UpdateBuffer();
  // Shows the queue in the list, the highlight, the thumb and the buttons' states.
  void UpdateWindow();
  void UpdateButtons();

  // ----- WindowComponent -----
  void Attached(WindowManager& window) override;
  int TakeEvent() override;
  void Reset(bool force) override;
  void Update() override;
  void SetAlerts() override;
  void Kill() override;

 protected:
  struct SortOrder {
    int key = -1;
    StepClass* step = nullptr;
    StepLocatorClass* locator = nullptr;
    struct Range {
      int field = -1;
      std::string fixed;
      const void* source = nullptr;  // by relation: the parent's field
    };
    std::vector<Range> ranges;
  };
  struct FieldPair {
    rt::Binding from, to;
  };

  // Loads the view's rows into the queue; highlights row `choice` (clamped).
  void fillQueue(const std::vector<ViewRow>& rows, int choice);
  // Loads the page around an anchor: the anchor row (or, when it is gone, the row after its
  // place), or the first row at or after `key_record`'s key value, put at row `choice` when
  // enough rows lie before it; the last page when nothing lies at or after it.
  void loadAround(const ViewRow* anchor, const void* key_record, int choice);
  // Completes a page from its rows at and after the anchor (`fwd`, not empty).
  void placePage(std::vector<ViewRow> fwd, int choice);
  // The page at the first row at or after a key value; false (nothing loaded) when none.
  bool locate(const void* record, int choice);
  void loadFirst();
  // Reloads the page around the highlighted row; then finishReload.
  void reloadPage(bool hook);
  // Shows the page and, with `hook`, runs ResetFromView.
  void finishReload(bool hook);
  void firstFill();
  void applySort();
  std::string rangeValues() const;
  void setThumbLimits();
  void updateThumb();
  void report(const store::Status& s);
  // Moves the list as a pending VCRRequest asks; false when there is none or the list cannot
  // move (the request then ends).
  bool followVCR(int& request);
  bool moveVCR(std::int32_t vcr);
  void selectNow();
  // Takes the row the user highlighted in the list as the current one.
  void syncChoice();
  int handleKey(int keycode);
  void pressButton(int feq);

  int list_ = 0;
  char* position_field_ = nullptr;
  std::size_t position_size_ = 0;
  ViewManager* view_ = nullptr;
  BrowseQueue* queue_ = nullptr;
  RelationManager* relation_ = nullptr;
  WindowManager* window_ = nullptr;
  std::vector<SortOrder> orders_;
  std::vector<FieldPair> fields_;
  int current_sort_ = 0;
  int choice_ = 0;
  bool loaded_ = false;
  bool at_first_ = false;   // the page starts at the first row of the view
  bool at_last_ = false;    // the page ends at the last row of the view
  std::string saved_buffer_;  // select protocol: the caller's primary buffer
  bool saved_ = false;
  std::string last_range_;    // the range values the page was loaded with
  bool page_loaded_set_ = false;
};

// The field of `parent`'s buffer that the relation `parent` registered with `child` links to
// `child_field` (an address in the child's buffer); null when no such link exists.
const void* ParentFieldOf(const void* child_field, RelationManager& child, RelationManager& parent);

// The priming of a view's primary table through its relation manager: numbers the new record in
// the buffer by the table's auto-numbered key and reserves it (the buffer's range values kept).
// Returns the file manager's level (0 done).
std::function<int()> PrimeThrough(RelationManager& relation);

}  // namespace fw
