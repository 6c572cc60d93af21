#include "framework/toolbar_class.h"

#include "framework/request_codes.h"
#include "framework/window_manager.h"
#include "runtime/event.h"

namespace fw {
namespace {

bool isVCR(int request) { return request >= VCRLast && request <= VCRBackward; }

bool isRecordRequest(int request) {
  return request == InsertRecord || request == ChangeRecord || request == DeleteRecord ||
         request == SelectRecord || request == ViewRecord;
}

}  // namespace

void ToolbarClass::Init() {
  window_ = nullptr;
  buttons_.clear();
  targets_.clear();
  current_ = nullptr;
}

bool ToolbarClass::AddButton(int feq, int request) {
  if (feq == 0 || (!isVCR(request) && !isRecordRequest(request))) return false;
  buttons_[feq] = request;
  return true;
}

void ToolbarClass::AddTarget(ToolbarTarget& target, int control) {
  targets_.push_back({&target, control});
  current_ = &target;
}

bool ToolbarClass::SetTarget(int control) {
  for (const Target& t : targets_) {
    if (t.control == control) {
      current_ = t.target;
      return true;
    }
  }
  return false;
}

int ToolbarClass::RequestOf(int feq) const {
  auto it = buttons_.find(feq);
  return it == buttons_.end() ? 0 : it->second;
}

void ToolbarClass::Attached(WindowManager& window) { window_ = &window; }

int ToolbarClass::TakeEvent() {
  const int feq = rt::field();
  if (feq == 0) return Level_Benign;
  if (rt::event() == rt::EVENT_Selected) {
    SetTarget(feq);
    return Level_Benign;
  }
  if (rt::event() != rt::EVENT_Accepted) return Level_Benign;
  const int request = RequestOf(feq);
  if (request == 0) return Level_Benign;
  if (current_ != nullptr) return current_->TakeToolbar(request);
  if (isVCR(request) && window_ != nullptr && window_->VCRRequest != nullptr) {
    *window_->VCRRequest = request;
  }
  return Level_Handled;
}

void ToolbarClass::Kill() { Init(); }

}  // namespace fw
