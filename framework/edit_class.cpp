#include "framework/edit_class.h"

#include "runtime/event.h"
#include "runtime/list_format.h"
#include "runtime/vocabulary.h"

namespace fw {

EditClass::~EditClass() = default;

int EditClass::CreateControl() { return 0; }

void EditClass::Init(int column, int list_box, rt::Binding use_var) {
  FieldNo = column;
  ListBoxFeq = list_box;
  UseVar = use_var;
  CreateControl();
  SetAlerts();
  SetReadOnly(ReadOnly);
  ResetControl();
}

void EditClass::Kill() {
  if (window_ && Feq) window_->destroyControl(Feq);
  Feq = 0;
}

void EditClass::SetAlerts() {
  if (!window_ || !Feq) return;
  for (int key : {rt::TabKey, rt::ShiftTab, rt::EnterKey, rt::EscKey, rt::DownKey, rt::UpKey})
    window_->addAlert(Feq, key);
}

void EditClass::SetReadOnly(bool state) {
  ReadOnly = state;
  if (window_ && Feq) window_->setReadOnly(Feq, state);
}

int EditClass::TakeAccepted(int action) {
  // Without a control (the column is not the current one) there is nothing to copy.
  if (!window_ || !Feq) return action;
  if (!window_->update(Feq).ok) return 0;
  return action;
}

int EditClass::TakeEvent(int event) {
  if (event != rt::EVENT_AlertKey) return 0;
  switch (rt::keyCode()) {
    case rt::TabKey: return 1;
    case rt::ShiftTab: return 2;
    case rt::EnterKey: return 3;
    case rt::EscKey: return 4;
    case rt::DownKey: return 5;
    case rt::UpKey: return 6;
    default: return 0;
  }
}

void EditClass::ResetControl() {
  if (window_ && Feq) window_->display(Feq);
}

std::string EditClass::ColumnPicture() const {
  if (!window_ || !ListBoxFeq || FieldNo < 1) return {};
  const auto columns = rt::parseListFormat(window_->listFormat(ListBoxFeq));
  if (!columns || FieldNo > static_cast<int>(columns->size())) return {};
  return (*columns)[FieldNo - 1].picture;
}

bool EditClass::Empty() const {
  if (!UseVar) return true;
  if (UseVar->isNumeric()) return UseVar->number().isZero();
  return UseVar->rawText().find_first_not_of(' ') == std::string::npos;
}

int EditClass::MakeCellControl(rt::ControlDecl control) {
  if (!window_ || !window_->isOpen()) return 0;
  control.overCell(ListBoxFeq, row_, FieldNo);
  if (control.v.picture.empty()) control.picture(ColumnPicture());
  if (UseVar) control.use(*UseVar);
  Feq = window_->createControl(control);
  return Feq;
}

}  // namespace fw
