#include "ui/qt/key_codes.h"

namespace uiqt {

std::optional<int> runtimeKeyCode(int qt_key, Qt::KeyboardModifiers mods) {
  int vk = 0;
  bool shift = mods & Qt::ShiftModifier;
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) {
    vk = 'A' + (qt_key - Qt::Key_A);
  } else if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
    vk = '0' + (qt_key - Qt::Key_0);
  } else if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) {
    vk = key::kF1 + (qt_key - Qt::Key_F1);
  } else {
    switch (qt_key) {
      case Qt::Key_Backspace: vk = key::kBackspace; break;
      case Qt::Key_Tab: vk = key::kTab; break;
      case Qt::Key_Backtab: vk = key::kTab; shift = true; break;
      case Qt::Key_Return:
      case Qt::Key_Enter: vk = key::kEnter; break;
      case Qt::Key_Escape: vk = key::kEsc; break;
      case Qt::Key_Space: vk = key::kSpace; break;
      case Qt::Key_PageUp: vk = key::kPageUp; break;
      case Qt::Key_PageDown: vk = key::kPageDown; break;
      case Qt::Key_End: vk = key::kEnd; break;
      case Qt::Key_Home: vk = key::kHome; break;
      case Qt::Key_Left: vk = key::kLeft; break;
      case Qt::Key_Up: vk = key::kUp; break;
      case Qt::Key_Right: vk = key::kRight; break;
      case Qt::Key_Down: vk = key::kDown; break;
      case Qt::Key_Insert: vk = key::kInsert; break;
      case Qt::Key_Delete: vk = key::kDelete; break;
      default: return std::nullopt;
    }
  }
  int code = vk;
  if (shift) code += key::kShift;
  if (mods & Qt::ControlModifier) code += key::kCtrl;
  if (mods & Qt::AltModifier) code += key::kAlt;
  return code;
}

std::optional<int> runtimeKeyCode(const QKeyEvent& ev) {
  return runtimeKeyCode(ev.key(), ev.modifiers());
}

KeyRole entryKeyRole(int code) {
  const int vk = code & 0xFF;
  const bool ctrl = code & key::kCtrl, alt = code & key::kAlt;
  if (vk == key::kLeft || vk == key::kRight || vk == key::kHome || vk == key::kEnd ||
      vk == key::kDelete || vk == key::kBackspace) {
    return alt ? KeyRole::Command : KeyRole::Editing;
  }
  const bool letter_or_digit = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
  if ((letter_or_digit || vk == key::kSpace) && !alt) {
    if (!ctrl) return KeyRole::Typing;
    // The field's own clipboard and undo keys; any other Ctrl+letter (Ctrl+H ...) is a command.
    if (vk == 'C' || vk == 'V' || vk == 'X' || vk == 'A' || vk == 'Z') return KeyRole::Editing;
  }
  return KeyRole::Command;
}

}  // namespace uiqt
