#pragma once
// What kind of widget shows a control of a given runtime type code (runtime/vocabulary.h);
// Unknown for types this front end draws as plain text.
// Pure function; any thread may call it.

namespace uiqt {

enum class ControlKind {
  Entry, Button, Check, Radio, List, Combo, DropList, DropCombo, Spin, Text,
  Prompt, String, Sheet, Tab, Panel, Group, Unknown
};

ControlKind kindOf(int type);

}  // namespace uiqt
