#include "ui/qt/control_kind.h"

#include "runtime/vocabulary.h"

namespace uiqt {

ControlKind kindOf(int type) {
  switch (type) {
    case rt::CONTROL_Entry: return ControlKind::Entry;
    case rt::CONTROL_Button: return ControlKind::Button;
    case rt::CONTROL_Check: return ControlKind::Check;
    case rt::CONTROL_Radio:
    case rt::CONTROL_Option: return ControlKind::Radio;
    case rt::CONTROL_List: return ControlKind::List;
    case rt::CONTROL_Combo: return ControlKind::Combo;
    case rt::CONTROL_Spin: return ControlKind::Spin;
    case rt::CONTROL_Text:
    case rt::CONTROL_RichText: return ControlKind::Text;
    case rt::CONTROL_DropList: return ControlKind::DropList;
    case rt::CONTROL_DropCombo: return ControlKind::DropCombo;
    case rt::CONTROL_Prompt: return ControlKind::Prompt;
    case rt::CONTROL_String: return ControlKind::String;
    case rt::CONTROL_Sheet: return ControlKind::Sheet;
    case rt::CONTROL_Tab: return ControlKind::Tab;
    case rt::CONTROL_Group: return ControlKind::Group;
    case rt::CONTROL_Panel:
    case rt::CONTROL_Region:
    case rt::CONTROL_Box: return ControlKind::Panel;
    default: return ControlKind::Unknown;
  }
}

}  // namespace uiqt
