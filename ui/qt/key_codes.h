#pragma once
// The runtime's key codes for Qt key events.
//
// A code is the key's virtual-key number plus 256 for Shift, 512 for Ctrl and 1024 for Alt
// (Shift+Tab is 265, Ctrl+H 584). Pure functions; any thread may call them.

#include <QKeyEvent>
#include <optional>

namespace uiqt {

namespace key {
inline constexpr int kShift = 256, kCtrl = 512, kAlt = 1024;
inline constexpr int kBackspace = 8, kTab = 9, kEnter = 13, kEsc = 27, kSpace = 32;
inline constexpr int kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36;
inline constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
inline constexpr int kInsert = 45, kDelete = 46, kF1 = 112;
}  // namespace key

// The code of a key with its modifiers; nullopt for keys with no virtual-key number (a modifier
// pressed alone, media keys, characters outside A-Z and 0-9 that only type text).
std::optional<int> runtimeKeyCode(int qt_key, Qt::KeyboardModifiers mods);
std::optional<int> runtimeKeyCode(const QKeyEvent& ev);

// How a control treats a key besides reporting it.
enum class KeyRole {
  Typing,      // types text: left to the widget, not reported as a key
  Editing,     // moves the caret or deletes in an edit field: reported, and the field acts on it
  Command      // reported only; the runtime decides what it means
};

// The role of `code` in a text entry field.
KeyRole entryKeyRole(int code);

}  // namespace uiqt
