#include "framework/window_manager.h"

#include <algorithm>

#include "framework/toolbar_class.h"
#include "runtime/event.h"
#include "runtime/post.h"
#include "runtime/vocabulary.h"

namespace fw {
namespace {

// A required control counts as empty when its text is blank, or, under a numeric picture, when it
// shows zero (a required amount left at 0.00 is as missing as a blank one).
bool looksEmpty(const std::string& text, const std::string& picture) {
  if (text.find_first_not_of(' ') == std::string::npos) return true;
  std::string::size_type p = picture.find_first_not_of('@');
  const bool numeric = p != std::string::npos && (picture[p] == 'n' || picture[p] == 'N');
  if (!numeric) return false;
  bool digit = false;
  for (char c : text) {
    if (c >= '1' && c <= '9') return false;
    if (c == '0') digit = true;
  }
  return digit;
}

}  // namespace

WindowManager::WindowManager(rt::Window& window) : window_(window) {}

WindowManager::~WindowManager() = default;

rt::OpenResult WindowManager::Open(const rt::WindowDecl& decl) {
  rt::OpenResult r = window_.open(decl);
  if (r == rt::OpenResult::Ok) Opened = true;
  return r;
}

int WindowManager::Init() {
  Dead = false;
  Response = 0;
  InsertAction = Action_Close;
  ChangeAction = Action_Close;
  DeleteAction = Action_Close;
  CancelAction = Cancel_OfferSave | Cancel_Confirm;
  AutoToolbar = true;
  AutoRefresh = true;
  OriginalRequest = Request;
  return Level_Benign;
}

int WindowManager::Kill() {
  if (Dead) return Level_Notify;
  Dead = true;
  // Components registered last go first: a browse may still use the toolbar while it ends.
  std::vector<WindowComponent*> components;
  components.swap(components_);
  for (auto it = components.rbegin(); it != components.rend(); ++it) (*it)->Kill();
  toolbar_ = nullptr;
  responses_.clear();
  return Level_Benign;
}

void WindowManager::Ask() {
  if (Dead || !window_.isOpen()) return;
  while (window_.accept()) {
    if (TakeEvent() == Level_Fatal) break;
  }
}

int WindowManager::Run(int number, int request) {
  (void)number;
  (void)request;
  return RequestCancelled;
}

int WindowManager::TakeEvent() {
  int r = TakeComponentEvents();
  if (r != Level_Benign) return r;
  return rt::field() == 0 ? TakeWindowEvent() : TakeFieldEvent();
}

int WindowManager::TakeComponentEvents() {
  // A component may end the window (Kill empties the list): iterate over a copy.
  std::vector<WindowComponent*> components = components_;
  for (WindowComponent* c : components) {
    int r = c->TakeEvent();
    if (r != Level_Benign) return r;
  }
  return Level_Benign;
}

int WindowManager::TakeWindowEvent() {
  switch (rt::event()) {
    case rt::EVENT_OpenWindow:
      Reset(true);
      SelectFirstField();
      return Level_Benign;
    case rt::EVENT_CloseWindow:
      return TakeCloseEvent();
    case rt::EVENT_CloseDown:
      if (Response != RequestCompleted) Response = RequestCancelled;
      return Level_Fatal;
    case rt::EVENT_Completed:
      return TakeCompleted();
    default:
      return Level_Benign;
  }
}

int WindowManager::TakeFieldEvent() {
  switch (rt::event()) {
    case rt::EVENT_Accepted:
      return TakeAccepted();
    case rt::EVENT_Selected:
      return TakeSelected();
    case rt::EVENT_NewSelection:
      return TakeNewSelection();
    case rt::EVENT_AlertKey:
      return TakeHistoryKey();
    default:
      return Level_Benign;
  }
}

int WindowManager::TakeAccepted() {
  const int feq = rt::field();
  if (int response = ResponseOf(feq); response != 0) {
    SetResponse(response);
    return Level_Benign;
  }
  if (OKControl != 0 && feq == OKControl) return TakeOK();
  return Level_Benign;
}

int WindowManager::TakeSelected() { return Level_Benign; }

int WindowManager::TakeNewSelection() {
  // Another tab of a sheet: the components re-sort or reload as the tab asks.
  if (window_.type(rt::field()) == rt::CONTROL_Sheet) Reset(false);
  return Level_Benign;
}

int WindowManager::TakeCloseEvent() {
  if (Response != RequestCompleted) {
    if (ConfirmCancel() != Level_Benign) {
      Response = 0;
      SelectFirstField();
      return Level_Handled;
    }
    Response = RequestCancelled;
  }
  return Level_Fatal;
}

void WindowManager::SetResponse(int response) {
  Response = response;
  rt::post(rt::EVENT_CloseWindow);
}

void WindowManager::SetAlerts() {
  for (WindowComponent* c : components_) c->SetAlerts();
  SetHistoryAlerts();
}

void WindowManager::Reset(bool force) {
  for (WindowComponent* c : components_) c->Reset(force);
  window_.display();
}

void WindowManager::Update() {
  (void)window_.update();
  for (WindowComponent* c : components_) c->Update();
}

int WindowManager::TakeOK() {
  // The accept-all pass: every enabled, visible edit control is accepted in turn, in control
  // order, whether the user touched it or not; a required control left empty (blank, or zero under
  // a numeric picture) ends the pass and gets the focus. After the last one the window receives EVENT_Completed.
  rt::UpdateResult u = window_.update();
  if (!u.ok) {
    window_.select(u.refused_feq);
    return Level_Handled;
  }
  std::vector<int> accepted;
  for (int feq : window_.controls()) {
    if (!rt::isEditType(window_.type(feq))) continue;
    if (window_.flag(feq, rt::ControlFlag::Hidden) || window_.flag(feq, rt::ControlFlag::Disabled))
      continue;
    if (window_.flag(feq, rt::ControlFlag::Required)) {
      if (looksEmpty(window_.text(feq), window_.picture(feq))) {
        window_.select(feq);
        return Level_Handled;
      }
    }
    accepted.push_back(feq);
  }
  for (int feq : accepted) rt::post(rt::EVENT_Accepted, feq);
  rt::post(rt::EVENT_Completed);
  return Level_Benign;
}

void WindowManager::AddItem(WindowComponent& component) {
  if (std::find(components_.begin(), components_.end(), &component) != components_.end()) return;
  components_.push_back(&component);
  component.Attached(*this);
}

void WindowManager::AddItem(ToolbarClass& toolbar) {
  toolbar_ = &toolbar;
  AddItem(static_cast<WindowComponent&>(toolbar));
}

bool WindowManager::AddItem(int feq, int response) {
  if (feq == 0 || (response != RequestCompleted && response != RequestCancelled)) return false;
  responses_[feq] = response;
  return true;
}

int WindowManager::ResponseOf(int feq) const {
  auto it = responses_.find(feq);
  return it == responses_.end() ? 0 : it->second;
}

void WindowManager::SelectFirstField() {
  if (FirstField != 0) window_.select(FirstField);
}

}  // namespace fw
