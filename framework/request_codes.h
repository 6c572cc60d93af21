#pragma once
// The codes that window procedures pass to each other and that the window manager's operations
// return. Plain constants: usable from any thread.
//
// A procedure is called with a request in the thread's GlobalRequest and leaves its outcome in
// GlobalResponse. VCRRequest carries a row-navigation request from a form or an in-list edit back
// to the browse on the same thread.

#include <cstdint>

namespace fw {

// Requests (GlobalRequest, WindowManager::Request and OriginalRequest, a browse's Ask).
inline constexpr int InsertRecord = 1;
inline constexpr int ChangeRecord = 2;
inline constexpr int DeleteRecord = 3;
inline constexpr int SelectRecord = 4;
inline constexpr int ProcessRecord = 5;
inline constexpr int ViewRecord = 6;

// Responses (GlobalResponse, WindowManager::Response). A window whose response was never set
// reports RequestCancelled.
inline constexpr int RequestCompleted = 1;
inline constexpr int RequestCancelled = 2;

// Row-navigation requests (VCRRequest).
inline constexpr std::int32_t VCRNone = 0;
inline constexpr std::int32_t VCRLast = 3005;      // last page
inline constexpr std::int32_t VCRFirst = 3006;     // first page
inline constexpr std::int32_t VCRPageDown = 3007;  // next page
inline constexpr std::int32_t VCRPageUp = 3008;    // previous page
inline constexpr std::int32_t VCRForward = 3009;   // next row
inline constexpr std::int32_t VCRBackward = 3010;  // previous row

// Results of the window manager's operations (and of the components registered with it), and of
// the file and relation managers' operations.
inline constexpr int Level_Benign = 0;   // go on / done
inline constexpr int Level_User = 1;     // the user chose not to go on; nothing was changed
inline constexpr int Level_Fatal = 3;    // end the event loop
inline constexpr int Level_Notify = 4;   // refused / failed, and the user has been told
inline constexpr int Level_Handled = 5;  // handled: skip the default handling

// Form actions (WindowManager::InsertAction, ChangeAction, DeleteAction).
inline constexpr std::uint8_t Action_None = 0;
inline constexpr std::uint8_t Action_NotOffered = 1;  // view: nothing is written
inline constexpr std::uint8_t Action_Close = 2;       // close after the write (delete: confirm first)
inline constexpr std::uint8_t Action_Ask = 4;         // form delete: delete without asking (the in-list editor asks)
// Flags of WindowManager::CancelAction.
inline constexpr std::uint8_t Cancel_OfferSave = 1;   // offer to save (message 38)
inline constexpr std::uint8_t Cancel_Confirm = 2;     // confirm the cancel (message 10)

}  // namespace fw
