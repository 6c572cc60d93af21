#pragma once
// The runtime's vocabulary: event codes, key codes, control types, message-box buttons and icons.
//
// These are the numbers that window procedures compare with. Event codes below 256 concern one
// control (the event's field names it); codes from 256 on concern a control's focus (257, 258) or
// the whole window (512 and up). The codes that this runtime adds for its own needs (scrolling a
// page-loaded list, locator characters, gaining focus, restoring a window) are chosen so as not
// to clash with the others.
//
// Plain constants: usable from any thread.

namespace rt {

// ---- Events -------------------------------------------------------------------------------
// Field events.
inline constexpr int EVENT_Accepted = 1;      // entry left after a change, button pressed, menu entry chosen
inline constexpr int EVENT_NewSelection = 2;  // another row of a list was highlighted (or clicked); a sheet shows another tab
inline constexpr int EVENT_ScrollUp = 3;      // page-loaded list: one row up past the first visible row
inline constexpr int EVENT_ScrollDown = 4;    // page-loaded list: one row down past the last visible row
inline constexpr int EVENT_PageUp = 5;        // page-loaded list: one page up (PgUp key or scroll bar)
inline constexpr int EVENT_PageDown = 6;      // page-loaded list: one page down
inline constexpr int EVENT_ScrollTop = 7;     // page-loaded list: first page (Home key or scroll bar)
inline constexpr int EVENT_ScrollBottom = 8;  // page-loaded list: last page (End key or scroll bar)
inline constexpr int EVENT_Locate = 9;        // a character was typed in a list (rt::typedChar())
inline constexpr int EVENT_AlertKey = 15;     // an alert key of the control (or, with field 0, of the window)
inline constexpr int EVENT_ScrollDrag = 16;   // page-loaded list: the thumb was dragged (rt::thumbFraction())
inline constexpr int EVENT_DroppingDown = 27; // the drop button of a drop-down control was pressed
inline constexpr int EVENT_Selected = 257;    // a control received the focus
inline constexpr int EVENT_Selecting = 258;   // reserved: this runtime does not generate it
// Window events.
inline constexpr int EVENT_CloseWindow = 513;
inline constexpr int EVENT_CloseDown = 514;
inline constexpr int EVENT_OpenWindow = 515;
inline constexpr int EVENT_GainFocus = 516;
inline constexpr int EVENT_LoseFocus = 517;
inline constexpr int EVENT_Timer = 523;
inline constexpr int EVENT_Size = 545;
inline constexpr int EVENT_Restore = 546;
inline constexpr int EVENT_Maximize = 547;
inline constexpr int EVENT_Iconize = 548;
inline constexpr int EVENT_Completed = 549;
inline constexpr int EVENT_Moved = 560;
inline constexpr int EVENT_Sized = 561;

// First code that programs may use for events of their own (with rt::post).
inline constexpr int EVENT_User = 0x400;

// ---- Keys -----------------------------------------------------------------------------------
// A key code is the key's virtual-key number plus 256 for Shift, 512 for Ctrl, 1024 for Alt.
// Mouse actions are key codes too (1, 2, 5).
inline constexpr int ShiftMod = 256;
inline constexpr int CtrlMod = 512;
inline constexpr int AltMod = 1024;

inline constexpr int MouseLeft = 1;
inline constexpr int MouseRight = 2;
inline constexpr int MouseLeft2 = 5;  // left double click

inline constexpr int BSKey = 8;
inline constexpr int TabKey = 9;
inline constexpr int EnterKey = 13;
inline constexpr int ShiftKey = 16;
inline constexpr int CtrlKey = 17;
inline constexpr int AltKey = 18;
inline constexpr int EscKey = 27;
inline constexpr int SpaceKey = 32;
inline constexpr int PgUpKey = 33;
inline constexpr int PgDnKey = 34;
inline constexpr int EndKey = 35;
inline constexpr int HomeKey = 36;
inline constexpr int LeftKey = 37;
inline constexpr int UpKey = 38;
inline constexpr int RightKey = 39;
inline constexpr int DownKey = 40;
inline constexpr int InsertKey = 45;
inline constexpr int DeleteKey = 46;
inline constexpr int ZeroKey = 48;  // '0'..'9' are 48..57
inline constexpr int AKey = 65;     // 'A'..'Z' are 65..90
inline constexpr int HKey = 72;
inline constexpr int F1Key = 112;   // F1..F12 are 112..123
inline constexpr int F2Key = 113;
inline constexpr int F3Key = 114;
inline constexpr int F4Key = 115;
inline constexpr int F5Key = 116;
inline constexpr int F6Key = 117;
inline constexpr int F7Key = 118;
inline constexpr int F8Key = 119;
inline constexpr int F9Key = 120;
inline constexpr int F10Key = 121;
inline constexpr int F11Key = 122;
inline constexpr int F12Key = 123;

inline constexpr int ShiftTab = ShiftMod + TabKey;      // 265
inline constexpr int ShiftEnter = ShiftMod + EnterKey;  // 269
inline constexpr int ShiftShift = ShiftMod + ShiftKey;  // 272: the Shift key itself, pressed with Shift
inline constexpr int CtrlEnter = CtrlMod + EnterKey;    // 525
inline constexpr int CtrlH = CtrlMod + HKey;             // 584
inline constexpr int CtrlHome = CtrlMod + HomeKey;
inline constexpr int CtrlEnd = CtrlMod + EndKey;

// The key's virtual-key number without Shift, Ctrl and Alt.
inline constexpr int baseKey(int keycode) { return keycode & 0xFF; }
inline constexpr bool isMouseKey(int keycode) {
  return keycode == MouseLeft || keycode == MouseRight || keycode == MouseLeft2;
}

// ---- Control types --------------------------------------------------------------------------
inline constexpr int CONTROL_Entry = 8;
inline constexpr int CONTROL_Button = 9;
inline constexpr int CONTROL_Check = 12;
inline constexpr int CONTROL_List = 14;
inline constexpr int CONTROL_Combo = 15;
inline constexpr int CONTROL_Spin = 16;
inline constexpr int CONTROL_Text = 17;      // multi-line text
inline constexpr int CONTROL_Radio = 21;
inline constexpr int CONTROL_DropList = 33;
inline constexpr int CONTROL_DropCombo = 34;
inline constexpr int CONTROL_RichText = 40;  // the second text-control type
// Types of this runtime's choice.
inline constexpr int CONTROL_Sheet = 60;
inline constexpr int CONTROL_Tab = 61;
inline constexpr int CONTROL_Prompt = 62;
inline constexpr int CONTROL_String = 63;
inline constexpr int CONTROL_Panel = 64;
inline constexpr int CONTROL_Region = 65;
inline constexpr int CONTROL_Box = 66;
inline constexpr int CONTROL_Line = 67;
inline constexpr int CONTROL_Image = 68;
inline constexpr int CONTROL_Group = 69;
inline constexpr int CONTROL_Option = 70;

// Controls whose text the user edits (an entry-like control).
inline constexpr bool isEditType(int type) {
  return type == CONTROL_Entry || type == CONTROL_Text || type == CONTROL_RichText ||
         type == CONTROL_Spin || type == CONTROL_Combo || type == CONTROL_DropCombo;
}
// Controls that can hold the focus at all.
inline constexpr bool isFocusableType(int type) {
  return isEditType(type) || type == CONTROL_Button || type == CONTROL_Check ||
         type == CONTROL_List || type == CONTROL_Radio || type == CONTROL_DropList;
}

// ---- Message boxes --------------------------------------------------------------------------
inline constexpr int BUTTON_OK = 1;
inline constexpr int BUTTON_YES = 2;
inline constexpr int BUTTON_NO = 4;
inline constexpr int BUTTON_ABORT = 8;
inline constexpr int BUTTON_RETRY = 16;
inline constexpr int BUTTON_IGNORE = 32;
inline constexpr int BUTTON_CANCEL = 64;
inline constexpr int BUTTON_HELP = 128;

// Icons of a message box, by name (what MessageBoxView::icon carries).
inline constexpr const char* ICON_None = "";
inline constexpr const char* ICON_Exclamation = "Exclamation";  // warning
inline constexpr const char* ICON_Question = "Question";
inline constexpr const char* ICON_Hand = "Hand";                // error / stop
inline constexpr const char* ICON_Asterisk = "Asterisk";        // information

}  // namespace rt
